#include "display/CompositionOrder.h"

#include "display/VORPaintable.h"
#include "model/VORRecursiveObjectContainer.h"

namespace CompositionOrder {

std::vector<VORPaintable *> GraphicalChildren(const VORRecursiveObjectContainer &level) {
  std::vector<VORPaintable *> objects;
  const uint32_t count = level.GetChildCount();
  objects.reserve(count);
  for (uint32_t i = 0; i < count; ++i) {
    if (auto *object = dynamic_cast<VORPaintable *>(level.ChildAt(i))) {
      objects.push_back(object);
    }
  }
  return objects;
}

size_t FindStart(const std::vector<VORPaintable *> &objects, const VORRect &rect) {
  for (size_t i = objects.size(); i-- > 0;) {
    if (!objects[i]->IsTransparent() && objects[i]->GetScreenRect().Holds(rect)) {
      return i;
    }
  }
  return kClearFirst;
}

} // namespace CompositionOrder
