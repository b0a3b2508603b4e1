#include "display/DrawingContext.h"

#include <gtest/gtest.h>

#include <random>
#include <utility>
#include <vector>

#include "GdiCanvas.h"
#include "ScopedDisplaySettings.h"
#include "display/DibImage.h"
#include "display/DitherEngine.h"
#include "display/DrawingContextSaver.h"
#include "display/Palette.h"
#include "display/SystemErrorHook.h"

namespace {

// Colours as GdiCanvas::Pixel reads them: 0xRRGGBB.
constexpr uint32_t Read(uint8_t r, uint8_t g, uint8_t b) { return static_cast<uint32_t>(r) << 16 | g << 8 | b; }
constexpr uint32_t kReadWhite = 0xFFFFFF;
constexpr uint32_t kReadBlack = 0x000000;

std::vector<int32_t> g_reported;
void RecordError(int32_t code) { g_reported.push_back(code); }

// Collects what the drawing context reports while a test runs.
class ErrorHookTest : public ::testing::Test {
protected:
  void SetUp() override {
    g_reported.clear();
    m_previous = SetSystemErrorHook(&RecordError);
  }
  void TearDown() override { SetSystemErrorHook(m_previous); }

private:
  SystemErrorHook m_previous = nullptr;
};

using DrawingContextTest = ErrorHookTest;

TEST_F(DrawingContextTest, DestroyingPutsBackWhatWasSelectedOnBothDeviceContexts) {
  GdiCanvas primary(16, 16, 32), mask(16, 16, 1);
  const HGDIOBJ pens[] = {::GetCurrentObject(primary.dc(), OBJ_PEN), ::GetCurrentObject(mask.dc(), OBJ_PEN)};
  const HGDIOBJ brushes[] = {::GetCurrentObject(primary.dc(), OBJ_BRUSH), ::GetCurrentObject(mask.dc(), OBJ_BRUSH)};
  const HGDIOBJ fonts[] = {::GetCurrentObject(primary.dc(), OBJ_FONT), ::GetCurrentObject(mask.dc(), OBJ_FONT)};
  std::vector<HGDIOBJ> made;
  {
    DrawingContext context(primary.dc(), nullptr);
    context.SetMaskDC(mask.dc());
    context.SetPen(3, RGB(255, 0, 0), PS_SOLID);
    context.SetBrushColor(RGB(0, 0, 255));
    LOGFONTA font = {};
    font.lfHeight = 12;
    context.CreateFont(font);
    context.SetClipRect(VORRect(1, 1, 5, 5));
    VORRect locked(0, 0, 4, 4);
    void *bits = nullptr, *maskBits = nullptr;
    BitmapInfoHeader *info = nullptr;
    ASSERT_TRUE(context.LockPixels(locked, &bits, &maskBits, &info)); // left locked on purpose
    for (HDC dc : {primary.dc(), mask.dc()}) {
      made.push_back(::GetCurrentObject(dc, OBJ_PEN));
      made.push_back(::GetCurrentObject(dc, OBJ_BRUSH));
    }
    made.push_back(::GetCurrentObject(primary.dc(), OBJ_FONT));
  }
  for (int side = 0; side < 2; ++side) {
    HDC dc = side == 0 ? primary.dc() : mask.dc();
    EXPECT_EQ(::GetCurrentObject(dc, OBJ_PEN), pens[side]) << side;
    EXPECT_EQ(::GetCurrentObject(dc, OBJ_BRUSH), brushes[side]) << side;
    EXPECT_EQ(::GetCurrentObject(dc, OBJ_FONT), fonts[side]) << side;
    HRGN region = ::CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(::GetClipRgn(dc, region), 0) << side; // no clip left
    ::DeleteObject(region);
  }
  for (HGDIOBJ object : made) {
    EXPECT_EQ(::GetObjectType(object), 0u) << "still exists: " << object;
  }
  EXPECT_TRUE(g_reported.empty());
}

TEST_F(DrawingContextTest, PrimitivesDrawInTheirColoursOnThePrimaryAndWhiteOnTheMask) {
  GdiCanvas primary(16, 16, 32), mask(16, 16, 1);
  primary.Fill(RGB(0, 255, 0));
  DrawingContext context(primary.dc(), nullptr);
  context.SetMaskDC(mask.dc());
  context.SetOrigin(100, 200);
  context.SetPenColor(RGB(255, 0, 0));
  context.SetBrushColor(RGB(0, 0, 128));
  context.DrawRectangle(VORRect(102, 202, 110, 210));
  EXPECT_EQ(primary.Pixel(2, 2), Read(255, 0, 0));
  EXPECT_EQ(primary.Pixel(5, 5), Read(0, 0, 128)); // a dark colour: black if it reached the mask as itself
  EXPECT_EQ(primary.Pixel(12, 12), Read(0, 255, 0));
  EXPECT_EQ(mask.Pixel(2, 2), kReadWhite);
  EXPECT_EQ(mask.Pixel(5, 5), kReadWhite);
  EXPECT_EQ(mask.Pixel(12, 12), kReadBlack);

  context.FillMaskBlack(VORRect(100, 200, 116, 216));
  context.SetTextColor(RGB(0, 0, 0));
  context.SetBkMode(TRANSPARENT);
  context.TextOut(101, 201, "WW", 2);
  int white = 0;
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 16; ++x) {
      white += mask.Pixel(x, y) == kReadWhite ? 1 : 0;
    }
  }
  EXPECT_GT(white, 0); // black text is white in the mask
}

