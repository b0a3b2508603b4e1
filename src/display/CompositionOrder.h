#pragma once

#include <cstddef>
#include <vector>

#include "foundation/VORRect.h"

class VORPaintable;
class VORRecursiveObjectContainer;

// The order in which one level of page objects is painted into a dirty
// rectangle: bottom to top, but starting from the topmost opaque object that
// covers the whole rectangle, since nothing below it can show.
namespace CompositionOrder {

// Where painting starts, or kClearFirst when no object covers the
// rectangle: then the rectangle is cleared and every object paints.
constexpr size_t kClearFirst = static_cast<size_t>(-1);

// The direct children that are graphical objects, bottom first.
std::vector<VORPaintable *> GraphicalChildren(const VORRecursiveObjectContainer &level);
size_t FindStart(const std::vector<VORPaintable *> &objects, const VORRect &rect);

// Before a page is composed: every object of the level resets and derives
// its draw flags, then those of its children; when one object of the level
// needs a surface of its own, they all get the moving flag, so that the
// others are not drawn into a surface that moves under them.
void UpdateLevelDrawFlags(const std::vector<VORPaintable *> &objects);
// Then every object of the level builds its surfaces.
void RebuildLevelSurfaces(const std::vector<VORPaintable *> &objects);
// Both, for the page's own level.
void PrepareLevel(const VORRecursiveObjectContainer &level);

} // namespace CompositionOrder
