#!/bin/sh
# Writes photograph-like 1024 x 768 PNGs into $1 for the PNG benchmarks:
# ImageMagick's plasma fractal (fixed seed) as RGB with the filter
# ImageMagick's adaptive choice takes (Average), as RGB with Paeth on every
# row (netpbm), as a 256-colour palette picture and interlaced.
set -eu
out=$1
mkdir -p "$out"
cd "$out"
/usr/bin/convert -size 1024x768 -seed 3 plasma:fractal -depth 8 photo.ppm
/usr/bin/convert photo.ppm PNG24:photo-rgb.png
pnmtopng -paeth photo.ppm >photo-rgb-paeth.png 2>/dev/null
/usr/bin/convert photo.ppm -colors 256 PNG8:photo-paletted.png
/usr/bin/convert photo.ppm -interlace PNG PNG24:photo-interlaced.png
rm photo.ppm
touch stamp
