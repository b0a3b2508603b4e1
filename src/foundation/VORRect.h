#pragma once

#include <cstdint>

// A point in page or client coordinates.
struct VORPoint {
  int32_t x = 0;
  int32_t y = 0;
  bool operator==(const VORPoint &other) const { return x == other.x && y == other.y; }
};

// The rectangle of the whole system: four signed 32-bit values, right and
// bottom exclusive. 0, 0, -1, -1 stands for a rectangle that is not set (no
// clip, bounds not yet given). A plain value: a record's rectangle is read
// with VORRecordFields::ReadRect.
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
  // The other rectangle lies wholly inside: its top-left corner and its last
  // pixel (right - 1, bottom - 1). An empty rectangle is held by none.
  bool Holds(const VORRect &other) const {
    return !other.IsEmpty() && Contains(other.left, other.top) && Contains(other.right - 1, other.bottom - 1);
  }

  // This becomes the intersection of a and b; an empty result is 0, 0, 0, 0
  // and answers false.
  bool Intersect(const VORRect &a, const VORRect &b);
  // Smaller left and top, larger right and bottom (no test for empty operands).
  void Union(const VORRect &a, const VORRect &b);
  void Inflate(int32_t dx, int32_t dy);
  VORRect Offset(int32_t dx, int32_t dy) const;
  // A copy of the same size whose top-left corner is (x, y).
  VORRect MovedTo(int32_t x, int32_t y) const;
  // Both corners moved by plus (minus) the point.
  void AddOffset(int32_t x, int32_t y) { *this = Offset(x, y); }
  void SubtractOffset(int32_t x, int32_t y);
  // Shrinks this rectangle to the aspect of the reference: the side that is
  // too long is cut (and, with centre, the cut shared on both ends). Sizes
  // of the reference of 0 give a side of 0.
  void FitInside(const VORRect &reference, bool centre);

  bool operator==(const VORRect &other) const {
    return left == other.left && top == other.top && right == other.right && bottom == other.bottom;
  }
  bool operator!=(const VORRect &other) const { return !(*this == other); }
};
