#include "display/CompositionOrder.h"

#include <gtest/gtest.h>

#include <vector>

#include "FakePaintable.h"

namespace {

constexpr VORRect kPage(0, 0, 640, 480);

struct Layer {
  VORRect rect;
  bool transparent;
};

// A page level built from the layers, bottom first; a null rectangle
// stands for an object that is not graphical.
class Page {
public:
  explicit Page(const std::vector<Layer> &layers) {
    int name = 0;
    for (const Layer &layer : layers) {
      if (layer.rect == VORRect::NotSet())
        m_level.InsertAfter(new FakeOtherObject(), nullptr);
      else
        m_level.InsertAfter(new FakePaintable(name, layer.rect, layer.transparent, nullptr), nullptr);
      ++name;
    }
  }
  VORRecursiveObjectContainer &Level() { return m_level; }

private:
  VORRecursiveObjectContainer m_level;
};

TEST(CompositionOrderTest, StartsFromTheTopmostOpaqueObjectThatHoldsTheWholeRectangle) {
  const VORRect dirty(100, 100, 200, 200);
  struct Case {
    const char *what;
    std::vector<Layer> layers;
    size_t start;
  } cases[] = {
      {"an opaque full-page background", {{kPage, false}, {{120, 120, 150, 150}, false}}, 0},
      {"a transparent top over an opaque background", {{kPage, false}, {{0, 0, 300, 300}, false}, {kPage, true}}, 1},
      {"only transparent objects", {{kPage, true}, {kPage, true}}, CompositionOrder::kClearFirst},
      {"an opaque object that misses a corner", {{kPage, false}, {{100, 100, 199, 200}, false}}, 0},
      {"an opaque object exactly the size of the rectangle", {{kPage, true}, {dirty, false}}, 1},
      {"no objects", {}, CompositionOrder::kClearFirst},
  };
  for (const Case &c : cases) {
    Page page(c.layers);
    const std::vector<VORPaintable *> objects = CompositionOrder::GraphicalChildren(page.Level());
    EXPECT_EQ(CompositionOrder::FindStart(objects, dirty), c.start) << c.what;
  }
}

TEST(CompositionOrderTest, ObjectsThatAreNotGraphicalAreLeftOut) {
  Page page({{VORRect::NotSet(), false}, {kPage, false}, {VORRect::NotSet(), false}, {kPage, true}});
  const std::vector<VORPaintable *> objects = CompositionOrder::GraphicalChildren(page.Level());
  ASSERT_EQ(objects.size(), 2u);
  EXPECT_FALSE(objects[0]->IsTransparent());
  EXPECT_TRUE(objects[1]->IsTransparent());
  EXPECT_EQ(CompositionOrder::FindStart(objects, VORRect(0, 0, 10, 10)), 0u);
}

} // namespace
