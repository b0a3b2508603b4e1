#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "richtext/XQRichText.h"

// A plain text laid out for the printer, a sheet at a time: only whole
// lines are printed, and a line never appears on two sheets.
class VORPrintRichText : public XQRichText {
public:
  // measurer: the printer's, so that the layout has its resolution.
  VORPrintRichText(RichTextMeasurer &measurer, const std::string &text);

  // Prints the lines from firstLine on that fit into the rectangle (the
  // sheet's coordinates) and moves firstLine past them; answers whether
  // lines remain.
  bool PrintPage(int32_t &firstLine, const VORRect &rect, RichTextCanvas &canvas);

  // The first line of the next sheet: past every line from first on that
  // ends within frameHeight of first's top, and past first itself in any
  // case, so that a line taller than the sheet (or a sheet of no height)
  // cannot hold the printing on one line forever.
  static int32_t NextPageFirstLine(const std::vector<TextLine> &lines, int32_t first, int32_t frameHeight);
};
