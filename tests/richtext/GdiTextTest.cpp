// Rich text drawn with the real fonts under the system: checked at sample
// points of the drawn pixels, never by exact metrics.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "display/DrawingContext.h"
#include "model/PublicationTextSettings.h"
#include "model/VORPlayerPublication.h"
#include "richtext/GdiTextCanvas.h"
#include "richtext/GdiTextMeasurer.h"
#include "richtext/XQRichText.h"
#include "support/MemoryFile.h"
#include "support/PublicationRecords.h"
#include "vorfile/VORCompiledFile.h"

namespace {

constexpr int kWidth = 300;
constexpr int kHeight = 100;

// A white 32-bit DIB section in a memory DC, read back pixel by pixel.
class Bitmap {
public:
  Bitmap() : m_dc(CreateCompatibleDC(nullptr)) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = kWidth;
    info.bmiHeader.biHeight = -kHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    m_bitmap = CreateDIBSection(m_dc, &info, DIB_RGB_COLORS, reinterpret_cast<void **>(&m_bits), nullptr, 0);
    m_previous = SelectObject(m_dc, m_bitmap);
    std::memset(m_bits, 0xFF, kWidth * kHeight * 4);
  }
  ~Bitmap() {
    SelectObject(m_dc, m_previous);
    DeleteObject(m_bitmap);
    DeleteDC(m_dc);
  }
  HDC dc() const { return m_dc; }
  // 0x00RRGGBB.
  uint32_t Pixel(int x, int y) const {
    GdiFlush();
    return m_bits[y * kWidth + x] & 0xFFFFFF;
  }
  int CountDark(const VORRect &area) const {
    int dark = 0;
    for (int y = area.top; y < area.bottom; ++y)
      for (int x = area.left; x < area.right; ++x)
        dark += (Pixel(x, y) & 0xFF) < 0x80 ? 1 : 0;
    return dark;
  }

private:
  HDC m_dc;
  HBITMAP m_bitmap = nullptr;
  HGDIOBJ m_previous = nullptr;
  uint32_t *m_bits = nullptr;
};

// Reads a publication written with the character set and text resolution,
// as the player reads it at start-up.
void ReadPublication(uint16_t characterSet, int32_t textResolution) {
  PublicationRecords::Publication written;
  written.properties.characterSet = characterSet;
  written.textResolution = textResolution;
  VORCompiledFile file(std::make_unique<MemoryFile>(written.Bytes(), "text.vor"));
  ASSERT_TRUE(file.Open(false, false));
  ASSERT_NE(VORPlayerPublication::LoadFromRoot(file), nullptr);
}

// The settings are the process's: each test that reads a publication puts
// them back.
class PublicationText : public ::testing::Test {
protected:
  ~PublicationText() override { PublicationTextSettings::Reset(); }
};

// Where lines start, by character.
std::vector<int32_t> LineStarts(XQRichText &text) {
  std::vector<int32_t> starts;
  for (const TextLine &line : text.GetLines())
    starts.push_back(line.charStart);
  return starts;
}

TEST(GdiTextTest, FontsAreSharedByKeyAndMeasured) {
  GdiTextMeasurer &measurer = GdiTextMeasurer::Shared();
  const RichTextFontKey key = MakeFontKey("Arial", 12, false, false, false, false, measurer.GetDeviceResolution());
  const RichTextFont &font = measurer.GetFont(key);
  EXPECT_EQ(&measurer.GetFont(key), &font);
  EXPECT_GT(font.ascent, font.descent);
  EXPECT_GT(font.descent, 0);
  int32_t edges[3] = {};
  measurer.MeasureText(font, "WiW", 3, 0, 0, edges);
  EXPECT_GT(edges[0], 0);
  EXPECT_GT(edges[1], edges[0]);
  EXPECT_GT(edges[2] - edges[1], edges[1] - edges[0]); // W is wider than i
  int32_t justified[3] = {};
  measurer.MeasureText(font, "a b", 3, 10, 1, justified);
  measurer.MeasureText(font, "a b", 3, 0, 0, edges);
  EXPECT_EQ(justified[2], edges[2] + 10);
  const RichTextFontKey bold = MakeFontKey("Arial", 12, true, false, false, false, measurer.GetDeviceResolution());
  int32_t boldEdges[3] = {};
  measurer.MeasureText(measurer.GetFont(bold), "WiW", 3, 0, 0, boldEdges);
  EXPECT_GE(boldEdges[2], edges[2]);
}

