#include <gtest/gtest.h>

#include <memory>

#include "PaintedPage.h"
#include "display/SurfacePixels.h"
#include "model/VORGraphicalObjectContainerManager.h"
#include "model/VORPageInstance.h"
#include "model/VORPlayerPage.h"
#include "objects/VORBackground.h"
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
  // It keeps every page object its record names, whether it lays it out
  // or not.
  EXPECT_TRUE(frame.AcceptsChild(VORObjectCode::MakeClassKey(1, 7)));
  EXPECT_TRUE(frame.AcceptsChild(VORObjectCode::MakeClassKey(4, 0))) << "a resource object";
  EXPECT_TRUE(frame.AcceptsChild(VORObjectCode::MakeClassKey(2, 0))) << "a wave object";
  EXPECT_TRUE(frame.AcceptsChild(VORObjectCode::MakeClassKey(0, 9))) << "an animation controller";
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

// Only moved, the frame carries each child by its own displacement and
// asks no guide: a child put elsewhere in the frame stays where it was
// put, relative to the frame.
TEST(VORFrameLayoutTest, MovedTheFrameCarriesEachChildFromWhereItStands) {
  FrameOfTwo page;
  page.frame.SetRect(VORRect(100, 50, 200, 150));
  const uint32_t passes = page.frame.GetFrameLayout().GetPassCount();
  page.left->SetRect(VORRect(105, 55, 145, 95));
  page.frame.SetRect(VORRect(130, 70, 230, 170));
  EXPECT_EQ(page.left->GetRect(), VORRect(135, 75, 175, 115)) << "moved from where it was put";
  EXPECT_EQ(page.right->GetRect(), VORRect(180, 80, 220, 160));
  EXPECT_EQ(page.frame.GetFrameLayout().GetPassCount(), passes) << "no layout pass for a move";
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

// A child whose height follows its width, as a text's does: at any width
// its content needs 80 pixels.
class GrowingChild : public VORPlayerSimpleHotSpot {
public:
  GrowingChild(int32_t id, const VORRect &design)
      : VORPlayerSimpleHotSpot(VORObjectCode::MakeClassKey(VORSimpleHotSpot::kCategory, VORSimpleHotSpot::kCode), id) {
    GetGraphicalProperties().layoutRect = design;
  }
  bool FitsHeightToWidth() override { return true; }
  int32_t GetContentHeight(int32_t /*width*/) override { return 80; }
};

// A frame holding a text-like child is text-like on its page: it takes the
// height its content needs (the child's 80 pixels and the 20 below it), and
// the page's guides below the frame move down with it.
TEST(VORFrameLayoutTest, AFrameHoldingAGrowingChildGrowsWithItOnItsPage) {
  VORPlayerPage page(VORPlayerPage::kClassKey, 1);
  VORPageInstance &instance = page.GetMasterInstance();
  auto *frame = new VORPlayerFrame(VORObjectCode::MakeClassKey(VORFrame::kCategory, VORFrame::kCode), 1);
  frame->GetGraphicalProperties().layoutRect = VORRect(10, 10, 110, 60);
  auto *growing = new GrowingChild(2, VORRect(0, 0, 100, 30));
  frame->InsertAfter(growing, nullptr);
  frame->GetFrameLayout().SetBounds(frame->GetLayoutRect());
  instance.InsertAfter(frame, nullptr);
  auto *below =
      new VORPlayerSimpleHotSpot(VORObjectCode::MakeClassKey(VORSimpleHotSpot::kCategory, VORSimpleHotSpot::kCode), 3);
  below->GetGraphicalProperties().layoutRect = VORRect(10, 70, 110, 90);
  below->GetGraphicalProperties().verticalSizing = 0;
  instance.InsertAfter(below, frame);
  EXPECT_TRUE(frame->FitsHeightToWidth());
  EXPECT_EQ(frame->GetContentHeight(100), 100);

  VORGraphicalObjectContainerManager layout(instance);
  layout.SetBounds(VORRect(0, 0, 200, 100));
  layout.Resize(VORRect(0, 0, 200, 100));
  EXPECT_EQ(frame->GetRect(), VORRect(10, 10, 110, 110));
  EXPECT_EQ(growing->GetRect(), VORRect(10, 10, 110, 90));
  EXPECT_EQ(below->GetRect(), VORRect(10, 120, 110, 140)) << "pushed down by the frame's growth";
}

// A frame stretches with its page where its sizing mode lets it and its
// content can take the extra space.
TEST(VORFrameLayoutTest, AFrameStretchesAsItsContentDoes) {
  FrameOfTwo stretching;
  EXPECT_TRUE(stretching.frame.StretchesHorizontally());
  EXPECT_TRUE(stretching.frame.StretchesVertically());
  stretching.frame.GetGraphicalProperties().horizontalSizing = 0;
  EXPECT_FALSE(stretching.frame.StretchesHorizontally()) << "its sizing mode keeps it";
  EXPECT_FALSE(stretching.frame.FitsHeightToWidth());

  // One fixed child over the whole frame leaves no space to share.
  VORPlayerFrame fixed(VORObjectCode::MakeClassKey(VORFrame::kCategory, VORFrame::kCode), 1);
  fixed.GetGraphicalProperties().layoutRect = VORRect(0, 0, 100, 50);
  VORPlayerSimpleHotSpot *child = AddChild(fixed, 2, VORRect(0, 0, 100, 50));
  child->GetGraphicalProperties().horizontalSizing = 0;
  child->GetGraphicalProperties().verticalSizing = 0;
  fixed.GetFrameLayout().SetBounds(fixed.GetLayoutRect());
  EXPECT_FALSE(fixed.StretchesHorizontally());
  EXPECT_FALSE(fixed.StretchesVertically());
}

// ---- Painting -----------------------------------------------------------------

constexpr uint32_t kPageFill = 0x204060;
constexpr uint32_t kLeftHalf = 0xC08020;
constexpr uint32_t kRightHalf = 0x20C080;
constexpr uint32_t kWhite = 0xFFFFFF;

// Colours are written 0xRRGGBB, as the surface reads them.
uint32_t ColourRef(uint32_t rgb) { return (rgb >> 16 & 0xFF) | (rgb & 0xFF00) | (rgb & 0xFF) << 16; }

VORPlayerBackground *Filled(int32_t id, const VORRect &rect, uint32_t rgb) {
  auto *object =
      new VORPlayerBackground(VORObjectCode::MakeClassKey(VORBackground::kCategory, VORBackground::kCode), id);
  object->GetGraphicalProperties().layoutRect = rect;
  object->SetRect(rect);
  object->GetBackgroundProperties().fillKind = VORBackground::kSolid;
  object->GetBackgroundProperties().colour1 = ColourRef(rgb);
  return object;
}

void Append(VORRecursiveObjectContainer &level, VORRecursiveObjectContainer *object) {
  level.InsertAfter(object, level.GetChildCount() > 0 ? level.ChildAt(level.GetChildCount() - 1) : nullptr);
}

// A 200 x 100 page whose frame at (40, 20, 160, 80) holds two filled
// halves; under it, or not, an opaque fill of the whole page; beside it, or
// not, a draggable object (so that every object of the page keeps a surface
// of its own).
TEST(VORFramePaintTest, TheFramesChildrenShowWhateverLiesUnderTheFrame) {
  const struct Case {
    const char *name;
    bool opaqueUnder;
    bool draggableBeside;
  } cases[] = {
      {"nothing under", false, false},
      {"an opaque fill under", true, false},
      {"nothing under, a draggable beside", false, true},
      {"an opaque fill under, a draggable beside", true, true},
  };
  const VORRect kPage(0, 0, 200, 100);
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    BufferView view(24, kPage);
    VORPlayerPage page(VORPlayerPage::kClassKey, 1);
    VORPageInstance &instance = page.GetMasterInstance();
    if (c.opaqueUnder)
      Append(instance, Filled(1, kPage, kPageFill));
    auto *frame = new VORPlayerFrame(VORObjectCode::MakeClassKey(VORFrame::kCategory, VORFrame::kCode), 2);
    frame->GetGraphicalProperties().layoutRect = VORRect(40, 20, 160, 80);
    Append(*frame, Filled(3, VORRect(0, 0, 60, 60), kLeftHalf));
    Append(*frame, Filled(4, VORRect(60, 0, 120, 60), kRightHalf));
    frame->GetFrameLayout().SetBounds(frame->GetLayoutRect());
    frame->SetRect(frame->GetLayoutRect());
    Append(instance, frame);
    if (c.draggableBeside) {
      VORPlayerBackground *draggable = Filled(5, VORRect(170, 10, 190, 30), kLeftHalf);
      draggable->GetGraphicalProperties().draggable = 1;
      Append(instance, draggable);
    }
    view.buffer = std::make_unique<VORScreenBuffer>(&view, kPage);
    view.page = &instance;
    instance.Show(view);
    VORGraphicalObject::UpdatePageDrawFlags(instance);
    VORGraphicalObject::RebuildPageObjectSurfaces(instance);
    view.buffer->FlushDirtyRects();
    EXPECT_EQ(SurfacePixel(*view.buffer, 70, 50), kLeftHalf);
    EXPECT_EQ(SurfacePixel(*view.buffer, 130, 50), kRightHalf);
    EXPECT_EQ(SurfacePixel(*view.buffer, 10, 50), c.opaqueUnder ? kPageFill : kWhite);
    // Painted again, as a hover or a drag elsewhere makes it.
    view.buffer->AddDirtyRect(kPage);
    view.buffer->FlushDirtyRects();
    EXPECT_EQ(SurfacePixel(*view.buffer, 70, 50), kLeftHalf) << "repainted";
    instance.Hide();
  }
}

} // namespace
