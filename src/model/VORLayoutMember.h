#pragma once

#include <cstdint>

#include "foundation/VORRect.h"

// What a layout manager asks of the objects it places: their design
// rectangle, how they give way when their owner changes size, and the
// rectangle it hands them. The graphical page objects implement it. Each
// member keeps the four guides the manager gave it; -1 while the member is
// not managed.
class VORLayoutMember {
public:
  enum Edge : uint8_t { kLeft = 0, kRight = 1, kTop = 2, kBottom = 3 };
  static constexpr int32_t kNoGuide = -1;
  static constexpr int kEdges = 4;

  VORLayoutMember() = default;
  // A copy keeps the guides of its source: the copy's manager is a copy too.
  VORLayoutMember(const VORLayoutMember &) = default;
  VORLayoutMember &operator=(const VORLayoutMember &) = delete;
  virtual ~VORLayoutMember() = default;

  // The rectangle in the owner's design, relative to its top-left corner.
  virtual const VORRect &GetLayoutRect() const = 0;
  virtual void SetRect(const VORRect &rect) = 0;
  // Text-like members whose height follows their width.
  virtual bool FitsHeightToWidth() = 0;
  // The height the content needs at that width; -1 when it gives none.
  virtual int32_t GetContentHeight(int32_t width) = 0;
  virtual bool StretchesHorizontally() = 0;
  virtual bool StretchesVertically() = 0;

  int32_t GetLayoutGuide(Edge edge) const { return m_guides[edge]; }
  void SetLayoutGuide(Edge edge, int32_t index) { m_guides[edge] = index; }
  void ClearLayoutGuides() {
    for (int32_t &guide : m_guides)
      guide = kNoGuide;
  }

private:
  int32_t m_guides[kEdges] = {kNoGuide, kNoGuide, kNoGuide, kNoGuide};
};