TEST_F(DrawingContextTest, PointArraysAreLeftAsTheCallerGaveThem) {
  GdiCanvas primary(16, 16, 32);
  DrawingContext context(primary.dc(), nullptr);
  context.SetOrigin(-3, 7);
  context.SetPenColor(RGB(0, 0, 0));
  POINT points[] = {{1, 2}, {5, 9}, {7, 3}, {2, 2}};
  context.DrawPolyline(points, 4);
  context.DrawPolygon(points, 3);
  context.DrawPolyBezier(points, 4);
  EXPECT_EQ(points[0].x, 1);
  EXPECT_EQ(points[0].y, 2);
  EXPECT_EQ(points[1].x, 5);
  EXPECT_EQ(points[3].y, 2);
}

TEST_F(DrawingContextTest, ClipsIntersectAndADisjointOneLeavesNothingDrawable) {
  GdiCanvas primary(16, 16, 32);
  primary.Fill(RGB(255, 255, 255));
  DrawingContext context(primary.dc(), nullptr);
  context.SetOrigin(10, 10);
  context.SetClipRect(VORRect(10, 10, 18, 18));
  context.SetClipRect(VORRect(14, 14, 30, 30));
  EXPECT_EQ(context.GetClipRect(), VORRect(14, 14, 18, 18));
  context.SetClipRect(VORRect(20, 20, 24, 24)); // disjoint from the clip
  EXPECT_TRUE(context.GetClipRect().IsEmpty());
  context.SetPenColor(RGB(0, 0, 0));
  context.SetBrushColor(RGB(0, 0, 0));
  context.DrawRectangle(VORRect(10, 10, 26, 26));
  for (int y = 0; y < 16; y += 3) {
    for (int x = 0; x < 16; x += 3) {
      ASSERT_EQ(primary.Pixel(x, y), kReadWhite) << x << "," << y;
    }
  }
  context.SetClipRect(VORRect::NotSet());
  EXPECT_EQ(context.GetClipRect(), VORRect::NotSet());
  context.DrawRectangle(VORRect(10, 10, 26, 26));
  EXPECT_EQ(primary.Pixel(8, 8), kReadBlack);
}

TEST_F(DrawingContextTest, TheSaverPutsBackOriginAndClip) {
  GdiCanvas primary(16, 16, 32);
  DrawingContext context(primary.dc(), nullptr);
  context.SetOrigin(5, 6);
  context.SetClipRect(VORRect(5, 6, 10, 10));
  {
    DrawingContextSaver saver(context);
    context.SetOrigin(0, 0);
    context.SetClipRect(VORRect(1, 1, 2, 2));
  }
  EXPECT_EQ(context.GetOrigin().x, 5);
  EXPECT_EQ(context.GetOrigin().y, 6);
  EXPECT_EQ(context.GetClipRect(), VORRect(5, 6, 10, 10));
  context.RemoveClip();
  {
    DrawingContextSaver saver(context);
    context.SetClipRect(VORRect(6, 7, 8, 8));
  }
  EXPECT_EQ(context.GetClipRect(), VORRect::NotSet());
}

// ---- Copies ------------------------------------------------------------------

// A 4 x 4 source whose pixel (x, y) is red x * 60, green y * 60, and a 8 x 8
// destination of grey.
struct CopyScene {
  GdiCanvas source{4, 4, 32};
  GdiCanvas sourceMask{4, 4, 1};
  GdiCanvas extra{4, 4, 1};
  GdiCanvas destination{8, 8, 32};
  GdiCanvas destinationMask{8, 8, 1};

  CopyScene() {
    for (int y = 0; y < 4; ++y) {
      for (int x = 0; x < 4; ++x) {
        source.FillRect(RECT{x, y, x + 1, y + 1}, RGB(x * 60, y * 60, 0));
      }
    }
    destination.Fill(RGB(128, 128, 128));
  }
  static uint32_t SourceColour(int x, int y) {
    return Read(static_cast<uint8_t>(x * 60), static_cast<uint8_t>(y * 60), 0);
  }
};

TEST_F(DrawingContextTest, CopyToCopiesStretchesOrCopiesTransparently) {
  enum Kind { kEqual, kStretched, kMaskedSource, kExtraMask, kEmpty };
  for (Kind kind : {kEqual, kStretched, kMaskedSource, kExtraMask, kEmpty}) {
    CopyScene scene;
    DrawingContext source(scene.source.dc(), nullptr), destination(scene.destination.dc(), nullptr),
        extra(nullptr, nullptr);
    destination.SetMaskDC(scene.destinationMask.dc());
    DrawingContext *extraMask = nullptr;
    if (kind == kMaskedSource) {
      source.SetMaskDC(scene.sourceMask.dc());
      scene.sourceMask.FillRect(RECT{0, 0, 2, 4}, RGB(255, 255, 255)); // the left half is drawn
    }
    if (kind == kExtraMask) {
      extra.SetMaskDC(scene.extra.dc());
      scene.extra.FillRect(RECT{0, 0, 4, 2}, RGB(255, 255, 255)); // the top half
      extraMask = &extra;
    }
    const VORRect from(0, 0, 4, 4);
    const VORRect to = kind == kStretched ? VORRect(0, 0, 8, 8)
                       : kind == kEmpty   ? VORRect(2, 2, 2, 6)
                                          : VORRect(2, 2, 6, 6);
    source.CopyTo(destination, extraMask, from, to);

    for (int y = 0; y < 8; ++y) {
      for (int x = 0; x < 8; ++x) {
        uint32_t expected = Read(128, 128, 128);
        bool covered = false;
        if (kind == kStretched) {
          expected = CopyScene::SourceColour(x / 2, y / 2);
          covered = true;
        } else if (kind != kEmpty && x >= 2 && x < 6 && y >= 2 && y < 6) {
          const int sx = x - 2, sy = y - 2;
          covered = (kind != kMaskedSource || sx < 2) && (kind != kExtraMask || sy < 2);
          if (covered) {
            expected = CopyScene::SourceColour(sx, sy);
          }
        }
        ASSERT_EQ(scene.destination.Pixel(x, y), expected) << "case " << kind << " at " << x << "," << y;
        ASSERT_EQ(scene.destinationMask.Pixel(x, y), covered ? kReadWhite : kReadBlack)
            << "mask, case " << kind << " at " << x << "," << y;
      }
    }
  }
  EXPECT_TRUE(g_reported.empty());
}

