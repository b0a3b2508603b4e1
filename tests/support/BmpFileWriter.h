#pragma once

#include <cstdint>
#include <vector>

#include "display/DibTypes.h"

// Writes BMP files for the tests, seeds and benchmarks: the file header, a
// 40-byte info header or a 12-byte core header, bit-field masks, the colour
// table and the pixel data exactly as given, so that a test can make any
// file, odd or hostile, a field at a time.
namespace BmpFileWriter {

struct Picture {
  int32_t width = 0;
  int32_t height = 0; // negative: rows stored top-down
  uint16_t bitCount = 24;
  uint32_t compression = 0;
  uint32_t sizeImage = 0;
  uint32_t colorsUsed = 0;
  bool coreHeader = false;
  std::vector<RgbQuad> colors; // written as quads, or as triples in a core file
  std::vector<uint32_t> masks; // written after an info header
  std::vector<uint8_t> pixels; // the pixel data as the file holds it
  int64_t offBits = -1;        // -1: right behind the colour table
};

std::vector<uint8_t> Write(const Picture &picture);

// Rows padded to 4 bytes.
uint32_t Stride(int32_t width, uint32_t bitCount);

// BI_RLE8 data of 8-bit pixels given bottom row first, width bytes a row:
// runs of equal pixels and literal stretches, an end-of-row escape after
// each row and the end-of-picture escape.
std::vector<uint8_t> EncodeRle8(const std::vector<uint8_t> &pixels, int32_t width, int32_t height);

// A grey ramp of n entries.
std::vector<RgbQuad> GreyRamp(uint32_t n);

} // namespace BmpFileWriter
