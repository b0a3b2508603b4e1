#include <gtest/gtest.h>

#include <cctype>
#include <map>
#include <string>
#include <vector>

#include "richtext/XQRichText.h"
#include "support/FakeTextMeasurer.h"
#include "support/FuzzFixture.h"

const std::map<std::string, std::string> &RtfCorpus();

namespace {

class RtfTest : public ::testing::Test {
protected:
  FakeTextMeasurer measurer;
  XQRichText text{measurer};

  // The style of the run holding character index.
  const TextStyle &StyleAt(XQRichText &document, int32_t index) {
    int32_t start = 0;
    for (const TextRun &run : document.GetRuns()) {
      start += static_cast<int32_t>(run.text.size());
      if (index < start)
        return *run.style;
    }
    return *document.GetRuns().back().style;
  }

  void Style(int32_t from, int32_t to, const TextStyle &style) {
    text.SetCaret(2 * from);
    text.ExtendSelection(2 * to);
    text.ApplyStyleToSelection(style);
  }
};

struct RoundTripCase {
  const char *name;
  TextStyle style;
};

std::vector<RoundTripCase> RoundTripCases() {
  std::vector<RoundTripCase> cases;
  const auto add = [&](const char *name, auto set) {
    TextStyle style;
    set(style);
    cases.push_back({name, style});
  };
  add("bold italic underline", [](TextStyle &s) {
    s.SetBold(true);
    s.SetItalic(true);
    s.SetUnderline(true);
  });
  add("face and size", [](TextStyle &s) {
    s.SetFace("Courier New");
    s.SetSize(17);
  });
  add("subscript", [](TextStyle &s) { s.SetSubscript(true); });
  add("superscript", [](TextStyle &s) { s.SetSuperscript(true); });
  add("colours", [](TextStyle &s) {
    s.SetTextColor(0x0000FF);
    s.SetBackgroundColor(0x00FF00, true);
    s.SetShadowColor(0x808080, true);
  });
  add("tag ids", [](TextStyle &s) {
    s.AddTagId(42);
    s.AddTagId(-7);
  });
  add("alignment right", [](TextStyle &s) { s.SetAlignment(TextStyle::kAlignRight); });
  add("alignment justified", [](TextStyle &s) { s.SetAlignment(TextStyle::kAlignJustified); });
  add("exact spacing", [](TextStyle &s) { s.SetSpacing(-16); });
  add("double spacing", [](TextStyle &s) { s.SetSpacing(2048); });
  add("indents", [](TextStyle &s) {
    s.SetLeftIndent(40);
    s.SetRightIndent(17);
    s.SetFirstIndent(-20); // negative: a hanging first line
  });
  add("tabs of each kind", [](TextStyle &s) {
    TabStopList tabs;
    tabs.Add({kTabLeft, 30});
    tabs.Add({kTabRight, 101});
    tabs.Add({kTabCentre, 155});
    tabs.Add({kTabDecimal, 203});
    s.SetTabs(tabs);
  });
  add("bullet", [](TextStyle &s) { s.SetBullet(true); });
  return cases;
}

TEST_F(RtfTest, StylesSurviveASaveAndALoad) {
  for (const RoundTripCase &c : RoundTripCases()) {
    text.SelectAll();
    text.InsertString("plain {braces} back\\slash\tand more\nsecond paragraph");
    Style(6, 14, c.style); // "{braces}"
    std::string rtf;
    ASSERT_TRUE(text.SaveRtf(rtf));
    XQRichText copy(measurer);
    ASSERT_TRUE(copy.LoadRtf(rtf)) << c.name;
    EXPECT_EQ(copy.GetText(), text.GetText()) << c.name << "\n" << rtf;
    for (int32_t i = 0; i < text.GetLength(); ++i) {
      const TextStyle &original = StyleAt(text, i);
      const TextStyle &read = StyleAt(copy, i);
      ASSERT_TRUE(original.SameCharacterFields(read)) << c.name << " at " << i << "\n" << rtf;
      ASSERT_TRUE(original.SameParagraphFields(read)) << c.name << " at " << i << "\n" << rtf;
    }
  }
}

TEST_F(RtfTest, WriterWritesTheDocumentsWords) {
  text.InsertString("a{b}");
  TextStyle link;
  link.AddTagId(42);
  link.SetTextColor(0x0000FF);
  Style(1, 3, link);
  std::string rtf;
  text.SaveRtf(rtf);
  EXPECT_EQ(rtf.rfind("{\\rtf1\\ansi\\deff0\n{\\fonttbl{\\f0 Times New Roman;}}\n", 0), 0u) << rtf;
  EXPECT_NE(rtf.find("{\\colortbl\\red0\\green0\\blue0;\\red255\\green0\\blue0;}"), std::string::npos) << rtf;
  // Black is the first entry: the first run names no colour.
  EXPECT_NE(rtf.find("\\plain\\f0\\fs24 \\pard\\ql\\sl288\\li0\\ri0\\fi0 a"), std::string::npos) << rtf;
  EXPECT_NE(rtf.find("\\plain\\cf1\\f0\\fs24\\id42 \\{b"), std::string::npos) << rtf;
  EXPECT_EQ(rtf.back(), '}');
}

TEST_F(RtfTest, BoldWordTakesItsParameter) {
  ASSERT_TRUE(text.LoadRtf("{\\rtf1 \\b a\\b0 b\\b1 c\\b2 d}"));
  EXPECT_EQ(text.GetText(), "abcd\n");
  EXPECT_TRUE(StyleAt(text, 0).GetBold());
  EXPECT_FALSE(StyleAt(text, 1).GetBold());
  EXPECT_TRUE(StyleAt(text, 2).GetBold());
  EXPECT_TRUE(StyleAt(text, 3).GetBold());
}

TEST_F(RtfTest, ColourTableFirstEntryRule) {
  ASSERT_TRUE(
      text.LoadRtf("{\\rtf1{\\colortbl;\\red255\\green0\\blue0;\\red0\\green128;}\\cf1 r\\cf0 k\\cf2 p\\plain x}"));
  EXPECT_EQ(StyleAt(text, 0).GetTextColor(), 0x0000FFu); // red
  EXPECT_EQ(StyleAt(text, 1).GetTextColor(), 0u);        // the empty first entry: black
  EXPECT_EQ(StyleAt(text, 2).GetTextColor(), 0x008000u); // the missing blue is 0
  EXPECT_EQ(StyleAt(text, 3).GetTextColor(), 0u);        // plain: the first entry
}

TEST_F(RtfTest, ParagraphWordsConvertTwipsAtTheDeviceResolution) {
  ASSERT_TRUE(text.LoadRtf("{\\rtf1 \\sl-240\\li1440\\fi-360\\tqdec\\tx2880\\tx720 a}"));
  const TextStyle &style = StyleAt(text, 0);
  EXPECT_EQ(style.GetSpacing(), -16);
  EXPECT_EQ(style.GetLeftIndent(), 96);
  EXPECT_EQ(style.GetFirstIndent(), -24);
  ASSERT_EQ(style.GetTabs().Stops().size(), 2u);
  EXPECT_EQ(style.GetTabs().Stops()[0], (TabStop{kTabLeft, 48})); // the kind returns to left
  EXPECT_EQ(style.GetTabs().Stops()[1], (TabStop{kTabDecimal, 192}));
  ASSERT_TRUE(text.LoadRtf("{\\rtf1 \\fs20\\sl480 a}"));
  EXPECT_EQ(StyleAt(text, 0).GetSpacing(), 480 * 1024 / (10 * 24));
}

TEST_F(RtfTest, FontTableEntries) {
  ASSERT_TRUE(text.LoadRtf("{\\rtf1{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\froman;}{\\f2{\\*\\panose 00}Courier New;}}"
                           "\\f0 a\\f1 b\\f2 c\\f9 d}"));
  EXPECT_EQ(StyleAt(text, 0).GetFace(), "Arial");
  EXPECT_EQ(StyleAt(text, 1).GetFace(), "Times New Roman"); // no face given
  EXPECT_EQ(StyleAt(text, 2).GetFace(), "Courier New");
  EXPECT_EQ(StyleAt(text, 3).GetFace(), "Courier New"); // an unknown number changes nothing
}

TEST_F(RtfTest, SpecialCharactersAndEscapes) {
  ASSERT_TRUE(text.LoadRtf("{\\rtf1 a\\tab b\\par c\\~\\_\\emdash\\lquote\\rdblquote\\'41\\'e9\\{\\}\\\\}"));
  EXPECT_EQ(text.GetText(), "a\tb\nc --'\"A\xe9{}\\\n");
}

TEST_F(RtfTest, ReadingInsertsAtTheCaretAndSelectsTheText) {
  text.InsertString("abcd");
  text.SetCaret(4);
  ASSERT_TRUE(text.ReadRtf("{\\rtf1 \\b XY}"));
  EXPECT_EQ(text.GetText(), "abXYcd\n");
  int32_t start = 0;
  int32_t end = 0;
  ASSERT_TRUE(text.GetSelection(start, end));
  EXPECT_EQ(start, 4);
  EXPECT_EQ(end, 7);
  EXPECT_TRUE(StyleAt(text, 2).GetBold());
  EXPECT_FALSE(StyleAt(text, 4).GetBold());
}

// Refused text changes nothing: the selection is checked before it goes.
TEST_F(RtfTest, TextWithoutTheHeaderIsRefusedAndTheSelectionKept) {
  text.InsertString("keep me");
  text.SelectAll();
  EXPECT_FALSE(text.ReadRtf("{\\rt"));
  EXPECT_FALSE(text.ReadRtf("plain text"));
  EXPECT_EQ(text.GetText(), "keep me\n");
  int32_t start = 0;
  int32_t end = 0;
  EXPECT_TRUE(text.GetSelection(start, end));
  EXPECT_FALSE(text.LoadRtf(""));
}

TEST_F(RtfTest, BrokenInputReadsCleanly) {
  const struct {
    const char *name;
    std::string rtf;
    std::string text;
  } cases[] = {
      {"hex escape at the very end", "{\\rtf1 a\\'", "a\n"},
      {"hex escape with one digit left", "{\\rtf1 a\\'4", "a4\n"},
      {"hex escape with a bad digit", "{\\rtf1 a\\'zzb}", "azzb\n"},
      {"hex NUL", "{\\rtf1 a\\'00b}", "ab\n"},
      {"raw NUL", std::string("{\\rtf1 a\0b}", 11), "ab\n"},
      {"backslash at the end", "{\\rtf1 a\\", "a\n"},
      {"unclosed groups", "{\\rtf1 {\\b a{\\i b", "ab\n"},
      {"unclosed font table", "{\\rtf1{\\fonttbl{\\f0 Arial;", "\n"},
      {"long word", "{\\rtf1 \\" + std::string(5000, 'x') + " a}", "a\n"},
      {"long number", "{\\rtf1 \\fs" + std::string(5000, '9') + " a}", "a\n"},
      {"deep groups", "{\\rtf1 " + std::string(100000, '{') + "a" + std::string(100000, '}') + "b}", "ab\n"},
      {"closing brace first", "{\\rtf1 }a", "\n"},
  };
  for (const auto &c : cases) {
    ASSERT_TRUE(text.LoadRtf(c.rtf)) << c.name;
    EXPECT_EQ(text.GetText(), c.text) << c.name;
    EXPECT_EQ(text.GetText().find('\0'), std::string::npos) << c.name;
  }
  std::string rtf;
  text.SelectAll();
  text.InsertString("x");
  ASSERT_TRUE(text.LoadRtf("{\\rtf1{\\colortbl;\\red9\\green9\\blue9;}{\\fonttbl{\\f0 A;}}\\f0\\cf1\\b x\\par y}"));
  text.SaveRtf(rtf);
  // Every cut of a document reads without fault.
  for (size_t length = 0; length <= rtf.size(); ++length)
    text.LoadRtf(rtf.substr(0, length));
  ASSERT_TRUE(text.LoadRtf("{\\rtf1 \\fs99999999999 \\li99999999999 \\sl-99999999999 a}"));
  EXPECT_EQ(StyleAt(text, 0).GetSize(), TextStyle::kMaxSize);
}

// A size past any font's (the number held at 32 bits, then halved) is held
// at the largest size, either way, and lines of it lay out one below the
// other.
TEST_F(RtfTest, FontSizesAreBoundedWhereTheyAreRead) {
  const struct {
    std::string rtf;
    int32_t size;
  } cases[] = {
      {"{\\rtf1 \\fs3276 a}", TextStyle::kMaxSize},
      {"{\\rtf1 \\fs3278 a}", TextStyle::kMaxSize},
      {"{\\rtf1 \\fs99999999999 a}", TextStyle::kMaxSize},
      {"{\\rtf1 \\fs-99999999999 a}", -TextStyle::kMaxSize},
      {"{\\rtf1 \\fs31 a}", 15},
  };
  for (const auto &c : cases) {
    ASSERT_TRUE(text.LoadRtf(c.rtf)) << c.rtf;
    EXPECT_EQ(StyleAt(text, 0).GetSize(), c.size) << c.rtf;
  }
  const std::vector<uint8_t> fixture = FuzzFixture("rtf-font-size-past-32-bits");
  ASSERT_TRUE(text.LoadRtf(std::string(fixture.begin(), fixture.end())));
  const std::vector<TextLine> &lines = text.GetLines();
  ASSERT_GE(lines.size(), 3u);
  for (size_t i = 1; i < lines.size(); ++i)
    EXPECT_GT(lines[i].top, lines[i - 1].top) << i;
  EXPECT_GT(text.GetContentHeight(), lines.back().top);
}

// A line spacing of billions of pixels (a damaged file's) puts the later
// lines at an edge far below 32 bits: aligned at the top, bottom or middle
// the lines keep their order, spread over the frame (which stacks them by
// their heights alone) they keep their heights, and nothing overflows (the
// sanitizers watch the arithmetic).
TEST_F(RtfTest, HugeLineSpacingsLayOutInOrderWithEveryVerticalAlignment) {
  const std::vector<uint8_t> fixture = FuzzFixture("rtf-line-spacing-past-32-bits");
  ASSERT_TRUE(text.LoadRtf(std::string(fixture.begin(), fixture.end())));
  text.InsertString("x y");
  for (int32_t alignment = 0; alignment <= 3; ++alignment) {
    text.SetVerticalAlignment(alignment);
    const std::vector<TextLine> &lines = text.GetLines();
    ASSERT_GE(lines.size(), 3u);
    EXPECT_GT(lines[0].Bottom(), lines[0].top) << alignment;
    for (size_t i = 1; i < lines.size(); ++i) {
      EXPECT_GT(lines[i].Bottom(), lines[i].top) << alignment << " " << i;
      if (alignment != 3) {
        EXPECT_GE(lines[i].top, lines[i - 1].top) << alignment << " " << i;
      }
    }
  }
}

// Files written by real tools read without losing a word.
TEST_F(RtfTest, CorpusOfRealToolsReadsWithoutLossOfText) {
  const auto &corpus = RtfCorpus();
  const auto plain = corpus.find("sample.txt");
  ASSERT_NE(plain, corpus.end());
  const auto words = [](const std::string &s) {
    std::vector<std::string> found;
    std::string word;
    for (char c : s + " ") {
      if (std::isalnum(static_cast<unsigned char>(c))) {
        word += c;
      } else if (!word.empty()) {
        found.push_back(word);
        word.clear();
      }
    }
    return found;
  };
  int files = 0;
  for (const auto &[name, content] : corpus) {
    if (name.size() < 4 || name.compare(name.size() - 4, 4, ".rtf") != 0)
      continue;
    ++files;
    ASSERT_TRUE(text.LoadRtf(content)) << name;
    EXPECT_EQ(words(text.GetText()), words(plain->second)) << name << ":\n" << text.GetText();
    // And what the writer makes of it reads back the same.
    std::string rtf;
    text.SaveRtf(rtf);
    XQRichText copy(measurer);
    ASSERT_TRUE(copy.LoadRtf(rtf));
    EXPECT_EQ(copy.GetText(), text.GetText()) << name;
  }
  EXPECT_GE(files, 1);
}

} // namespace
