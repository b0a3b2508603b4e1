#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Writes pictures and animations in the player's internal format, byte for
// byte as it is laid out (little-endian throughout):
//
//   0   "VORI", length of the rest of the file
//   8   "HDR ", header length H (48 + 4 x colours unless overridden)
//   16  frame count, timing value
//   24  40-byte DIB header (width, height, planes 1, depth, compression 0,
//       ..., colours used), then the colour table (4 bytes an entry)
//   16+H "INDX", index length L, then frame offsets counted from the end of
//       the index, one more than there are frames (top bit: a flag)
//   then the frames: "FRAM" F, "FHDR" 8, part count, time in microseconds,
//       then the parts: a tag, a length, left, top, right, bottom (16 bits
//       each), then the pixels.
//
// A "BMP " part holds unpadded rows ((right - left) x depth + 7) / 8 bytes
// long; a "BMPC" part a run of blocks: pixel count (16 bits), palette size K
// (8 bits), K pixel values, then K = 0: raw values, K = 1: nothing, K >= 2:
// indices of the least k bits with 2^k >= K, packed from the most
// significant bit, the block ending at a byte boundary.
namespace InternalImageWriter {

struct Part {
  std::string tag = "BMP "; // four characters
  int16_t left = 0;
  int16_t top = 0;
  int16_t right = 0;
  int16_t bottom = 0;
  std::vector<uint8_t> pixels;
  // The stored length, when it should not be the true one (8 + pixels).
  std::optional<uint32_t> length;
};

struct Frame {
  std::vector<Part> parts;
  int32_t time = -1;
  // As stored, when it should not be the true values.
  std::optional<uint32_t> partCount;
  uint32_t frameHeaderLength = 8;
  std::optional<uint32_t> frameLength;
};

struct Picture {
  int32_t width = 4;
  int32_t height = 2;
  uint16_t depth = 8;
  uint32_t coloursUsed = 0;
  // The colour table written; for depths up to 8 without coloursUsed it
  // should hold 2^depth entries (blue, green, red, 0 each).
  std::vector<uint32_t> colours;
  uint32_t timing = 0;
  std::vector<Frame> frames;
  // As stored, when they should not be the true values.
  std::optional<uint32_t> headerLength;
  std::optional<uint32_t> frameCount;
  // Index entries written instead of the frames' offsets.
  std::optional<std::vector<uint32_t>> index;
  // Flag bits or'ed into the index entries (one per entry, may be shorter).
  std::vector<uint32_t> indexFlags;

  std::vector<uint8_t> Bytes() const;
};

// A colour table of n entries, entry i being (i, 255 - i, i * 3) in red,
// green and blue, stored as an RGBQUAD value.
std::vector<uint32_t> GreyishTable(uint32_t entries);

// Blocks of a "BMPC" part. bytesPerPixel: 1, 2 or 3; values are the pixel
// values (the low bytes of each, in storage order).
struct Block {
  uint16_t count = 0;
  std::vector<uint32_t> palette;
  // K = 0: the raw values; K >= 2: the indices.
  std::vector<uint32_t> values;
};
std::vector<uint8_t> PackedPixels(const std::vector<Block> &blocks, uint32_t bytesPerPixel);

Part RawPart(int16_t left, int16_t top, int16_t right, int16_t bottom, std::vector<uint8_t> pixels);
Part PackedPart(int16_t left, int16_t top, int16_t right, int16_t bottom, const std::vector<Block> &blocks,
                uint32_t bytesPerPixel);

} // namespace InternalImageWriter
