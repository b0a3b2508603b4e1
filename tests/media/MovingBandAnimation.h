#pragma once

// A 640 x 480 animation whose frames each move a band across a still
// picture, as a typical animation changes a part of the screen: what the
// FLIC decoder's benchmark and the frame timing under the system decode.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "support/FlicWriter.h"

namespace MovingBandAnimation {

constexpr uint16_t kWidth = 640;
constexpr uint16_t kHeight = 480;
constexpr int kFrames = 8;
constexpr size_t kFrameBytes = static_cast<size_t>(kWidth) * kHeight;
constexpr uint32_t kSpeed = 40;

inline FlicWriter::Picture Pattern(int step) {
  FlicWriter::Picture picture(kFrameBytes);
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      const bool band = ((x + y + step * 24) / 32) % 6 == 0;
      picture[static_cast<size_t>(y) * kWidth + x] =
          static_cast<uint8_t>(band ? 200 + step : (x / 40) * 8 + y / 60 + (x * y % 7 == 0 ? 1 : 0));
    }
  }
  return picture;
}

// The whole file of the kind given, with a grey ramp for its colours.
inline std::vector<uint8_t> Write(FlicWriter::Kind kind) {
  std::vector<FlicWriter::Picture> pictures;
  for (int step = 0; step < kFrames; ++step) {
    pictures.push_back(Pattern(step));
  }
  std::vector<uint8_t> palette(256 * 3);
  for (size_t i = 0; i < palette.size(); ++i) {
    palette[i] = static_cast<uint8_t>(i);
  }
  return FlicWriter::Encode(kind, kWidth, kHeight, kSpeed, palette, pictures);
}

} // namespace MovingBandAnimation