// A transparent copy between two 24-bit surfaces that hold their pixels in
// memory is done there; it must leave every byte as GDI's scratch-bitmap
// steps do (the same surfaces, said to stage their pixels, or a clip on the
// destination, take the GDI way).
TEST_F(DrawingContextTest, TransparentCopyInMemoryMatchesGdi) {
  struct Case {
    VORRect from, to;
    bool clipped;
  };
  const Case cases[] = {
      {VORRect(0, 0, 37, 9), VORRect(0, 0, 37, 9), false},  // whole, odd width
      {VORRect(3, 1, 30, 8), VORRect(9, 4, 36, 11), false}, // mask bytes not aligned, rows moved
      {VORRect(8, 0, 24, 5), VORRect(1, 6, 17, 11), false}, // whole mask bytes
      {VORRect(5, 2, 33, 9), VORRect(2, 1, 30, 8), true},   // a clip: GDI either way
  };
  constexpr int kWidth = 37, kHeight = 12;
  for (const Case &c : cases) {
    std::vector<uint8_t> results[2];
    for (int inMemory = 0; inMemory < 2; ++inMemory) {
      std::mt19937 random(7);
      GdiCanvas sourcePixels(kWidth, kHeight, 24), sourceMask(kWidth, kHeight, 1),
          destinationPixels(kWidth, kHeight, 24);
      const size_t pixelBytes = static_cast<size_t>((kWidth * 3 + 3) / 4 * 4) * kHeight;
      const size_t maskBytes = static_cast<size_t>((kWidth + 31) / 32 * 4) * kHeight;
      for (size_t i = 0; i < pixelBytes; ++i) {
        sourcePixels.bits()[i] = static_cast<uint8_t>(random());
        destinationPixels.bits()[i] = static_cast<uint8_t>(random());
      }
      // Runs of set and clear bytes among mixed ones.
      for (size_t i = 0; i < maskBytes; ++i) {
        const uint32_t pick = random() % 4;
        sourceMask.bits()[i] = pick == 0 ? 0x00 : pick == 1 ? 0xFF : static_cast<uint8_t>(random());
      }
      CanvasSurface sourceSurface(sourcePixels, &sourceMask, VORRect(0, 0, kWidth, kHeight));
      CanvasSurface destinationSurface(destinationPixels, nullptr, VORRect(0, 0, kWidth, kHeight));
      sourceSurface.inPlace = inMemory != 0;
      destinationSurface.inPlace = inMemory != 0;
      DrawingContext source(sourcePixels.dc(), &sourceSurface),
          destination(destinationPixels.dc(), &destinationSurface);
      source.SetMaskDC(sourceMask.dc());
      if (c.clipped) {
        destination.SetClipRect(VORRect(4, 3, 20, 10));
      }
      source.TransparentCopyTo(destination, nullptr, c.from, c.to);
      ::GdiFlush();
      results[inMemory].assign(destinationPixels.bits(), destinationPixels.bits() + pixelBytes);
      EXPECT_EQ(destinationSurface.locks, inMemory != 0 && !c.clipped ? 1 : 0);
    }
    EXPECT_EQ(results[0], results[1]) << "from " << c.from.left << "," << c.from.top;
  }
  EXPECT_TRUE(g_reported.empty());
}

// Between two 8-bit surfaces of one colour table the copy is done in memory
// as well: the covered indexes from the source, the others kept. With the
// default palette (black 0, white 255) that is what GDI's steps leave; with
// a table whose white and black lie elsewhere it is still exactly the
// covered pixels.
TEST_F(DrawingContextTest, EightBitTransparentCopiesTakeTheCoveredPixels) {
  std::vector<RgbQuad> elsewhere(256);
  for (int i = 0; i < 256; ++i) {
    elsewhere[i] = RgbQuad{static_cast<uint8_t>(i), static_cast<uint8_t>(255 - i), static_cast<uint8_t>(i * 7), 0};
  }
  elsewhere[7] = RgbQuad{255, 255, 255, 0};
  elsewhere[200] = RgbQuad{0, 0, 0, 0};
  const RgbQuad *tables[] = {Palette::Default().GetEntries(), elsewhere.data()};
  constexpr int kWidth = 29, kHeight = 7;
  const VORRect from(2, 1, 27, 6), to(0, 2, 25, 7);
  for (const RgbQuad *table : tables) {
    const bool defaultTable = table == tables[0];
    for (int inMemory = 0; inMemory < 2; ++inMemory) {
      if (!defaultTable && inMemory == 0) {
        continue; // GDI's and-step works on white's index
      }
      std::mt19937 random(11);
      GdiCanvas sourcePixels(kWidth, kHeight, 8, table, 256), sourceMask(kWidth, kHeight, 1),
          destinationPixels(kWidth, kHeight, 8, table, 256);
      const int stride = (kWidth + 3) / 4 * 4, maskStride = (kWidth + 31) / 32 * 4;
      for (int i = 0; i < stride * kHeight; ++i) {
        sourcePixels.bits()[i] = static_cast<uint8_t>(random());
        destinationPixels.bits()[i] = static_cast<uint8_t>(random());
      }
      for (int i = 0; i < maskStride * kHeight; ++i) {
        sourceMask.bits()[i] = static_cast<uint8_t>(random());
      }
      std::vector<uint8_t> expected(destinationPixels.bits(), destinationPixels.bits() + stride * kHeight);
      for (int y = 0; y < from.Height(); ++y) {
        for (int x = 0; x < from.Width(); ++x) {
          const int bit = from.left + x;
          if ((sourceMask.bits()[(from.top + y) * maskStride + bit / 8] & (0x80 >> (bit % 8))) != 0) {
            expected[(to.top + y) * stride + to.left + x] =
                sourcePixels.bits()[(from.top + y) * stride + from.left + x];
          }
        }
      }
      CanvasSurface sourceSurface(sourcePixels, &sourceMask, VORRect(0, 0, kWidth, kHeight));
      CanvasSurface destinationSurface(destinationPixels, nullptr, VORRect(0, 0, kWidth, kHeight));
      sourceSurface.inPlace = inMemory != 0;
      destinationSurface.inPlace = inMemory != 0;
      DrawingContext source(sourcePixels.dc(), &sourceSurface),
          destination(destinationPixels.dc(), &destinationSurface);
      source.SetMaskDC(sourceMask.dc());
      source.TransparentCopyTo(destination, nullptr, from, to);
      ::GdiFlush();
      EXPECT_EQ(destinationSurface.locks, inMemory);
      // Compared as colours: GDI may pick another index of the same colour.
      for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
          const RgbQuad got = table[destinationPixels.Index(x, y)], want = table[expected[y * stride + x]];
          ASSERT_TRUE(got.red == want.red && got.green == want.green && got.blue == want.blue)
              << (defaultTable ? "default table" : "white at 7") << (inMemory ? " in memory" : " by GDI") << " at " << x
              << "," << y;
        }
      }
    }
  }
  EXPECT_TRUE(g_reported.empty());
}

