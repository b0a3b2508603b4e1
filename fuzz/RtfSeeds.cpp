// Writes the seed corpus of the RTF fuzzer: documents the writer makes with
// every style it knows, and hand-made RTF of the forms other tools write.

#include <cstdint>
#include <string>
#include <vector>

#include "richtext/XQRichText.h"
#include "support/FakeTextMeasurer.h"
#include "support/SeedCorpus.h"

namespace {

std::vector<uint8_t> Bytes(const std::string &text) { return std::vector<uint8_t>(text.begin(), text.end()); }

std::string WrittenDocument() {
  FakeTextMeasurer measurer;
  XQRichText text(measurer);
  text.InsertString("plain {braces} back\\slash\tand\nsecond paragraph\nthird");
  TextStyle style;
  style.SetBold(true);
  style.SetItalic(true);
  style.SetSubscript(true);
  style.SetTextColor(0x0000FF);
  style.SetBackgroundColor(0x00FF00, true);
  style.SetShadowColor(0x808080, true);
  style.AddTagId(42);
  style.SetFace("Arial");
  style.SetSpacing(-16);
  style.SetFirstIndent(-20);
  style.SetBullet(true);
  style.AddTab(TabStop{kTabDecimal, 120});
  style.SetAlignment(TextStyle::kAlignJustified);
  text.SetCaret(4);
  text.ExtendSelection(40);
  text.ApplyStyleToSelection(style);
  std::string rtf;
  text.SaveRtf(rtf);
  return rtf;
}

} // namespace

int main(int argc, char **argv) {
  const std::vector<SeedFile> seeds = {
      {"written", Bytes(WrittenDocument())},
      {"tables", Bytes("{\\rtf1\\ansi{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\froman;}{\\f2{\\*\\panose 0}Courier;}}"
                       "{\\colortbl;\\red255\\green0\\blue0;\\red0\\green128;}{\\stylesheet{\\s0 Normal;}}"
                       "{\\info{\\title t}}\\f0\\cf1\\cb2\\b0\\ul\\up6 a\\'e9\\'41\\tab\\par\\pard\\qc\\sl-240 b}")},
      {"words", Bytes("{\\rtf1 \\li360\\fi-360\\tqr\\tx720\\tqc\\tx1440\\tqdec\\tx2160\\bullet\\tab x\\~\\_\\emdash"
                      "\\lquote\\rdblquote\\id7\\shad1\\dn4\\plain\\{\\}\\\\{\\*\\ignored}{\\pict 00}\\u8217?}")},
  };
  return WriteSeedCorpus(argc, argv, seeds);
}
