#include "display/OffscreenBitmap.h"

#include <gtest/gtest.h>

#include <vector>

#include "ScopedDisplaySettings.h"
#include "display/DibImage.h"
#include "display/DrawingContext.h"
#include "display/Palette.h"
#include "display/SystemErrorHook.h"

namespace {

std::vector<int32_t> g_reported;
void RecordError(int32_t code) { g_reported.push_back(code); }

TEST(OffscreenBitmapTest, OneDrawingContextWithTheApplicationPalette) {
  ScopedDisplaySettings keep;
  Palette palette;
  palette.LoadDefault();
  GetDisplaySettings().applicationPalette = &palette;
  OffscreenBitmap offscreen(nullptr, 8, 8);
  ASSERT_NE(offscreen.GetDC(), nullptr);
  DrawingContext *context = offscreen.GetDrawingContext();
  ASSERT_NE(context, nullptr);
  EXPECT_EQ(offscreen.GetDrawingContext(), context);
  EXPECT_EQ(::GetCurrentObject(offscreen.GetDC(), OBJ_PAL), palette.GetHPalette());

  context->SetPenColor(RGB(255, 0, 0));
  context->SetBrushColor(RGB(255, 0, 0));
  context->DrawRectangle(VORRect(0, 0, 8, 8));
  EXPECT_EQ(::GetPixel(offscreen.GetDC(), 4, 4), RGB(255, 0, 0));
}

TEST(OffscreenBitmapTest, ABitmapThatCannotBeMadeIsReported) {
  g_reported.clear();
  SystemErrorHook previous = SetSystemErrorHook(&RecordError);
  {
    OffscreenBitmap huge(nullptr, 0x7FFFFFF, 0x7FFFFFF);
    EXPECT_EQ(huge.GetBitmap(), nullptr);
  }
  SetSystemErrorHook(previous);
  EXPECT_EQ(g_reported, std::vector<int32_t>{kErrorBitmapNotCreated});
}

TEST(PaletteGdiTest, TheHandleHoldsThePalettesColours) {
  const RgbQuad colours[] = {RgbQuad{1, 2, 3, 0}, RgbQuad{4, 5, 6, 0}};
  Palette palette(colours, 2);
  HPALETTE handle = palette.GetHPalette();
  ASSERT_NE(handle, nullptr);
  EXPECT_EQ(palette.GetHPalette(), handle);
  PALETTEENTRY entries[2] = {};
  ASSERT_EQ(::GetPaletteEntries(handle, 0, 2, entries), 2u);
  EXPECT_EQ(entries[1].peRed, 6);
  EXPECT_EQ(entries[1].peGreen, 5);
  EXPECT_EQ(entries[1].peBlue, 4);
  Palette notValid;
  EXPECT_EQ(notValid.GetHPalette(), nullptr);
}

TEST(DibImageGdiTest, TheGlobalPackedDibIsBottomUpAndLocked) {
  struct {
    BitmapInfoHeader header;
    RgbQuad colours[256];
  } info = {};
  info.header = BitmapInfoHeader{kBitmapInfoHeaderSize, 1, -2, 1, 8, kCompressionRgb, 0, 0, 0, 0, 0};
  DibImage image;
  ASSERT_TRUE(image.Create(&info.header));
  image.GetRowAddress(0)[0] = 1;
  image.GetRowAddress(1)[0] = 2;
  HGLOBAL block = image.ToGlobalPackedDib();
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(::GlobalFlags(block) & GMEM_LOCKCOUNT, 1u);
  const auto *bytes = static_cast<const uint8_t *>(::GlobalLock(block));
  const auto *header = reinterpret_cast<const BITMAPINFOHEADER *>(bytes);
  EXPECT_EQ(header->biHeight, 2);
  EXPECT_EQ(bytes[40 + 1024], 2); // the first stored row is the bottom one
  EXPECT_EQ(bytes[40 + 1024 + 4], 1);
  ::GlobalUnlock(block);
  ::GlobalUnlock(block);
  ::GlobalFree(block);
}

} // namespace