// A picture drawn through its mask at its own size into a surface whose
// pixels lie in memory is drawn there: every byte as GDI's scratch-bitmap
// steps leave it, whatever the rows' order, the part of the picture, the
// clip or the surface's edge. A stretched picture, or a mask whose colour
// table is not black then white, takes the GDI way.
TEST_F(DrawingContextTest, MaskedPicturesDrawnInMemoryMatchGdi) {
  constexpr int kPictureWidth = 23, kPictureHeight = 17, kWidth = 40, kHeight = 30;
  struct Case {
    const char *name;
    bool bottomUp;
    VORRect source, destination, clip;
    bool swappedMaskColours;
    bool inMemory;
  };
  const VORRect none(0, 0, -1, -1), whole(0, 0, kPictureWidth, kPictureHeight);
  const Case cases[] = {
      {"whole, top-down", false, whole, VORRect(5, 4, 28, 21), none, false, true},
      {"whole, bottom-up", true, whole, VORRect(5, 4, 28, 21), none, false, true},
      {"part of a bottom-up picture", true, VORRect(3, 2, 20, 12), VORRect(1, 1, 18, 11), none, false, true},
      {"part of a top-down picture", false, VORRect(6, 5, 22, 16), VORRect(10, 9, 26, 20), none, false, true},
      {"clipped", true, whole, VORRect(5, 4, 28, 21), VORRect(8, 6, 20, 30), false, true},
      {"over the surface's edge", false, whole, VORRect(30, 20, 53, 37), none, false, true},
      {"stretched", false, whole, VORRect(2, 2, 40, 30), none, false, false},
      {"mask colours swapped", false, whole, VORRect(5, 4, 28, 21), none, true, false},
  };
  const int pictureStride = (kPictureWidth * 3 + 3) / 4 * 4, maskStride = (kPictureWidth + 31) / 32 * 4;
  for (const Case &c : cases) {
    std::mt19937 random(5);
    std::vector<uint8_t> picture(static_cast<size_t>(pictureStride) * kPictureHeight);
    std::vector<uint8_t> mask(static_cast<size_t>(maskStride) * kPictureHeight);
    for (uint8_t &byte : picture) {
      byte = static_cast<uint8_t>(random());
    }
    for (uint8_t &byte : mask) {
      const uint32_t pick = random() % 4;
      byte = pick == 0 ? 0x00 : pick == 1 ? 0xFF : static_cast<uint8_t>(random());
    }
    BITMAPINFO pictureInfo = {};
    pictureInfo.bmiHeader = {sizeof(BITMAPINFOHEADER),
                             kPictureWidth,
                             c.bottomUp ? kPictureHeight : -kPictureHeight,
                             1,
                             24,
                             BI_RGB,
                             0,
                             0,
                             0,
                             0,
                             0};
    struct {
      BITMAPINFOHEADER header;
      RGBQUAD colours[2];
    } maskInfo = {pictureInfo.bmiHeader, {{0, 0, 0, 0}, {255, 255, 255, 0}}};
    maskInfo.header.biBitCount = 1;
    if (c.swappedMaskColours) {
      std::swap(maskInfo.colours[0], maskInfo.colours[1]);
    }
    std::vector<uint8_t> results[2];
    for (int inMemory = 0; inMemory < 2; ++inMemory) {
      std::mt19937 background(9);
      GdiCanvas pixels(kWidth, kHeight, 24);
      const size_t bytes = static_cast<size_t>((kWidth * 3 + 3) / 4 * 4) * kHeight;
      for (size_t i = 0; i < bytes; ++i) {
        pixels.bits()[i] = static_cast<uint8_t>(background());
      }
      CanvasSurface surface(pixels, nullptr, VORRect(0, 0, kWidth, kHeight));
      surface.inPlace = inMemory != 0;
      DrawingContext context(pixels.dc(), &surface);
      context.SetClipRect(c.clip);
      context.StretchDIBitsMasked(c.destination, c.source, picture.data(), mask.data(), &pictureInfo,
                                  reinterpret_cast<const BITMAPINFO *>(&maskInfo));
      ::GdiFlush();
      results[inMemory].assign(pixels.bits(), pixels.bits() + bytes);
      EXPECT_EQ(surface.locks, inMemory != 0 && c.inMemory ? 1 : 0) << c.name;
    }
    EXPECT_EQ(results[0], results[1]) << c.name;
  }
  EXPECT_TRUE(g_reported.empty());
}

