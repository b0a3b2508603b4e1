#pragma once

#include <cstdint>

// The rectangle of the whole system: four signed 32-bit values, right and
// bottom exclusive. 0, 0, -1, -1 stands for a rectangle that is not set (no
// clip, bounds not yet given).
struct VORRect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = -1;
  int32_t bottom = -1;

  constexpr VORRect() = default;
  constexpr VORRect(int32_t l, int32_t t, int32_t r, int32_t b) : left(l), top(t), right(r), bottom(b) {}

  static constexpr VORRect NotSet() { return VORRect(0, 0, -1, -1); }

  // Sizes in 64 bits: rectangles come from publication files and may hold
  // any values.
  int64_t Width() const { return static_cast<int64_t>(right) - left; }
  int64_t Height() const { return static_cast<int64_t>(bottom) - top; }
  bool IsEmpty() const { return Width() <= 0 || Height() <= 0; }
  bool Contains(int32_t x, int32_t y) const { return x >= left && x < right && y >= top && y < bottom; }

  // This becomes the intersection of a and b; an empty result is 0, 0, 0, 0
  // and answers false.
  bool Intersect(const VORRect &a, const VORRect &b);
  // Smaller left and top, larger right and bottom (no test for empty operands).
  void Union(const VORRect &a, const VORRect &b);
  void Inflate(int32_t dx, int32_t dy);
  VORRect Offset(int32_t dx, int32_t dy) const;

  bool operator==(const VORRect &other) const {
    return left == other.left && top == other.top && right == other.right && bottom == other.bottom;
  }
  bool operator!=(const VORRect &other) const { return !(*this == other); }
};
