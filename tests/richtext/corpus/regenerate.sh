#!/usr/bin/env bash
# Writes the RTF corpus of the reader's tests from sample.md with pandoc
# (and LibreOffice when it is installed), and the plain text each must give.
set -euo pipefail
cd "$(dirname "$0")"
pandoc -s -f markdown -t rtf sample.md -o sample-pandoc.rtf
pandoc -f markdown -t plain --wrap=none sample.md -o sample.txt
if command -v soffice >/dev/null; then
  cp sample-pandoc.rtf /tmp/sample-lo-in.rtf
  soffice --headless --convert-to rtf --outdir /tmp/lo-out /tmp/sample-lo-in.rtf >/dev/null
  cp /tmp/lo-out/sample-lo-in.rtf sample-libreoffice.rtf
fi