TEST_F(DrawingContextTest, TransparentCopiesWorkInTheDestinationsOwnFormat) {
  // An 8-bit destination: black 0, white 255, green 7, red 9, the rest dark greys.
  std::vector<RgbQuad> colours(256);
  for (int i = 0; i < 256; ++i) {
    colours[i] = RgbQuad{static_cast<uint8_t>(i / 8), static_cast<uint8_t>(i / 8), static_cast<uint8_t>(i / 8), 0};
  }
  colours[0] = RgbQuad{0, 0, 0, 0};
  colours[255] = RgbQuad{255, 255, 255, 0};
  colours[7] = RgbQuad{0, 255, 0, 0};
  colours[9] = RgbQuad{0, 0, 255, 0};
  GdiCanvas destinationPixels(4, 1, 8, colours.data(), 256);
  for (int x = 0; x < 4; ++x) {
    destinationPixels.SetIndex(x, 0, 7);
  }
  GdiCanvas sourcePixels(4, 1, 32), sourceMask(4, 1, 1);
  sourcePixels.Fill(RGB(255, 0, 0));
  sourceMask.FillRect(RECT{0, 0, 2, 1}, RGB(255, 255, 255));
  DrawingContext source(sourcePixels.dc(), nullptr), destination(destinationPixels.dc(), nullptr);
  source.SetMaskDC(sourceMask.dc());
  source.TransparentCopyTo(destination, nullptr, VORRect(0, 0, 4, 1), VORRect(0, 0, 4, 1));
  EXPECT_EQ(destinationPixels.Index(0, 0), 9);
  EXPECT_EQ(destinationPixels.Index(1, 0), 9);
  EXPECT_EQ(destinationPixels.Index(2, 0), 7);
  EXPECT_EQ(destinationPixels.Index(3, 0), 7);
}

TEST_F(DrawingContextTest, CopyMaskToNeedsTwoMasks) {
  GdiCanvas a(4, 4, 32), aMask(4, 4, 1), b(4, 4, 32), bMask(4, 4, 1);
  aMask.Fill(RGB(255, 255, 255));
  DrawingContext source(a.dc(), nullptr), destination(b.dc(), nullptr);
  source.CopyMaskTo(destination, VORRect(0, 0, 4, 4), VORRect(0, 0, 4, 4), SRCCOPY);
  source.SetMaskDC(aMask.dc());
  source.CopyMaskTo(destination, VORRect(0, 0, 4, 4), VORRect(0, 0, 4, 4), SRCCOPY);
  EXPECT_EQ(bMask.Pixel(1, 1), kReadBlack);
  destination.SetMaskDC(bMask.dc());
  source.CopyMaskTo(destination, VORRect(0, 0, 2, 2), VORRect(0, 0, 4, 4), SRCCOPY);
  EXPECT_EQ(bMask.Pixel(3, 3), kReadWhite);
}

// ---- Blends ------------------------------------------------------------------

TEST_F(DrawingContextTest, BlendToMixesAtTheLevelThroughStagedPixels) {
  struct Case {
    int level;
    uint8_t expected;
  } cases[] = {{0, 100}, {-3, 100}, {128, (200 * 128 + 100 * 128) >> 8}, {256, 200}, {999, 200}};
  for (const Case &c : cases) {
    GdiCanvas sourcePixels(6, 6, 32), destinationPixels(6, 6, 32), destinationMask(6, 6, 1);
    sourcePixels.Fill(RGB(200, 200, 200));
    destinationPixels.Fill(RGB(100, 100, 100));
    DrawingContext source(sourcePixels.dc(), nullptr), destination(destinationPixels.dc(), nullptr);
    destination.SetMaskDC(destinationMask.dc());
    destination.SetOrigin(10, 10);
    source.BlendTo(destination, nullptr, VORRect(0, 0, 4, 4), VORRect(11, 11, 15, 15), c.level, 0, 0, 0);
    EXPECT_EQ(destinationPixels.Pixel(1, 1), Read(c.expected, c.expected, c.expected)) << c.level;
    EXPECT_EQ(destinationPixels.Pixel(4, 4), Read(c.expected, c.expected, c.expected)) << c.level;
    EXPECT_EQ(destinationPixels.Pixel(5, 5), Read(100, 100, 100)) << c.level;
    EXPECT_EQ(destinationMask.Pixel(1, 1), kReadWhite) << c.level;
    EXPECT_EQ(destinationMask.Pixel(0, 0), kReadBlack) << c.level;
  }
}

TEST_F(DrawingContextTest, BlendToTakesOnlyMaskedPixelsAndScales) {
  GdiCanvas sourcePixels(2, 2, 32), sourceMask(2, 2, 1), extraMask(2, 2, 1), destinationPixels(4, 4, 32);
  sourcePixels.Fill(RGB(250, 0, 0));
  sourceMask.FillRect(RECT{0, 0, 1, 2}, RGB(255, 255, 255)); // the left column
  extraMask.FillRect(RECT{0, 0, 2, 1}, RGB(255, 255, 255));  // the top row
  destinationPixels.Fill(RGB(0, 0, 250));
  DrawingContext source(sourcePixels.dc(), nullptr), destination(destinationPixels.dc(), nullptr),
      extra(nullptr, nullptr);
  source.SetMaskDC(sourceMask.dc());
  extra.SetMaskDC(extraMask.dc());
  source.BlendTo(destination, &extra, VORRect(0, 0, 2, 2), VORRect(0, 0, 4, 4), 256, 0, 0, 0);
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 4; ++x) {
      const bool covered = x < 2 && y < 2; // source pixel (0, 0) only
      EXPECT_EQ(destinationPixels.Pixel(x, y), covered ? Read(250, 0, 0) : Read(0, 0, 250)) << x << "," << y;
    }
  }
}

