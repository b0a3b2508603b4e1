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

void UpdateLevelDrawFlags(const std::vector<VORPaintable *> &objects) {
  // The moving flag that the whole level takes when one object needs a
  // surface of its own.
  constexpr uint16_t kMoves = 0x0008;
  bool levelNeedsSurfaces = false;
  for (VORPaintable *object : objects) {
    object->ResetDrawFlags();
    object->UpdateDrawFlags();
    object->UpdateChildDrawFlags();
    levelNeedsSurfaces = levelNeedsSurfaces || object->NeedsOwnSurface();
  }
  if (!levelNeedsSurfaces)
    return;
  for (VORPaintable *object : objects)
    object->AddDrawFlags(kMoves);
}

void RebuildLevelSurfaces(const std::vector<VORPaintable *> &objects) {
  for (VORPaintable *object : objects)
    object->RebuildSurfaces();
}

void PrepareLevel(const VORRecursiveObjectContainer &level) {
  const std::vector<VORPaintable *> objects = GraphicalChildren(level);
  UpdateLevelDrawFlags(objects);
  RebuildLevelSurfaces(objects);
}

} // namespace CompositionOrder
