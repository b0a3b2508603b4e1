#include "objects/VORHotSpot.h"

VORHotSpot::~VORHotSpot() = default;

VORHotSpot::VORHotSpotProperties &VORHotSpot::GetHotSpotProperties() {
  return static_cast<VORHotSpotProperties &>(GetGraphicalProperties());
}

bool VORHotSpot::HitTest(int32_t x, int32_t y) { return GetRect().Contains(x, y); }
