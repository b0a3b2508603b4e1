// Writes the seed corpus of the FLIC fuzzer with the test writer: FLI and
// FLC animations encoded from moving pictures, one with a frame of every
// chunk type, and small ones with a ring frame.

#include <cstdint>
#include <string>
#include <vector>

#include "support/FlicWriter.h"
#include "support/SeedCorpus.h"

namespace {

using FlicWriter::Kind;
using FlicWriter::Picture;

Picture Pattern(uint16_t width, uint16_t height, int step) {
  Picture picture(static_cast<size_t>(width) * height);
  for (size_t y = 0; y < height; ++y) {
    for (size_t x = 0; x < width; ++x) {
      const bool band = ((x + y + step * 3) / 4) % 3 == 0;
      picture[y * width + x] = static_cast<uint8_t>(band ? 100 + step : (x / 4) * 8 + y / 4);
    }
  }
  return picture;
}

std::vector<uint8_t> Palette() {
  std::vector<uint8_t> rgb(256 * 3);
  for (size_t i = 0; i < rgb.size(); ++i) {
    rgb[i] = static_cast<uint8_t>(i * 3);
  }
  return rgb;
}

} // namespace

int main(int argc, char **argv) {
  std::vector<SeedFile> seeds;
  for (Kind kind : {Kind::kFli, Kind::kFlc}) {
    for (uint16_t width : {16, 17}) {
      std::vector<Picture> pictures;
      for (int step = 0; step < 5; ++step) {
        pictures.push_back(Pattern(width, 12, step));
      }
      seeds.emplace_back(std::string(kind == Kind::kFli ? "moving-" : "moving-flc-") + std::to_string(width),
                         FlicWriter::Encode(kind, width, 12, 4, Palette(), pictures));
    }
  }
  const uint16_t width = 16;
  const uint16_t height = 8;
  const Picture a = Pattern(width, height, 0);
  const Picture b = Pattern(width, height, 1);
  FlicWriter::Animation every;
  every.width = width;
  every.height = height;
  every.speed = 50;
  every.frames = {
      {FlicWriter::Colors(4, {FlicWriter::ColorPacket{0, Palette()}}), FlicWriter::ByteRun(a, width, height)},
      {FlicWriter::WordDelta(a, b, width, height)},
      {FlicWriter::LineDelta(b, a, width, height)},
      {FlicWriter::Colors(11, {FlicWriter::ColorPacket{3, {1, 2, 3, 63, 62, 61}}}), FlicWriter::Copy(b)},
      {FlicWriter::Black()},
      {FlicWriter::Raw(18, {1, 2, 3, 4})},
  };
  every.hasRingFrame = true;
  every.ringFrame = {FlicWriter::ByteRun(a, width, height)};
  seeds.emplace_back("every-chunk", FlicWriter::Write(every));
  return WriteSeedCorpus(argc, argv, seeds);
}
