// Reads any bytes as RTF into a document that already holds text and a
// selection, then edits, lays out, hit-tests and writes it again: the text
// written must read back to the same characters.

#include <cstdint>
#include <cstdlib>
#include <string>

#include "richtext/XQRichText.h"
#include "support/FakeTextMeasurer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const std::string rtf(reinterpret_cast<const char *>(data), size);
  FakeTextMeasurer measurer;
  XQRichText text(measurer);
  text.SetFrameSize(200, 100);
  text.InsertString("before\n\tafter");
  text.SetCaret(4);
  text.ExtendSelection(9);
  text.GetLines();
  const bool read = text.ReadRtf(rtf);
  if (!read && text.GetText() != "before\n\tafter\n")
    std::abort(); // a refused text changes nothing
  if (text.GetText().find('\0') != std::string::npos)
    std::abort();
  text.GetLines();
  bool inside = false;
  text.HitTest(50, 20, inside, nullptr);
  text.SetCaret(2 * text.GetLength());
  text.InsertString("x y");
  text.SetVerticalAlignment(3);
  text.GetLines();
  std::string written;
  text.SaveRtf(written);
  XQRichText copy(measurer);
  if (!copy.LoadRtf(written) || copy.GetText() != text.GetText())
    std::abort();
  return 0;
}
