#pragma once

#include <cstdint>

// The window style bits the publication and its chapters use; the model
// computes styles without the Win32 headers.
namespace VORWindowStyle {
constexpr uint32_t kPopup = 0x80000000;
constexpr uint32_t kCaption = 0x00C00000;
constexpr uint32_t kBorder = 0x00800000;
constexpr uint32_t kThickFrame = 0x00040000;
constexpr uint32_t kHScroll = 0x00100000;
constexpr uint32_t kVScroll = 0x00200000;
} // namespace VORWindowStyle

// The screen and frame sizes a window rectangle depends on: the system
// metrics SM_CXSCREEN, SM_CYSCREEN, SM_CYCAPTION, SM_CXFRAME, SM_CYFRAME and
// SM_CXBORDER, filled by the Win32 side.
struct VORWindowMetrics {
  int32_t screenWidth = 0;
  int32_t screenHeight = 0;
  int32_t captionHeight = 0;
  int32_t frameWidth = 0;
  int32_t frameHeight = 0;
  int32_t borderWidth = 0;
};

// A window's outer rectangle as CreateWindow takes it.
struct VORWindowRect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t width = 0;
  int32_t height = 0;
  bool operator==(const VORWindowRect &other) const {
    return left == other.left && top == other.top && width == other.width && height == other.height;
  }
};

// What a publication or chapter record says about a window that is not full
// screen: its client size, the border kind (0 thick frame, 1 thin border,
// other values none), the caption and the position in percent of the free
// screen space.
struct VORWindowPlacement {
  static constexpr int32_t kThickFrameBorder = 0;
  static constexpr int32_t kThinBorder = 1;

  int32_t clientWidth = 0;
  int32_t clientHeight = 0;
  int32_t border = 0;
  bool titleBar = false;
  int32_t xPercent = 0;
  int32_t yPercent = 0;

  // frameX and frameY are added on each side for the two framed border
  // kinds. A window without a frame keeps its client size plus the caption.
  VORWindowRect Place(const VORWindowMetrics &metrics, int32_t frameX, int32_t frameY) const;
};
