// What the application tells the display: its instance, the MMX answer, the
// palette-display answer and the publication's palette, and how 8-bit
// off-screen surfaces then look. A palette-based screen is injected: the
// test screens' 8-bit mode shows windows in twenty colours only.
#include "engine/VORPlayerApp.h"

#include <gtest/gtest.h>

#include <vector>

#include "display/DisplaySettings.h"
#include "display/DrawingContext.h"
#include "display/Palette.h"
#include "display/ScopedDisplaySettings.h"
#include "display/VORBitmapObjectSurface.h"
#include "display/VORView.h"
#include "support/ProgramDriver.h"
#include "support/PublicationRecords.h"
#include "support/TestPlayerApp.h"

namespace {

using PublicationRecords::PaletteEntry;

bool g_paletteScreen = false;
bool AnswerPaletteScreen() { return g_paletteScreen; }

// Answers the palette-display question as the test says while it lives.
class InjectedScreen {
public:
  explicit InjectedScreen(bool paletteBased) : m_previous(VORPlayerApp::SetPaletteDisplayTest(AnswerPaletteScreen)) {
    g_paletteScreen = paletteBased;
  }
  ~InjectedScreen() { VORPlayerApp::SetPaletteDisplayTest(m_previous); }
  InjectedScreen(const InjectedScreen &) = delete;
  InjectedScreen &operator=(const InjectedScreen &) = delete;

private:
  VORPlayerApp::PaletteDisplayTest m_previous;
};

// Entries as the record stores them: blue, green, red, reserved.
const std::vector<PaletteEntry> kColours = {
    {0, 0, 0, 0},      {40, 30, 200, 0},  {60, 170, 20, 0},   {190, 60, 30, 0},
    {20, 210, 230, 0}, {150, 20, 140, 0}, {128, 128, 128, 0}, {255, 255, 255, 0},
};

COLORREF ColourOf(const PaletteEntry &entry) { return RGB(entry.red, entry.green, entry.blue); }

PublicationRecords::Publication OfDepth(int32_t depth) {
  PublicationRecords::Publication publication;
  publication.colourDepth = depth;
  if (depth == 8)
    publication.palette = kColours;
  PublicationRecords::Chapter chapter;
  chapter.pages = {VORObjectKey{0, 4, 1}};
  publication.chapters = {chapter};
  return publication;
}

// A view that stands for the screen: its depth is the surfaces' depth.
class ScreenView : public VORView {
public:
  explicit ScreenView(int32_t depth) : VORView(VORObjectCode::MakeClassKey(0, 3), 9), m_depth(depth) {}
  void Refresh() override {}
  bool Initialize() override { return true; }
  void ShowPageInstance(VORPageInstance &) override {}
  void LeavePageInstance(VORPageInstance &) override {}
  VORPageInstance *GetPageInstance() override { return nullptr; }
  HWND__ *GetWindow() override { return nullptr; }
  VORScreenBuffer *GetScreenBuffer() override { return nullptr; }
  void PlayEnterTransition() override {}
  DrawingContext *GetDrawingContext() override { return nullptr; }
  int32_t GetBitsPerPixel() override { return m_depth; }
  void RedrawRect(const VORRect &) override {}

private:
  int32_t m_depth;
};

class Surface : public VORBitmapObjectSurface {
public:
  Surface(const VORRect &rect, VORView &view) : VORBitmapObjectSurface(ParamsFor(rect, view)) {}
  void RedrawRect(const VORRect &) override {}

private:
  static Params ParamsFor(const VORRect &rect, VORView &view) {
    Params params;
    params.rect = rect;
    params.dib = true;
    params.parentView = &view;
    return params;
  }
};

void Fill(DrawingContext &context, const VORRect &rect, COLORREF colour) {
  context.SetPenColor(colour);
  context.SetBrushColor(colour);
  context.DrawRectangle(rect);
  context.DeletePen();
  context.DeleteBrush();
}

// The index an 8-bit DIB surface holds at (x, y), rows top-down.
int IndexAt(VORBitmapObjectSurface &surface, int32_t x, int32_t y) {
  void *bits = nullptr, *maskBits = nullptr;
  BitmapInfoHeader *info = nullptr;
  VORRect rect = surface.GetBounds();
  surface.LockPixels(&bits, &maskBits, &info, rect);
  int index = -1;
  if (bits != nullptr && info != nullptr && info->biBitCount == 8) {
    const int32_t stride = (info->biWidth + 3) / 4 * 4;
    index = static_cast<const uint8_t *>(bits)[y * stride + x];
  }
  surface.UnlockPixels(false);
  return index;
}

class VORPlayerAppDisplayTest : public ::testing::Test {
protected:
  // Starts the application on the publication; false when it did not start.
  bool Start(TestPlayerApp &app, const PublicationRecords::Publication &publication) {
    m_folder.WriteFile("demo.vor", PublicationRecords::FileText(publication));
    return app.StartUp(m_folder.File("demo.vor").c_str(), nullptr);
  }