TEST_F(DrawingContextTest, EightBitBlendsUseTheApplicationPaletteOrTheDefault) {
  ScopedDisplaySettings keep;
  const RgbQuad colours[] = {RgbQuad{0, 0, 0, 0}, RgbQuad{255, 255, 255, 0}, RgbQuad{128, 128, 128, 0}};
  Palette application(colours, 3);
  for (Palette *palette : {&application, static_cast<Palette *>(nullptr)}) {
    GetDisplaySettings().applicationPalette = palette;
    const char *which = palette != nullptr ? "application" : "default";
    const Palette &used = Palette::ForEightBit(palette);
    const uint8_t white = palette != nullptr ? 1 : 255;
    // Level 0 leaves black, half way gives a middle grey, full level white.
    struct Case {
      int level;
      uint8_t red;
    } cases[] = {{0, 0}, {128, 128}, {256, 255}};
    for (const Case &c : cases) {
      GdiCanvas sourcePixels(2, 1, 8, used.GetEntries(), 3), destinationPixels(2, 1, 8, used.GetEntries(), 3);
      sourcePixels.SetIndex(0, 0, white);
      sourcePixels.SetIndex(1, 0, white);
      CanvasSurface sourceSurface(sourcePixels, nullptr, VORRect(0, 0, 2, 1));
      CanvasSurface destinationSurface(destinationPixels, nullptr, VORRect(0, 0, 2, 1));
      DrawingContext source(sourcePixels.dc(), &sourceSurface),
          destination(destinationPixels.dc(), &destinationSurface);
      source.BlendTo(destination, nullptr, VORRect(0, 0, 1, 1), VORRect(0, 0, 1, 1), c.level, 0, 0, 0);
      const RgbQuad mixed = used.GetEntries()[destinationPixels.Index(0, 0)];
      EXPECT_NEAR(mixed.red, c.red, 8) << which << " level " << c.level;
      EXPECT_EQ(destinationPixels.Index(1, 0), 0) << which << " level " << c.level;
      EXPECT_EQ(sourceSurface.copiedBack, 0) << which << " level " << c.level;
    }
  }
}

TEST_F(DrawingContextTest, EightBitBlendsAreMaskedAndScaled) {
  ScopedDisplaySettings keep;
  GetDisplaySettings().applicationPalette = nullptr;
  GdiCanvas sourcePixels(2, 1, 8), sourceMask(2, 1, 1), destinationPixels(4, 2, 8);
  sourcePixels.SetIndex(0, 0, 255); // white, covered
  sourcePixels.SetIndex(1, 0, 255); // white, not covered
  sourceMask.FillRect(RECT{0, 0, 1, 1}, RGB(255, 255, 255));
  CanvasSurface sourceSurface(sourcePixels, &sourceMask, VORRect(0, 0, 2, 1));
  CanvasSurface destinationSurface(destinationPixels, nullptr, VORRect(0, 0, 4, 2));
  DrawingContext source(sourcePixels.dc(), &sourceSurface), destination(destinationPixels.dc(), &destinationSurface);
  source.SetMaskDC(sourceMask.dc());
  source.BlendTo(destination, nullptr, VORRect(0, 0, 2, 1), VORRect(0, 0, 4, 2), 256, 0, 0, 0);
  for (int y = 0; y < 2; ++y) {
    for (int x = 0; x < 4; ++x) {
      EXPECT_EQ(destinationPixels.Index(x, y), x < 2 ? 255 : 0) << x << "," << y;
    }
  }
}

TEST_F(DrawingContextTest, ADeepSurfaceIntoAnEightBitOneIsDithered) {
  ScopedDisplaySettings keep;
  GetDisplaySettings().applicationPalette = nullptr;
  GdiCanvas sourcePixels(8, 2, 24), sourceMask(8, 2, 1), destinationPixels(8, 2, 8), destinationMask(8, 2, 1);
  for (int x = 0; x < 8; ++x) {
    sourcePixels.FillRect(RECT{x, 0, x + 1, 2}, RGB(x * 30, 90, 255 - x * 20));
  }
  sourceMask.FillRect(RECT{0, 0, 3, 2}, RGB(255, 255, 255));
  CanvasSurface sourceSurface(sourcePixels, &sourceMask, VORRect(0, 0, 8, 2));
  CanvasSurface destinationSurface(destinationPixels, &destinationMask, VORRect(0, 0, 8, 2));
  DrawingContext source(sourcePixels.dc(), &sourceSurface), destination(destinationPixels.dc(), &destinationSurface);
  source.SetMaskDC(sourceMask.dc());
  destination.SetMaskDC(destinationMask.dc());
  source.CopyTo(destination, nullptr, VORRect(0, 0, 8, 2), VORRect(0, 0, 8, 2));

  // What the default palette's engine makes of the same pixels.
  GdiCanvas expected(8, 2, 8);
  DitherEngine engine(&Palette::Default(), 0);
  ASSERT_TRUE(engine.Convert(sourcePixels.info(), expected.info(), sourcePixels.bits(), expected.bits(), nullptr,
                             nullptr, PixelLoops::kPlain));
  for (int y = 0; y < 2; ++y) {
    for (int x = 0; x < 8; ++x) {
      EXPECT_EQ(destinationPixels.Index(x, y), expected.Index(x, y)) << x << "," << y;
      EXPECT_EQ(destinationMask.Pixel(x, y), x < 3 ? kReadWhite : kReadBlack) << x << "," << y;
    }
  }
}

TEST_F(DrawingContextTest, BlendFillRectFollowsTheLevel) {
  struct Case {
    int level;
    uint32_t expected;
  } cases[] = {
      {0, Read(100, 100, 100)},
      {256, Read(0, 0, 255)},
      {128, Read((127 * 100) >> 8, (127 * 100) >> 8, 255 * 128 / 256 + ((127 * 100) >> 8))},
  };
  for (const Case &c : cases) {
    GdiCanvas pixels(4, 4, 32);
    pixels.Fill(RGB(100, 100, 100));
    DrawingContext context(pixels.dc(), nullptr);
    context.BlendFillRect(VORRect(1, 1, 3, 3), RGB(0, 0, 255), c.level);
    EXPECT_EQ(pixels.Pixel(1, 1), c.expected) << c.level;
    EXPECT_EQ(pixels.Pixel(0, 0), Read(100, 100, 100)) << c.level;
  }
}

