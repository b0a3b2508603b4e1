#pragma once

#include <cstdint>

class VORFile;

// How a picture is shown: which part of it, how it fits the destination and
// which colour is transparent. Nine 32-bit fields, copied whole.
struct ImageLayout {
  enum FitMode : int32_t { kCorner = 0, kStretch = 1, kTile = 2, kCentre = 3 };
  enum TransparencyKind : int32_t { kOpaque = 0, kKeyColor = 1, kKeyIndex = 2 };
  static constexpr uint32_t kDefaultKeyColor = 0xFF00FF;

  // Source rectangle in picture pixels; -1 right or bottom: the whole width
  // or height (an image that loads its picture sets them to its size).
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = -1;
  int32_t bottom = -1;
  int32_t fitMode = kStretch;
  int32_t transparencyKind = kOpaque;
  int32_t keyIndex = 0; // low byte used
  uint32_t keyColor = kDefaultKeyColor;
  int32_t keepAspect = 1;

  void CopyFrom(const ImageLayout &other) { *this = other; }
  // The source rectangle (each side missing at the end of the record reads
  // 0), the fit mode and transparency kind (a byte each), the key colour
  // (kind 1) or key index (kind 2), the keep-aspect byte. Only the rectangle
  // is optional: a record that ends after it throws the file layer's
  // non-fatal exception.
  void Read(VORFile &file);
  // The key as the mask routines take it: the RGB value for kind 1, the
  // index plus 0x1000000 for kind 2, -1 when the picture is opaque.
  int32_t MaskKey() const;
};