  ScopedDisplaySettings m_keep;
  ScratchFolder m_folder;
};

TEST_F(VORPlayerAppDisplayTest, TheInstanceHandleIsTheOneGiven) {
  for (HINSTANCE instance : {GetModuleHandleA(nullptr), GetModuleHandleA("user32.dll")}) {
    VORPlayerApp app(instance);
    EXPECT_EQ(app.GetInstanceHandle(), instance);
    ASSERT_EQ(VORApp::Get(), &app);
    EXPECT_EQ(VORApp::Get()->GetInstanceHandle(), instance);
  }
}

// The start-up answers the display's questions before the publication is
// read, and the publication's palette follows from the answers.
TEST_F(VORPlayerAppDisplayTest, TheStartUpTellsTheDisplayItsAnswersAndThePalette) {
  struct Case {
    const char *what;
    bool paletteScreen;
    int32_t depth;
    int32_t colours; // -1: no palette
  } cases[] = {
      {"8 bits on a palette screen: its own colours", true, 8, 8},
      {"8 bits on a true-colour screen: its own colours", false, 8, 8},
      {"24 bits on a palette screen: the default colours", true, 24, Palette::kMaxEntries},
      {"24 bits on a true-colour screen: none", false, 24, -1},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    InjectedScreen screen(c.paletteScreen);
    GetDisplaySettings() = DisplaySettings();
    TestPlayerApp app;
    ASSERT_TRUE(Start(app, OfDepth(c.depth)));
    EXPECT_EQ(app.IsTrueColorDisplay(), !c.paletteScreen);
    EXPECT_EQ(app.GetPaletteDisplay(), c.paletteScreen ? 0 : 1);
    EXPECT_EQ(GetDisplaySettings().paletteDisplay, c.paletteScreen);
    // Every processor that runs the player has MMX, and SSE2 with it.
    EXPECT_TRUE(app.HasMMX());
    EXPECT_TRUE(GetDisplaySettings().mmx);
    EXPECT_EQ(SelectedPixelLoops(), PixelLoops::kVector) << "the vector loops run";
    Palette *palette = app.GetPalette();
    EXPECT_EQ(GetDisplaySettings().applicationPalette, palette);
    if (c.colours < 0) {
      EXPECT_EQ(palette, nullptr);
    } else {
      ASSERT_NE(palette, nullptr);
      EXPECT_EQ(palette->GetCount(), c.colours);
    }
    app.Teardown();
    EXPECT_EQ(app.GetPalette(), nullptr) << "gone with the publication";
    EXPECT_EQ(GetDisplaySettings().applicationPalette, nullptr);
  }
}

// On a palette screen the off-screen surfaces are 8-bit DIBs whose colours
// are the publication's: drawing picks its entries, and a deep picture
// copied in is dithered to them.
TEST_F(VORPlayerAppDisplayTest, EightBitSurfacesTakeThePublicationsColours) {
  InjectedScreen screen(true);
  TestPlayerApp app;
  ASSERT_TRUE(Start(app, OfDepth(8)));

  ScreenView paletteScreen(8);
  Surface surface(VORRect(0, 0, 8, 8), paletteScreen);
  ASSERT_TRUE(surface.IsDib());
  ASSERT_EQ(surface.GetBitsPerPixel(), 8);
  void *bits = nullptr, *maskBits = nullptr;
  BitmapInfoHeader *info = nullptr;
  VORRect whole = surface.GetBounds();
  surface.LockPixels(&bits, &maskBits, &info, whole);
  ASSERT_NE(info, nullptr);
  EXPECT_EQ(info->biClrUsed, kColours.size());
  const auto *table = reinterpret_cast<const RgbQuad *>(info + 1);
  for (size_t i = 0; i < kColours.size(); ++i) {
    EXPECT_EQ(table[i].blue, kColours[i].blue) << i;
    EXPECT_EQ(table[i].green, kColours[i].green) << i;
    EXPECT_EQ(table[i].red, kColours[i].red) << i;
  }
  surface.UnlockPixels(false);

  Fill(*surface.GetDrawingContext(), VORRect(0, 0, 4, 8), ColourOf(kColours[3]));
  EXPECT_EQ(IndexAt(surface, 1, 1), 3) << "drawn in the publication's entry";

  ScreenView deepScreen(24);
  Surface picture(VORRect(0, 0, 8, 8), deepScreen);
  ASSERT_EQ(picture.GetBitsPerPixel(), 24);
  Fill(*picture.GetDrawingContext(), VORRect(0, 0, 8, 8), ColourOf(kColours[5]));
  picture.GetDrawingContext()->CopyTo(*surface.GetDrawingContext(), nullptr, VORRect(4, 0, 8, 8), VORRect(4, 0, 8, 8));
  EXPECT_EQ(IndexAt(surface, 6, 3), 5) << "dithered to the publication's entry";
  EXPECT_EQ(IndexAt(surface, 1, 3), 3) << "outside the copy";
  picture.ReleaseContexts();
  surface.ReleaseContexts();
  app.Teardown();
}

} // namespace
