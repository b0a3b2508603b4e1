#include "display/VORDrawingSurface.h"

#include <gtest/gtest.h>

#include <vector>

#include "display/VORObjectSurface.h"

namespace {

// Records what it is asked to redraw; optionally makes a rectangle dirty
// while it redraws, as an object that invalidates itself while painting.
class RecordingSurface : public VORObjectSurface {
public:
  explicit RecordingSurface(VORDrawingSurface *owner = nullptr) : VORObjectSurface(owner) {}

  DrawingContext *GetDrawingContext() override { return nullptr; }
  int32_t GetBitsPerPixel() override { return 24; }
  void LockPixels(void **bits, void **maskBits, BitmapInfoHeader **info, VORRect &) override {
    *bits = *maskBits = nullptr;
    *info = nullptr;
  }
  void LockMaskPixels(void **maskBits, BitmapInfoHeader **info, VORRect &) override {
    *maskBits = nullptr;
    *info = nullptr;
  }
  void UnlockPixels(bool) override {}
  void CopyToContext(const VORRect &, const VORRect &, DrawingContext *, DrawingContext *, int32_t) override {}
  void RedrawRect(const VORRect &rect) override {
    redrawn.push_back(rect);
    if (dirtyWhileRedrawing) {
      dirtyWhileRedrawing = false;
      AddDirtyRect(VORRect(0, 0, 5, 5));
    }
  }

  std::vector<VORRect> redrawn;
  bool dirtyWhileRedrawing = false;
};

TEST(VORDrawingSurfaceTest, DirtyRectanglesMergeIntoTheMostRecentOneTheyOverlap) {
  struct Case {
    const char *what;
    std::vector<VORRect> added;
    std::vector<VORRect> dirty;
  } cases[] = {
      {"two overlapping become one", {{0, 0, 10, 10}, {5, 5, 20, 20}}, {{0, 0, 20, 20}}},
      {"a third overlapping neither stays apart",
       {{0, 0, 10, 10}, {5, 5, 20, 20}, {50, 50, 60, 60}},
       {{0, 0, 20, 20}, {50, 50, 60, 60}}},
      {"touching edges do not overlap", {{0, 0, 10, 10}, {10, 0, 20, 10}}, {{0, 0, 10, 10}, {10, 0, 20, 10}}},
      {"overlapping two merges only into the newer",
       {{0, 0, 10, 10}, {20, 0, 30, 10}, {5, 0, 25, 10}},
       {{0, 0, 10, 10}, {5, 0, 30, 10}}},
      {"a grown rectangle is not merged further",
       {{0, 0, 10, 10}, {20, 0, 30, 10}, {25, 0, 40, 10}, {8, 0, 22, 10}},
       {{0, 0, 10, 10}, {8, 0, 40, 10}}},
  };
  for (const Case &c : cases) {
    RecordingSurface surface;
    for (const VORRect &rect : c.added)
      surface.AddDirtyRect(rect);
    EXPECT_EQ(surface.GetDirtyRects(), c.dirty) << c.what;
  }
}

TEST(VORDrawingSurfaceTest, FlushRedrawsOldestFirstAndDropsRectanglesOutsideTheBounds) {
  RecordingSurface surface;
  surface.SetBounds(VORRect(0, 0, 100, 100));
  surface.AddDirtyRect(VORRect(10, 10, 20, 20));
  surface.AddDirtyRect(VORRect(200, 200, 210, 210)); // outside
  surface.AddDirtyRect(VORRect(90, 90, 150, 150));   // partly inside: redrawn whole
  surface.FlushDirtyRects();
  EXPECT_EQ(surface.redrawn, (std::vector<VORRect>{{10, 10, 20, 20}, {90, 90, 150, 150}}));
  EXPECT_FALSE(surface.HasDirtyRects());
}

TEST(VORDrawingSurfaceTest, RectanglesMadeDirtyWhileFlushingWaitForTheNextFlush) {
  RecordingSurface surface;
  surface.SetBounds(VORRect(0, 0, 100, 100));
  surface.dirtyWhileRedrawing = true;
  surface.AddDirtyRect(VORRect(1, 1, 3, 3)); // overlaps what the redraw adds
  surface.AddDirtyRect(VORRect(40, 40, 50, 50));
  surface.FlushDirtyRects();
  EXPECT_EQ(surface.redrawn, (std::vector<VORRect>{{1, 1, 3, 3}, {40, 40, 50, 50}}));
  EXPECT_EQ(surface.GetDirtyRects(), (std::vector<VORRect>{{0, 0, 5, 5}}));
  surface.FlushDirtyRects();
  EXPECT_EQ(surface.redrawn.back(), VORRect(0, 0, 5, 5));
  EXPECT_FALSE(surface.HasDirtyRects());
}

TEST(VORDrawingSurfaceTest, InvalidateAllAndMovingTheOriginUseTheBounds) {
  RecordingSurface surface;
  surface.SetBounds(VORRect(10, 20, 110, 70));
  surface.InvalidateAll();
  EXPECT_EQ(surface.GetDirtyRects(), (std::vector<VORRect>{{10, 20, 110, 70}}));
  surface.MoveOrigin(-5, 0, false);
  EXPECT_EQ(surface.GetSurfaceBounds(), VORRect(-5, 0, 95, 50));
  EXPECT_EQ(surface.GetOrigin(), (VORPoint{-5, 0}));
}

TEST(VORObjectSurfaceTest, DirtyRectanglesReachTheOwnerToo) {
  RecordingSurface owner;
  RecordingSurface surface(&owner);
  surface.SetBounds(VORRect(0, 0, 30, 30));
  surface.AddDirtyRect(VORRect(1, 1, 2, 2));
  EXPECT_EQ(surface.GetDirtyRects(), (std::vector<VORRect>{{1, 1, 2, 2}}));
  EXPECT_EQ(owner.GetDirtyRects(), (std::vector<VORRect>{{1, 1, 2, 2}}));

  surface.NotifyOwner(VORRect(50, 50, 60, 60));
  EXPECT_EQ(surface.GetDirtyRects().size(), 1u) << "only the owner is told";
  EXPECT_EQ(owner.GetDirtyRects().back(), VORRect(50, 50, 60, 60));

  surface.InvalidateAll();
  EXPECT_EQ(surface.GetDirtyRects(), (std::vector<VORRect>{{0, 0, 30, 30}}));
  EXPECT_EQ(owner.GetDirtyRects(), (std::vector<VORRect>{{0, 0, 30, 30}, {50, 50, 60, 60}}));
}

} // namespace
