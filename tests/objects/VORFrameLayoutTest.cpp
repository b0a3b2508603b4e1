#include <gtest/gtest.h>

#include "objects/VORFrame.h"
#include "objects/VORSimpleHotSpot.h"

namespace {

VORPlayerSimpleHotSpot *AddChild(VORPlayerFrame &frame, int32_t id, const VORRect &design) {
  auto *child =
      new VORPlayerSimpleHotSpot(VORObjectCode::MakeClassKey(VORSimpleHotSpot::kCategory, VORSimpleHotSpot::kCode), id);
  child->GetGraphicalProperties().layoutRect = design;
  child->SetRect(design);
  frame.InsertAfter(child, frame.GetChildCount() > 0 ? frame.ChildAt(frame.GetChildCount() - 1) : nullptr);
  return child;
}

// A frame designed at (100, 50, 200, 150) holding two children side by
// side, designed relative to the frame's corner; its guides derived as
// reading the record does, with the frame's corner in the bounds.
struct FrameOfTwo {
  VORPlayerFrame frame{VORObjectCode::MakeClassKey(VORFrame::kCategory, VORFrame::kCode), 1};
  VORPlayerSimpleHotSpot *left;
  VORPlayerSimpleHotSpot *right;

  FrameOfTwo() {
    frame.GetGraphicalProperties().layoutRect = VORRect(100, 50, 200, 150);
    left = AddChild(frame, 2, VORRect(10, 10, 50, 50));
    right = AddChild(frame, 3, VORRect(50, 10, 90, 90));
    frame.GetFrameLayout().SetBounds(frame.GetLayoutRect());
  }
};

TEST(VORFrameLayoutTest, AFrameMadeFromNothingHasNoPlaceUntilPlaced) {
  VORPlayerFrame frame(VORObjectCode::MakeClassKey(VORFrame::kCategory, VORFrame::kCode), 1);
  EXPECT_EQ(frame.GetRect(), VORRect(0, 0, -1, -1));
  EXPECT_TRUE(frame.AcceptsChild(VORObjectCode::MakeClassKey(1, 7)));
  EXPECT_FALSE(frame.AcceptsChild(VORObjectCode::MakeClassKey(4, 0))) << "a resource object";
}

TEST(VORFrameLayoutTest, MovedTheChildrenKeepTheirPlacesRelativeToTheFrame) {
  FrameOfTwo page;
  EXPECT_EQ(page.left->GetRect(), VORRect(110, 60, 150, 100)) << "placed by the bounds before any resize";
  page.frame.SetRect(VORRect(100, 50, 200, 150));
  EXPECT_EQ(page.left->GetRect(), VORRect(110, 60, 150, 100));
  EXPECT_EQ(page.right->GetRect(), VORRect(150, 60, 190, 140));
  page.frame.SetRect(VORRect(0, 0, 100, 100));
  EXPECT_EQ(page.left->GetRect(), VORRect(10, 10, 50, 50)) << "the frame's corner is the guides' origin";
  EXPECT_EQ(page.right->GetRect(), VORRect(50, 10, 90, 90));
}

TEST(VORFrameLayoutTest, ResizedTheChildrenShareTheNewSpaceAlongTheGuides) {
  FrameOfTwo page;
  page.frame.SetRect(VORRect(300, 200, 500, 400));
  const VORRect left = page.left->GetRect();
  const VORRect right = page.right->GetRect();
  EXPECT_EQ(left.left, 320);
  EXPECT_EQ(left.top, 220);
  EXPECT_EQ(left.right, right.left) << "the shared guide stays shared";
  EXPECT_EQ(right.right, 480) << "the gap to the frame's edge grows with it";
  EXPECT_EQ(right.bottom, 380);
  page.frame.SetRect(VORRect(100, 50, 200, 150));
  EXPECT_EQ(page.left->GetRect(), VORRect(110, 60, 150, 100)) << "back to the design size, back to the design";
  EXPECT_EQ(page.right->GetRect(), VORRect(150, 60, 190, 140));
}

} // namespace
