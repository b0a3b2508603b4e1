#pragma once

#include <cstdint>
#include <functional>

#include "foundation/VORRect.h"

// Where a view lays out its page in a client area: the extent of the page
// (never smaller than the page, at most the chapter's page size unless the
// page is larger), its scroll origin (negative when scrolled, positive when
// the page is smaller than the client area and centred) and the scroll-bar
// positions.
struct PageExtent {
  struct Input {
    int32_t clientWidth = 0;
    int32_t clientHeight = 0;
    // Valid when left < right.
    VORRect chapterPageRect = VORRect::NotSet();
    VORRect pageRect = VORRect::NotSet();
    bool hasProperties = true;
    // The height the page needs at a width (content that grows with its
    // width); null when its own height is all it needs.
    std::function<int32_t(int32_t width)> neededHeight;
    bool stretchesHorizontally = false;
    bool stretchesVertically = false;
    bool keepAspect = false;
    int32_t originX = 0;
    int32_t originY = 0;
  };

  int32_t width = 0;
  int32_t height = 0;
  int32_t originX = 0;
  int32_t originY = 0;
  // The scroll bars' positions, from the origin before centring.
  int32_t scrollX = 0;
  int32_t scrollY = 0;

  static PageExtent Compute(const Input &input);
};
