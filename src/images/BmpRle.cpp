#include "images/BmpRle.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr uint8_t kEscape = 0;
constexpr uint8_t kEndOfRow = 0;
constexpr uint8_t kEndOfPicture = 1;
constexpr uint8_t kDelta = 2;

// Writes the pixels of one row for either depth.
struct Rle8Row {
  static constexpr bool kNibbles = false;
  static void Fill(uint8_t *row, int64_t from, int64_t to, uint8_t value) {
    std::memset(row + from, value, static_cast<size_t>(to - from));
  }
  static void Copy(uint8_t *row, int64_t from, int64_t to, const uint8_t *literal) {
    std::memcpy(row + from, literal, static_cast<size_t>(to - from));
  }
};

struct Rle4Row {
  static constexpr bool kNibbles = true;
  static void Put(uint8_t *row, int64_t x, uint8_t nibble) {
    uint8_t &byte = row[x >> 1];
    byte = (x & 1) ? static_cast<uint8_t>((byte & 0xF0) | nibble) : static_cast<uint8_t>((byte & 0x0F) | nibble << 4);
  }
  // A run's pixels alternate high and low nibble counted from the run's start.
  static void Fill(uint8_t *row, int64_t from, int64_t to, uint8_t value) {
    for (int64_t x = from; x < to; ++x)
      Put(row, x, (x - from) % 2 == 0 ? value >> 4 : value & 0x0F);
  }
  static void Copy(uint8_t *row, int64_t from, int64_t to, const uint8_t *literal) {
    for (int64_t x = from; x < to; ++x) {
      const int64_t i = x - from;
      Put(row, x, (i & 1) ? literal[i >> 1] & 0x0F : literal[i >> 1] >> 4);
    }
  }
};

template <typename Row>
void DecodeRle(const uint8_t *data, size_t size, uint8_t *pixels, uint32_t stride, int32_t width, int32_t height) {
  size_t at = 0;
  int64_t x = 0;
  int64_t y = 0;
  // Where [x, x + count) ends inside the current row; nothing is written
  // when x already lies past the row's end.
  auto rowEnd = [&](int64_t count) { return std::min<int64_t>(x + count, width); };
  while (y < height && at + 2 <= size) {
    const uint8_t count = data[at];
    const uint8_t value = data[at + 1];
    at += 2;
    uint8_t *row = pixels + static_cast<size_t>(y) * stride;
    if (count != kEscape) {
      if (x < rowEnd(count))
        Row::Fill(row, x, rowEnd(count), value);
      x += count;
      continue;
    }
    switch (value) {
    case kEndOfRow:
      x = 0;
      ++y;
      break;
    case kEndOfPicture:
      return;
    case kDelta:
      if (at + 2 > size)
        return;
      x += data[at];
      y += data[at + 1];
      at += 2;
      break;
    default: {
      // A literal run: its bytes padded to a 16-bit boundary in the data.
      const size_t bytes = Row::kNibbles ? (value + 1u) / 2 : value;
      if (at + bytes > size)
        return;
      if (x < rowEnd(value))
        Row::Copy(row, x, rowEnd(value), data + at);
      x += value;
      at += bytes + (bytes & 1);
      break;
    }
    }
  }
}

} // namespace

void DecodeBmpRle8(const uint8_t *data, size_t size, uint8_t *pixels, uint32_t stride, int32_t width, int32_t height) {
  DecodeRle<Rle8Row>(data, size, pixels, stride, width, height);
}

void DecodeBmpRle4(const uint8_t *data, size_t size, uint8_t *pixels, uint32_t stride, int32_t width, int32_t height) {
  DecodeRle<Rle4Row>(data, size, pixels, stride, width, height);
}
