#include "display/VORBitmapObjectSurface.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "ErrorRecorder.h"
#include "FakePaintable.h"
#include "FakeView.h"
#include "GdiCanvas.h"
#include "ScopedDisplaySettings.h"
#include "SurfacePixels.h"
#include "display/DrawingContext.h"
#include "display/MaskBitmap.h"
#include "display/Palette.h"
#include "display/SurfaceBitmapPool.h"
#include "display/VORBitmapGraphicalObjectSurface.h"

namespace {

constexpr uint32_t kReadBlack = 0x000000;
constexpr uint32_t kReadRed = 0xFF0000;
constexpr uint32_t kReadBlue = 0x0000FF;

// A bitmap surface that redraws nothing itself.
class TestSurface : public VORBitmapObjectSurface {
public:
  using VORBitmapObjectSurface::VORBitmapObjectSurface;
  void RedrawRect(const VORRect &) override {}
};

VORBitmapObjectSurface::Params SurfaceParams(VORRect rect, bool dib, bool mask, VORDrawingSurface *owner = nullptr,
                                             VORView *parent = nullptr) {
  VORBitmapObjectSurface::Params params;
  params.rect = rect;
  params.dib = dib;
  params.mask = mask;
  params.owner = owner;
  params.parentView = parent;
  return params;
}

void FillRect(DrawingContext &context, const VORRect &rect, COLORREF colour) {
  context.SetPenColor(colour);
  context.SetBrushColor(colour);
  context.DrawRectangle(rect);
  context.DeletePen();
  context.DeleteBrush();
}

TEST(VORBitmapObjectSurfaceTest, ANewSurfaceIsBlackAndDrawingMarksItsMaskWhite) {
  for (bool dib : {false, true}) {
    SCOPED_TRACE(dib ? "DIB section" : "compatible bitmap");
    // Page coordinates: the surface lies at (100, 50).
    TestSurface surface(SurfaceParams(VORRect(100, 50, 116, 66), dib, true));
    ASSERT_TRUE(surface.HasBitmap());
    EXPECT_EQ(surface.IsDib(), dib);
    EXPECT_EQ(SurfacePixel(surface, 108, 58), kReadBlack);
    EXPECT_FALSE(SurfaceMaskBit(surface, 108, 58));

    DrawingContext *context = surface.GetDrawingContext();
    ASSERT_NE(context, nullptr);
    FillRect(*context, VORRect(102, 52, 106, 56), RGB(255, 0, 0));
    EXPECT_EQ(SurfacePixel(surface, 103, 53), kReadRed);
    EXPECT_TRUE(SurfaceMaskBit(surface, 103, 53));
    EXPECT_EQ(SurfacePixel(surface, 110, 60), kReadBlack);
    EXPECT_FALSE(SurfaceMaskBit(surface, 110, 60));

    // Copied through its mask: only what was drawn reaches the target.
    GdiCanvas target(16, 16, 32);
    target.Fill(RGB(0, 0, 255));
    DrawingContext targetContext(target.dc(), nullptr);
    surface.CopyToContext(VORRect(100, 50, 116, 66), VORRect(0, 0, 16, 16), nullptr, &targetContext, 0);
    EXPECT_EQ(target.Pixel(3, 3), kReadRed);
    EXPECT_EQ(target.Pixel(10, 10), kReadBlue);
  }
}

HBITMAP BitmapOf(VORBitmapObjectSurface &surface) {
  DrawingContext *context = surface.GetDrawingContext();
  HBITMAP bitmap =
      context != nullptr ? static_cast<HBITMAP>(::GetCurrentObject(context->GetDC(), OBJ_BITMAP)) : nullptr;
  surface.ReleaseContexts();
  return bitmap;
}

// A surface made after one of its format went takes that one's bitmap (and
// mask), black and clear again as a new one; a surface of another format
// makes its own. What the next page did not take goes with the trim.
TEST(VORBitmapObjectSurfaceTest, ASurfaceTakesTheBitmapOfOneOfItsFormatThatWent) {
  const VORRect rect(10, 20, 34, 33);
  for (bool dib : {false, true}) {
    SCOPED_TRACE(dib ? "DIB section" : "compatible bitmap");
    SurfaceBitmapPool::Trim();
    HBITMAP first = nullptr;
    {
      TestSurface gone(SurfaceParams(rect, dib, true));
      FillRect(*gone.GetDrawingContext(), rect, RGB(255, 0, 0));
      EXPECT_EQ(SurfacePixel(gone, 15, 25), kReadRed);
      first = BitmapOf(gone);
      ASSERT_NE(first, nullptr);
    }
    EXPECT_EQ(SurfaceBitmapPool::KeptCount(), 2u); // the pixels and the mask
    TestSurface next(SurfaceParams(rect.Offset(100, 0), dib, true));
    EXPECT_EQ(BitmapOf(next), first);
    EXPECT_EQ(SurfaceBitmapPool::KeptCount(), 0u);
    EXPECT_EQ(SurfacePixel(next, 115, 25), kReadBlack);
    EXPECT_FALSE(SurfaceMaskBit(next, 115, 25));
    {
      TestSurface other(SurfaceParams(VORRect(0, 0, 24, 14), dib, true));
      EXPECT_NE(BitmapOf(other), BitmapOf(next));
    }
    EXPECT_EQ(SurfaceBitmapPool::KeptCount(), 2u);
    SurfaceBitmapPool::Trim();
    EXPECT_EQ(SurfaceBitmapPool::KeptCount(), 0u);
    EXPECT_EQ(SurfaceBitmapPool::KeptBytes(), 0u);
  }
  SurfaceBitmapPool::Trim();
}

// An 8-bit surface is black when it starts, whether or not the colour table's
// first entry is black.
TEST(VORBitmapObjectSurfaceTest, AnEightBitSurfaceStartsBlackWhateverItsFirstColour) {
  ScopedDisplaySettings keep;
  SurfaceBitmapPool::Trim();
  std::vector<RgbQuad> colours(Palette::Default().GetEntries(), Palette::Default().GetEntries() + 256);
  std::swap(colours[0], colours[255]); // white first, black last
  Palette whiteFirst(colours.data(), 256);
  GdiCanvas window(4, 4, 32);
  FakeView view(window, VORRect(0, 0, 4, 4));
  view.depth = 8; // a palette screen's view on a true-colour screen: the surface is an 8-bit DIB
  for (Palette *palette : {&Palette::Default(), &whiteFirst}) {
    GetDisplaySettings().applicationPalette = palette;
    TestSurface surface(SurfaceParams(VORRect(0, 0, 9, 5), true, false, nullptr, &view));
    ASSERT_TRUE(surface.IsDib());
    ASSERT_EQ(surface.GetBitsPerPixel(), 8);
    EXPECT_EQ(SurfacePixel(surface, 4, 2), kReadBlack) << (palette == &whiteFirst ? "white first" : "default");
  }
  SurfaceBitmapPool::Trim();
}

TEST(VORBitmapObjectSurfaceTest, AnEightBitSurfaceWithoutApplicationPaletteTakesTheDefaultColours) {
  ScopedDisplaySettings keep;
  GetDisplaySettings().applicationPalette = nullptr;
  GdiCanvas window(4, 4, 32);
  FakeView view(window, VORRect(0, 0, 4, 4));
  view.depth = 8; // a palette screen's view on a true-colour screen: the surface is an 8-bit DIB
  TestSurface surface(SurfaceParams(VORRect(0, 0, 8, 8), false, false, nullptr, &view));
  ASSERT_TRUE(surface.IsDib());
  ASSERT_EQ(surface.GetBitsPerPixel(), 8);
  FillRect(*surface.GetDrawingContext(), VORRect(0, 0, 4, 4), RGB(255, 0, 0));
  EXPECT_EQ(SurfacePixel(surface, 1, 1), kReadRed);
  EXPECT_EQ(SurfacePixel(surface, 6, 6), kReadBlack);
}

TEST(VORBitmapObjectSurfaceTest, ASurfaceTooLargeToMakeIsReportedAndGivesNoPixels) {
  for (bool dib : {false, true}) {
    SCOPED_TRACE(dib ? "DIB section" : "compatible bitmap");
    ErrorRecorder errors;
    // A rectangle from a file: 100000 x 100000 pixels.
    TestSurface surface(SurfaceParams(VORRect(0, 0, 100000, 100000), dib, true));
    EXPECT_EQ(errors.Codes(), std::vector<int32_t>{kErrorBitmapNotCreated});
    EXPECT_FALSE(surface.HasBitmap());
    EXPECT_EQ(surface.GetDrawingContext(), nullptr);
    void *bits = &surface, *maskBits = &surface;
    BitmapInfoHeader *info = reinterpret_cast<BitmapInfoHeader *>(&surface);
    VORRect rect(0, 0, 10, 10);
    surface.LockPixels(&bits, &maskBits, &info, rect);
    EXPECT_EQ(bits, nullptr);
    EXPECT_EQ(maskBits, nullptr);
    EXPECT_EQ(info, nullptr);
    surface.UnlockPixels(true);
    // Copying it out is a no-operation, not a crash.
    GdiCanvas target(4, 4, 32);
    DrawingContext targetContext(target.dc(), nullptr);
    surface.CopyToContext(VORRect(0, 0, 4, 4), VORRect(0, 0, 4, 4), nullptr, &targetContext, 128);
  }
}

TEST(VORBitmapObjectSurfaceTest, LockingACompatibleBitmapStagesTheRectangleWithinTheBounds) {
  TestSurface surface(SurfaceParams(VORRect(10, 10, 30, 30), false, false));
  ASSERT_FALSE(surface.IsDib());
  ASSERT_NE(surface.GetDrawingContext(), nullptr);
  void *bits = nullptr, *maskBits = nullptr;
  BitmapInfoHeader *info = nullptr;
  VORRect rect(0, 0, 20, 20);
  surface.LockPixels(&bits, &maskBits, &info, rect);
  ASSERT_NE(bits, nullptr);
  EXPECT_EQ(rect, VORRect(10, 10, 20, 20));
  EXPECT_EQ(info->biBitCount, 24);
  EXPECT_EQ(maskBits, nullptr);
  // Paint the staged block blue and copy it back.
  const size_t stride = (static_cast<size_t>(info->biWidth) * 3 + 3) & ~static_cast<size_t>(3);
  for (int32_t y = 0; y < -info->biHeight; ++y)
    for (int32_t x = 0; x < info->biWidth; ++x)
      static_cast<uint8_t *>(bits)[y * stride + static_cast<size_t>(x) * 3] = 0xFF;
  surface.UnlockPixels(true);
  EXPECT_EQ(SurfacePixel(surface, 15, 15), kReadBlue);
  EXPECT_EQ(SurfacePixel(surface, 25, 25), kReadBlack);

  // Outside the bounds: nothing to give.
  rect = VORRect(40, 40, 50, 50);
  surface.LockPixels(&bits, &maskBits, &info, rect);
  EXPECT_EQ(bits, nullptr);
  surface.UnlockPixels(true);
}

TEST(VORBitmapObjectSurfaceTest, MovingTheOriginTellsTheOwnerBothPlacesAndMovesTheDrawing) {
  TestSurface owner(SurfaceParams(VORRect(0, 0, 100, 100), true, false));
  owner.FlushDirtyRects();
  TestSurface surface(SurfaceParams(VORRect(0, 0, 10, 10), true, false, &owner));
  surface.FlushDirtyRects();
  owner.FlushDirtyRects();
  ASSERT_NE(surface.GetDrawingContext(), nullptr);
  surface.MoveOrigin(50, 50, true);
  EXPECT_EQ(surface.GetSurfaceBounds(), VORRect(50, 50, 60, 60));
  EXPECT_EQ(owner.GetDirtyRects(), (std::vector<VORRect>{{0, 0, 10, 10}, {50, 50, 60, 60}}));
  EXPECT_FALSE(surface.HasDirtyRects()) << "a move redraws nothing in the surface";
  FillRect(*surface.GetDrawingContext(), VORRect(50, 50, 52, 52), RGB(255, 0, 0));
  EXPECT_EQ(SurfacePixel(surface, 51, 51), kReadRed);
}

TEST(VORBitmapObjectSurfaceTest, NewBoundsMakeTheBitmapAgain) {
  TestSurface surface(SurfaceParams(VORRect(0, 0, 10, 10), true, false));
  FillRect(*surface.GetDrawingContext(), VORRect(0, 0, 10, 10), RGB(255, 0, 0));
  surface.FlushDirtyRects();
  surface.SetBounds(VORRect(0, 0, 10, 10));
  EXPECT_EQ(SurfacePixel(surface, 5, 5), kReadRed) << "unchanged bounds keep the picture";
  EXPECT_FALSE(surface.HasDirtyRects());
  surface.SetBounds(VORRect(0, 0, 20, 5));
  EXPECT_EQ(SurfacePixel(surface, 5, 2), kReadBlack);
  EXPECT_EQ(SurfacePixel(surface, 15, 2), kReadBlack);
  EXPECT_EQ(surface.GetDirtyRects(), (std::vector<VORRect>{{0, 0, 20, 5}}));
}

TEST(VORBitmapObjectSurfaceTest, BoundsNotYetGivenMakeOnePixel) {
  TestSurface surface(SurfaceParams(VORRect::NotSet(), true, false));
  EXPECT_EQ(surface.GetSurfaceBounds(), VORRect(0, 0, 1, 1));
  EXPECT_TRUE(surface.HasBitmap());
}

TEST(VORBitmapGraphicalObjectSurfaceTest, TheObjectDrawsItselfIntoItsSurface) {
  std::vector<int> log;
  FakePaintable object(7, VORRect(20, 20, 30, 30), true, &log);
  object.colour = RGB(255, 0, 0);
  TestSurface owner(SurfaceParams(VORRect(0, 0, 100, 100), true, false));
  VORBitmapGraphicalObjectSurface surface(&object, true, false, nullptr, 24, false, &owner);
  EXPECT_TRUE(surface.IsDib());
  EXPECT_EQ(surface.GetSurfaceBounds(), VORRect(20, 20, 30, 30));
  surface.FlushDirtyRects();
  EXPECT_EQ(log, std::vector<int>{7});
  EXPECT_EQ(SurfacePixel(surface, 25, 25), kReadRed);
  EXPECT_TRUE(SurfaceMaskBit(surface, 25, 25));
}

TEST(VORBitmapGraphicalObjectSurfaceTest, AnObjectThatDrawsItselfOutWidensWhatItsOwnerRedraws) {
  FakePaintable object(1, VORRect(0, 0, 10, 10), true, nullptr);
  object.shadowRight = 5;
  TestSurface owner(SurfaceParams(VORRect(0, 0, 100, 100), true, false));
  VORBitmapGraphicalObjectSurface plain(&object, false, true, nullptr, 24, false, &owner);
  VORBitmapGraphicalObjectSurface shadowed(&object, false, true, nullptr, 24, true, &owner);
  owner.FlushDirtyRects();
  plain.NotifyOwner(VORRect(0, 0, 10, 10));
  EXPECT_EQ(owner.GetDirtyRects(), (std::vector<VORRect>{{0, 0, 10, 10}}));
  owner.FlushDirtyRects();
  shadowed.NotifyOwner(VORRect(0, 0, 10, 10));
  EXPECT_EQ(owner.GetDirtyRects(), (std::vector<VORRect>{{0, 0, 15, 10}}));
}

TEST(VORBitmapGraphicalObjectSurfaceTest, BoundsAreCutToTwiceTheOwnersSize) {
  FakePaintable object(1, VORRect(10, 0, 310, 50), true, nullptr);
  TestSurface owner(SurfaceParams(VORRect(0, 0, 100, 40), true, false));
  VORBitmapGraphicalObjectSurface surface(&object, false, true, nullptr, 24, false, &owner);
  EXPECT_EQ(surface.GetBounds(), VORRect(10, 0, 210, 50));
}

TEST(MaskBitmapTest, ShapesDrawWhiteIntoTheMaskOnly) {
  MaskBitmap mask(16, 16);
  ASSERT_NE(mask.GetBitmap(), nullptr);
  EXPECT_EQ(::GetPixel(mask.GetDC(), 8, 8) & 0xFFFFFF, 0u);
  DrawingContext *context = mask.GetDrawingContext();
  ASSERT_NE(context, nullptr);
  EXPECT_EQ(context->GetDC(), nullptr);
  context->SetMaskBrush(true);
  context->SetMaskPen(true, 1, PS_SOLID);
  context->DrawEllipse(VORRect(0, 0, 16, 16));
  EXPECT_EQ(::GetPixel(mask.GetDC(), 8, 8) & 0xFFFFFF, 0xFFFFFFu);
  EXPECT_EQ(::GetPixel(mask.GetDC(), 0, 0) & 0xFFFFFF, 0u);
}

} // namespace
