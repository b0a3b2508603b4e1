// Writes the seed corpus of the internal image fuzzer with the format's
// writer: pictures of 8, 16 and 24 bits, raw and packed parts of every
// palette size, animations that draw over earlier frames, index flags, and
// a few cut short.

#include <cstdint>
#include <string>
#include <vector>

#include "support/InternalImageWriter.h"
#include "support/SeedCorpus.h"

namespace {

using namespace InternalImageWriter;

Frame FrameOf(std::vector<Part> parts, int32_t time = -1) {
  Frame frame;
  frame.parts = std::move(parts);
  frame.time = time;
  return frame;
}

Picture Of(uint16_t depth, int32_t width, int32_t height, std::vector<Frame> frames) {
  Picture picture;
  picture.depth = depth;
  picture.width = width;
  picture.height = height;
  if (depth <= 8)
    picture.colours = GreyishTable(1u << depth);
  picture.frames = std::move(frames);
  return picture;
}

std::vector<uint8_t> Counting(size_t size) {
  std::vector<uint8_t> bytes(size);
  for (size_t i = 0; i < size; ++i)
    bytes[i] = static_cast<uint8_t>(i * 7 + 1);
  return bytes;
}

std::vector<Block> BlocksFor(uint32_t bytesPerPixel) {
  const uint32_t top = bytesPerPixel == 1 ? 0xFF : bytesPerPixel == 2 ? 0x7FFF : 0xFFFFFF;
  return {{4, {}, {1, 2, 3, top}},
          {6, {top}, {}},
          {5, {1, 2, 3}, {0, 1, 2, 1, 0}},
          {7, {9, 8, 7, 6, 5}, {4, 3, 2, 1, 0, 1, 2}},
          {10, std::vector<uint32_t>(17, 3), {16, 0, 1, 15, 2, 14, 3, 13, 4, 12}}};
}

} // namespace

int main(int argc, char **argv) {
  std::vector<SeedFile> seeds;
  for (uint16_t depth : {8, 16, 24}) {
    const uint32_t bytesPerPixel = depth / 8u;
    const std::string name = "bits" + std::to_string(depth);
    seeds.push_back(
        {name + "-raw", Of(depth, 6, 4, {FrameOf({RawPart(0, 0, 6, 4, Counting(6 * 4 * bytesPerPixel))})}).Bytes()});
    seeds.push_back(
        {name + "-packed",
         Of(depth, 8, 4, {FrameOf({PackedPart(0, 0, 8, 4, BlocksFor(bytesPerPixel), bytesPerPixel)})}).Bytes()});
    Picture animation = Of(depth, 8, 6,
                           {FrameOf({RawPart(0, 0, 8, 6, Counting(8 * 6 * bytesPerPixel))}, 40000),
                            FrameOf({RawPart(2, 1, 4, 3, Counting(4 * bytesPerPixel)),
                                     PackedPart(5, 2, 8, 6, BlocksFor(bytesPerPixel), bytesPerPixel)},
                                    40000),
                            FrameOf({PackedPart(0, 5, 8, 6, {{8, {7}, {}}}, bytesPerPixel)})});
    animation.indexFlags = {0x80000000u, 0, 0x80000000u};
    seeds.push_back({name + "-animation", animation.Bytes()});
  }
  for (uint16_t depth : {1, 4}) {
    const std::string name = "bits" + std::to_string(depth);
    seeds.push_back({name + "-raw", Of(depth, 16, 2, {FrameOf({RawPart(0, 0, 16, 2, Counting(8))})}).Bytes()});
  }
  Picture used = Of(8, 4, 4, {FrameOf({RawPart(0, 0, 4, 4, Counting(16))})});
  used.coloursUsed = 16;
  used.colours = GreyishTable(16);
  seeds.push_back({"colours-used", used.Bytes()});
  Frame odd = FrameOf({RawPart(0, 0, 1, 1, {1})});
  odd.frameHeaderLength = 12;
  seeds.push_back({"odd-frame-header", Of(8, 2, 2, {odd}).Bytes()});
  std::vector<uint8_t> cut = Of(24, 5, 5, {FrameOf({RawPart(0, 0, 5, 5, Counting(75))})}).Bytes();
  cut.resize(cut.size() - 20);
  seeds.push_back({"cut-frame", cut});
  return WriteSeedCorpus(argc, argv, seeds);
}