TEST_F(DrawingContextTest, ShadowsFollowTheSilhouette) {
  struct Case {
    const char *name;
    COLORREF colour;
    int level;
    uint32_t shadow;
  } cases[] = {
      {"black at full level", RGB(0, 0, 0), 256, Read(0, 0, 0)},
      {"a colour at full level", RGB(0, 0, 200), 256, Read(0, 0, 200)},
      {"half level", RGB(0, 0, 0), 128, Read((127 * 100) >> 8, (127 * 100) >> 8, (127 * 100) >> 8)},
  };
  // Masks may be one-bit DIB sections or monochrome bitmaps; both must give the same shadow.
  for (bool monochromeBitmap : {false, true}) {
    for (const Case &c : cases) {
      GdiCanvas objectPixels(4, 4, 32), objectMaskSection(4, 4, 1), page(8, 8, 32), pageMask(8, 8, 1);
      HDC monochromeDC = ::CreateCompatibleDC(nullptr);
      HBITMAP monochrome = ::CreateBitmap(4, 4, 1, 1, nullptr);
      HGDIOBJ displaced = ::SelectObject(monochromeDC, monochrome);
      const RECT all = {0, 0, 4, 4}, left = {0, 0, 2, 4}; // the object covers its left half
      ::FillRect(monochromeDC, &all, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
      ::FillRect(monochromeDC, &left, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
      objectMaskSection.FillRect(left, RGB(255, 255, 255));
      page.Fill(RGB(100, 100, 100));
      DrawingContext object(objectPixels.dc(), nullptr), destination(page.dc(), nullptr);
      object.SetMaskDC(monochromeBitmap ? monochromeDC : objectMaskSection.dc());
      destination.SetMaskDC(pageMask.dc());
      // The object at (0, 0)-(4, 4) of the page, its shadow moved by (2, 3), clipped to the page.
      object.DrawShadow(destination, nullptr, VORRect(0, 0, 8, 8), VORRect(0, 0, 4, 4), 2, 3, c.colour, c.level);
      const char *kind = monochromeBitmap ? "monochrome bitmap mask" : "DIB section mask";
      for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
          const bool inShadow = x >= 2 && x < 4 && y >= 3 && y < 7;
          EXPECT_EQ(page.Pixel(x, y), inShadow ? c.shadow : Read(100, 100, 100))
              << c.name << ", " << kind << " " << x << "," << y;
          EXPECT_EQ(pageMask.Pixel(x, y), inShadow ? kReadWhite : kReadBlack)
              << c.name << ", " << kind << " " << x << "," << y;
        }
      }
      ::SelectObject(monochromeDC, displaced);
      ::DeleteObject(monochrome);
      ::DeleteDC(monochromeDC);
    }
  }
  EXPECT_TRUE(g_reported.empty());
}

TEST_F(DrawingContextTest, ShadowsOfUnmaskedObjectsAreRectanglesCutToTheClip) {
  for (int level : {256, 128}) {
    GdiCanvas objectPixels(4, 4, 32), page(8, 8, 32);
    page.Fill(RGB(100, 100, 100));
    DrawingContext object(objectPixels.dc(), nullptr), destination(page.dc(), nullptr);
    object.DrawShadow(destination, nullptr, VORRect(0, 0, 5, 8), VORRect(0, 0, 4, 4), 2, 2, RGB(0, 0, 0), level);
    const uint32_t shadow = level == 256 ? Read(0, 0, 0) : Read((127 * 100) >> 8, (127 * 100) >> 8, (127 * 100) >> 8);
    EXPECT_EQ(page.Pixel(3, 3), shadow) << level;
    EXPECT_EQ(page.Pixel(5, 3), Read(100, 100, 100)) << level; // cut by the clip
    EXPECT_EQ(page.Pixel(1, 1), Read(100, 100, 100)) << level;
  }
}

// ---- Images and metafiles -----------------------------------------------------

