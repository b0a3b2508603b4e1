#pragma once

#include <cstdint>

#include "foundation/VORRect.h"

// The platform-free arithmetic of the scrollbar: how tall its buttons and
// its thumb are, where the thumb stands for a position and which position
// a dragged thumb gives. Every division is guarded: degenerate rectangles,
// pictures without height and thumbs that fill the track give sizes and
// positions, never a failure.
namespace ScrollbarGeometry {

// The thumb is never shorter than this.
constexpr int32_t kMinimumThumbHeight = 10;

// A fraction from a file or an action kept within 0..1; NaN takes the
// fallback.
double ClampFraction(double value, double fallback);

// The height of each of buttonCount buttons in a rectangle of that size:
// half the height shared between them when the width would not fit, else
// the width. Without buttons, the width.
int32_t ButtonHeight(int32_t width, int32_t height, int32_t buttonCount);

// The height that keeps a picture's shape at the given width; fallback for
// a picture without height.
int32_t AspectHeight(int32_t width, int32_t pictureWidth, int32_t pictureHeight, int32_t fallback);

// The thumb's height before the minimum: proportional, the track's height
// times the visible share; otherwise the scrollbar's width.
int32_t ThumbHeight(const VORRect &track, double thumbSize, bool proportional, int32_t width);

// The thumb's rectangle in the track for a position (0..1): at 1 its bottom
// is the track's.
VORRect PlaceThumb(const VORRect &track, int32_t thumbHeight, double position);

// A dragged thumb's top, kept inside the track.
int32_t DraggedThumbTop(int32_t pointerY, int32_t pressY, int32_t thumbTopAtPress, const VORRect &track,
                        int32_t thumbHeight);

// The position a thumb at top gives: 0 when the thumb fills the track and
// cannot travel.
double DraggedPosition(int32_t thumbTop, const VORRect &track, int32_t thumbHeight);

} // namespace ScrollbarGeometry