TEST(GdiTextTest, DrawsTextBackgroundsAndTheSelectionWithRealFonts) {
  XQRichText text(GdiTextMeasurer::Shared());
  text.SetFrameSize(kWidth, kHeight);
  ASSERT_TRUE(text.LoadRtf("{\\rtf1{\\fonttbl{\\f0 Arial;}}{\\colortbl;\\red255\\green0\\blue0;}"
                           "\\f0\\fs48 WWW {\\cb1 MMM}\\par\\fs24 second line}"));
  const std::vector<TextLine> &lines = text.GetLines();
  ASSERT_EQ(lines.size(), 2u);
  const LineRun &first = lines[0].runs[0];
  const LineRun &red = lines[0].runs[1];
  ASSERT_EQ(red.text, "MMM");
  Bitmap bitmap;
  {
    DrawingContext context(bitmap.dc(), nullptr);
    GdiTextCanvas canvas(context);
    text.SetCaret(0);
    text.Draw(canvas, VORRect(0, 0, kWidth, kHeight));
  }
  // Dark strokes where the W's are, none right of the text.
  EXPECT_GT(bitmap.CountDark(VORRect(first.x, first.top, first.x + first.width, first.top + first.height)), 20);
  EXPECT_EQ(bitmap.CountDark(VORRect(red.x + red.width + 5, 0, kWidth, lines[0].Bottom())), 0);
  // The background box is red where no stroke falls: its top left corner.
  EXPECT_EQ(bitmap.Pixel(red.x + 1, red.top + 1), 0xFF0000u);

  // Selected text is inverted over the line's height: white turns black.
  Bitmap selected;
  {
    DrawingContext context(selected.dc(), nullptr);
    GdiTextCanvas canvas(context);
    text.SetCaret(0);
    text.ExtendSelection(5); // "WWW"
    text.Draw(canvas, VORRect(0, 0, kWidth, kHeight));
  }
  const VORRect box(first.x, lines[0].top, first.x + first.width, lines[0].Bottom());
  const int area = static_cast<int>(box.Width() * box.Height());
  EXPECT_LT(bitmap.CountDark(box), area / 2);
  EXPECT_GT(selected.CountDark(box), area / 2);
}

// A publication made for another character set draws with fonts of that
// set where the face has it; the face's own symbol set stays.
TEST_F(PublicationText, FontsAreMadeInThePublicationsCharacterSet) {
  const struct {
    uint16_t characterSet;
    const char *face;
    BYTE expected;
  } cases[] = {
      {RUSSIAN_CHARSET, "Arial", RUSSIAN_CHARSET},           {GREEK_CHARSET, "Arial", GREEK_CHARSET},
      {EASTEUROPE_CHARSET, "Arial", EASTEUROPE_CHARSET},     {ANSI_CHARSET, "Arial", ANSI_CHARSET},
      {RUSSIAN_CHARSET, "Times New Roman", RUSSIAN_CHARSET},
  };
  for (const auto &c : cases) {
    ReadPublication(c.characterSet, -1);
    GdiTextMeasurer measurer;
    const RichTextFont &font =
        measurer.GetFont(MakeFontKey(c.face, 12, false, false, false, false, measurer.GetDeviceResolution()));
    HFONT handle = GdiTextMeasurer::HandleOf(font);
    LOGFONTA asked = {};
    ASSERT_NE(GetObjectA(handle, sizeof asked, &asked), 0);
    EXPECT_EQ(asked.lfCharSet, c.expected) << c.characterSet << " " << c.face;
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, handle);
    EXPECT_EQ(GetTextCharset(dc), c.expected) << c.characterSet << " " << c.face << ": the font the system selects";
    SelectObject(dc, previous);
    DeleteDC(dc);
  }
}

// The same text on displays of 96 and 144 pixels per inch: its lines break
// alike when the publication fixes the resolution, and not otherwise.
TEST_F(PublicationText, AFixedTextResolutionBreaksLinesAlikeOnEveryDisplay) {
  const std::string rtf = "{\\rtf1{\\fonttbl{\\f0 Arial;}}\\f0\\fs24 The quick brown fox jumps over the lazy dog, "
                          "then runs on past the hedge into the wide field beyond the old mill by the river.\\par}";
  const struct {
    int32_t textResolution;
    bool alike;
  } cases[] = {{96, true}, {120, true}, {-1, false}};
  for (const auto &c : cases) {
    ReadPublication(ANSI_CHARSET, c.textResolution);
    GdiTextMeasurer usual(96);
    GdiTextMeasurer large(144);
    XQRichText onUsual(usual);
    XQRichText onLarge(large);
    for (XQRichText *text : {&onUsual, &onLarge}) {
      text->SetFrameSize(200, 1000);
      ASSERT_TRUE(text->LoadRtf(rtf));
    }
    ASSERT_GT(onUsual.GetLineCount(), 2) << c.textResolution;
    if (c.alike) {
      EXPECT_EQ(onUsual.GetDeviceResolution(), c.textResolution);
      EXPECT_EQ(onLarge.GetDeviceResolution(), c.textResolution);
      EXPECT_EQ(LineStarts(onUsual), LineStarts(onLarge)) << c.textResolution;
      EXPECT_EQ(onUsual.GetContentHeight(), onLarge.GetContentHeight()) << c.textResolution;
    } else {
      EXPECT_EQ(onLarge.GetDeviceResolution(), 144);
      EXPECT_NE(LineStarts(onUsual), LineStarts(onLarge)) << "the display's own resolution";
    }
  }
}

// A printer measures at its own resolution, whatever the publication fixes.
TEST_F(PublicationText, APrinterKeepsItsOwnResolution) {
  ReadPublication(ANSI_CHARSET, 120);
  HDC screen = GetDC(nullptr);
  const int32_t own = GetDeviceCaps(screen, LOGPIXELSY);
  {
    GdiTextMeasurer device(screen);
    EXPECT_EQ(device.GetDeviceResolution(), own);
  }
  ReleaseDC(nullptr, screen);
}

} // namespace
