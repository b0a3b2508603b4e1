#pragma once

#include <cstdint>
#include <vector>

// FLI and FLC animations as the animation tools write them: a 128-byte
// header, the frames, then the ring frame that leads from the last frame
// back to the first. Chunks are made either from raw fields (to build
// exact or broken cases) or encoded from whole 8-bit pictures, rows from
// the top, width x height bytes.
namespace FlicWriter {

using Picture = std::vector<uint8_t>;

struct Chunk {
  uint16_t type = 0;
  std::vector<uint8_t> body;
};
using Frame = std::vector<Chunk>;

enum class Kind { kFli, kFlc };

struct ColorPacket {
  uint8_t skip = 0;
  // The colours as red, green, blue triples; 256 triples are written with a
  // count byte of 0.
  std::vector<uint8_t> rgb;
};

struct Animation {
  Kind kind = Kind::kFlc;
  uint16_t width = 0;
  uint16_t height = 0;
  // FLI: 1/70 s; FLC: ms.
  uint32_t speed = 0;
  uint16_t depth = 8;
  // FLC files must say 3.
  uint16_t flags = 3;
  std::vector<Frame> frames;
  // Written after the frames; not counted in the header's frame count.
  bool hasRingFrame = false;
  Frame ringFrame;
};

// Type 4 (256 levels) or 11 (64 levels): the packets as given.
Chunk Colors(uint16_t type, const std::vector<ColorPacket> &packets);
// Type 13.
Chunk Black();
// Type 16: the picture's bytes row by row.
Chunk Copy(const Picture &picture);
// Type 15: each row run-length encoded.
Chunk ByteRun(const Picture &picture, uint16_t width, uint16_t height);
// Type 12: the rows that differ from the previous picture.
Chunk LineDelta(const Picture &previous, const Picture &picture, uint16_t width, uint16_t height);
// Type 7: the rows that differ, in words; an odd width's last pixel with
// its own opcode.
Chunk WordDelta(const Picture &previous, const Picture &picture, uint16_t width, uint16_t height);
// A chunk of raw body bytes.
Chunk Raw(uint16_t type, std::vector<uint8_t> body);

std::vector<uint8_t> Write(const Animation &animation);

// An animation whose frames are the pictures, each after the first
// encoded as a delta of the kind (LineDelta for FLI, WordDelta for FLC),
// the first frame with a 256-level palette and a byte run, and the ring
// frame back to the first.
std::vector<uint8_t> Encode(Kind kind, uint16_t width, uint16_t height, uint32_t speed,
                            const std::vector<uint8_t> &paletteRgb, const std::vector<Picture> &pictures);

} // namespace FlicWriter