TEST_F(DrawingContextTest, MaskedDibsDrawOnlyTheirOpaquePixels) {
  GdiCanvas pixels(4, 1, 32), mask(4, 1, 1);
  pixels.Fill(RGB(0, 0, 255));
  struct {
    BITMAPINFOHEADER header;
    RGBQUAD colours[2];
  } maskInfo = {{sizeof(BITMAPINFOHEADER), 4, 1, 1, 1, BI_RGB, 0, 0, 0, 0, 0}, {{0, 0, 0, 0}, {255, 255, 255, 0}}};
  BITMAPINFO imageInfo = {{sizeof(BITMAPINFOHEADER), 4, 1, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};
  const uint32_t image[4] = {0x00FF0000, 0x00FF0000, 0x00FF0000, 0x00FF0000}; // red
  const uint32_t maskBits = 0x50;                                             // pixels 1 and 3
  DrawingContext context(pixels.dc(), nullptr);
  context.SetMaskDC(mask.dc());
  context.StretchDIBitsMasked(VORRect(0, 0, 4, 1), VORRect(0, 0, 4, 1), image, &maskBits, &imageInfo,
                              reinterpret_cast<const BITMAPINFO *>(&maskInfo));
  const uint32_t expected[4] = {Read(0, 0, 255), Read(255, 0, 0), Read(0, 0, 255), Read(255, 0, 0)};
  for (int x = 0; x < 4; ++x) {
    EXPECT_EQ(pixels.Pixel(x, 0), expected[x]) << x;
    EXPECT_EQ(mask.Pixel(x, 0), x % 2 == 1 ? kReadWhite : kReadBlack) << x;
  }
  EXPECT_TRUE(g_reported.empty());
}

// Two rectangles, the left with a brush of the key colour, the right dark red.
void RecordShapes(HDC dc, COLORREF key) {
  HPEN pen = ::CreatePen(PS_NULL, 0, 0);
  HBRUSH keyBrush = ::CreateSolidBrush(key);
  HBRUSH red = ::CreateSolidBrush(RGB(128, 0, 0));
  HGDIOBJ oldPen = ::SelectObject(dc, pen);
  HGDIOBJ oldBrush = ::SelectObject(dc, keyBrush);
  ::Rectangle(dc, 0, 0, 9, 17);
  ::SelectObject(dc, red);
  ::Rectangle(dc, 8, 0, 17, 17);
  ::SelectObject(dc, oldPen);
  ::SelectObject(dc, oldBrush);
  ::DeleteObject(pen);
  ::DeleteObject(keyBrush);
  ::DeleteObject(red);
}

TEST_F(DrawingContextTest, KeyColouredBrushesPlayHollowAndTheMaskComesOutWhite) {
  const COLORREF key = RGB(255, 0, 255);
  HDC recorder = ::CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
  ::SetMapMode(recorder, MM_TEXT);
  RecordShapes(recorder, key);
  HENHMETAFILE enhanced = ::CloseEnhMetaFile(recorder);
  HDC windowsRecorder = ::CreateMetaFileA(nullptr);
  ::SetWindowExtEx(windowsRecorder, 16, 16, nullptr);
  RecordShapes(windowsRecorder, key);
  HMETAFILE windows = ::CloseMetaFile(windowsRecorder);
  ASSERT_NE(enhanced, nullptr);
  ASSERT_NE(windows, nullptr);

  for (bool playEnhanced : {true, false}) {
    GdiCanvas pixels(16, 16, 32), mask(16, 16, 1);
    pixels.Fill(RGB(0, 255, 0));
    DrawingContext context(pixels.dc(), nullptr);
    context.SetMaskDC(mask.dc());
    context.SetKeyColor(key);
    if (playEnhanced) {
      context.PlayEnhMetaFile(enhanced, VORRect(0, 0, 16, 16));
    } else {
      context.PlayMetaFile(windows, VORRect(0, 0, 16, 16));
    }
    const char *kind = playEnhanced ? "enhanced" : "windows";
    EXPECT_EQ(pixels.Pixel(3, 8), Read(0, 255, 0)) << kind;  // the key brush played hollow
    EXPECT_EQ(mask.Pixel(3, 8), kReadBlack) << kind;         // and left the mask alone
    EXPECT_EQ(pixels.Pixel(12, 8), Read(128, 0, 0)) << kind; // the red one painted
    EXPECT_EQ(mask.Pixel(12, 8), kReadWhite) << kind;        // and is white in the mask
  }
  ::DeleteEnhMetaFile(enhanced);
  ::DeleteMetaFile(windows);
  EXPECT_TRUE(g_reported.empty());
}

// ---- Pixel access and errors ----------------------------------------------------

TEST_F(DrawingContextTest, StagedPixelsAreTopDownAndCopiedBackOnlyWhenAsked) {
  GdiCanvas pixels(6, 6, 32);
  pixels.Fill(RGB(10, 20, 30));
  DrawingContext context(pixels.dc(), nullptr);
  context.SetOrigin(100, 100);
  VORRect rect(101, 102, 104, 104);
  void *bits = nullptr, *maskBits = nullptr;
  BitmapInfoHeader *info = nullptr;
  VORRect empty(5, 5, 5, 9);
  EXPECT_FALSE(context.LockPixels(empty, &bits, &maskBits, &info));
  EXPECT_EQ(bits, nullptr);
  ASSERT_TRUE(context.LockPixels(rect, &bits, &maskBits, &info));
  EXPECT_EQ(rect, VORRect(101, 102, 104, 104));
  EXPECT_EQ(maskBits, nullptr);
  EXPECT_EQ(info->biBitCount, 24);
  EXPECT_EQ(info->biWidth, 3);
  EXPECT_EQ(info->biHeight, -2);
  auto *first = static_cast<uint8_t *>(bits);
  EXPECT_EQ(first[0], 30); // blue of the rectangle's top-left pixel
  first[0] = 99;
  context.UnlockPixels(false);
  EXPECT_EQ(pixels.Pixel(1, 2), Read(10, 20, 30));
  ASSERT_TRUE(context.LockPixels(rect, &bits, &maskBits, &info));
  static_cast<uint8_t *>(bits)[0] = 99;
  context.UnlockPixels(true);
  EXPECT_EQ(pixels.Pixel(1, 2), Read(10, 20, 99));
  EXPECT_EQ(pixels.Pixel(0, 2), Read(10, 20, 30));
}

TEST_F(DrawingContextTest, FailuresGoToTheErrorHookAndDrawingGoesOn) {
  GdiCanvas pixels(4, 4, 32);
  DrawingContext context(pixels.dc(), nullptr);
  context.SelectPalette(nullptr);
  ASSERT_EQ(g_reported, std::vector<int32_t>{kErrorNullPaletteSelected});
  context.SetPenColor(RGB(0, 0, 0));
  context.DrawLine(0, 0, 3, 0);
  EXPECT_EQ(pixels.Pixel(1, 0), kReadBlack);

  DrawingContext nothing(nullptr, nullptr); // a context on no device does nothing, and says nothing
  nothing.SetPenColor(RGB(1, 2, 3));
  nothing.DrawRectangle(VORRect(0, 0, 4, 4));
  nothing.BlendFillRect(VORRect(0, 0, 4, 4), 0, 128);
  EXPECT_EQ(g_reported.size(), 1u);
}

} // namespace
