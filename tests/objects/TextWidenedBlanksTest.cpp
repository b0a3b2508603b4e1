#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "objects/VORText.h"

namespace {

// Where the text's lines start, by character, in a frame of the width.
std::vector<int32_t> LineStarts(uint32_t textFlags, int32_t width, int32_t &firstBlankWidth) {
  VORPlayerText text(VORObjectCode::MakeClassKey(VORText::kCategory, VORText::kCode), 1);
  VORText::VORTextProperties &properties = text.GetTextProperties();
  properties.rtfText = "{\\rtf1{\\fonttbl{\\f0 Arial;}}\\f0\\fs24 one two three four five six seven eight nine ten}";
  properties.textFlags = textFlags;
  text.PushProperties();
  text.SetFrameSize(width, 400);
  const LineRun &first = text.GetLines().front().runs.front();
  firstBlankWidth = first.edges.at(3) - first.edges.at(2); // the blank after "one"
  std::vector<int32_t> starts;
  for (const TextLine &line : text.GetLines())
    starts.push_back(line.charStart);
  return starts;
}

// Text flag 0x8 doubles every blank of the text object's lines.
TEST(TextWidenedBlanksTest, TheTextFlagWidensBlanksAndMovesTheBreaks) {
  int32_t plainBlank = 0;
  int32_t widenedBlank = 0;
  const std::vector<int32_t> plain = LineStarts(VORText::kDrawPartialLines, 120, plainBlank);
  const std::vector<int32_t> widened =
      LineStarts(VORText::kDrawPartialLines | VORText::kWidenedBlanks, 120, widenedBlank);
  ASSERT_GT(plainBlank, 0);
  EXPECT_EQ(widenedBlank, 2 * plainBlank);
  EXPECT_NE(widened, plain) << "wider blanks break the lines elsewhere";
}

} // namespace
