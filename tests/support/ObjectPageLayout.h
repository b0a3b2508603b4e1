#pragma once

#include <cstdint>
#include <vector>

#include "foundation/VORRect.h"

// The page of objects the painting benchmarks compose: a picture over the
// whole 1024 x 768 page, then a dozen overlapping pictures, some blended at
// half opacity, some with a key colour, some with a half-dark drop shadow.
// The pixel-loop benchmark and the timing program under the system both
// paint this page, so that their figures can be set side by side.
namespace ObjectPageLayout {

constexpr int32_t kWidth = 1024;
constexpr int32_t kHeight = 768;
constexpr int32_t kObjectWidth = 260;
constexpr int32_t kObjectHeight = 200;
constexpr int32_t kShadowX = 8;
constexpr int32_t kShadowY = 6;
constexpr uint16_t kHalfOpacity = 128;
// The blend level of half opacity: (255 - 128) x 255 / 256.
constexpr int32_t kHalfLevel = 126;
constexpr int32_t kShadowLevel = 128;

struct PlacedObject {
  VORRect rect;
  bool blended;
  bool keyed;
  bool shadowed;
};

// In painting order, bottom first; the background is not among them.
inline std::vector<PlacedObject> Objects() {
  // Four columns 200 apart and three rows 220 apart: neighbours overlap by
  // 60 pixels across.
  struct Kind {
    bool blended, keyed, shadowed;
  };
  const Kind kinds[12] = {
      {false, false, false}, {true, false, false}, {false, true, false},  {false, false, true},
      {true, false, true},   {true, true, false},  {false, false, false}, {false, true, true},
      {true, false, false},  {false, false, true}, {false, true, false},  {true, false, false},
  };
  std::vector<PlacedObject> objects;
  for (int32_t i = 0; i < 12; ++i) {
    const int32_t left = 40 + (i % 4) * 200;
    const int32_t top = 40 + (i / 4) * 220;
    objects.push_back({VORRect(left, top, left + kObjectWidth, top + kObjectHeight), kinds[i].blended, kinds[i].keyed,
                       kinds[i].shadowed});
  }
  return objects;
}

} // namespace ObjectPageLayout
