#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "display/DisplaySettings.h"

// The pixels of a stretched row side by side: destination pixel i takes
// source pixel columns[i]. Set up once per blend, used for every source row
// it reads.
class ColumnGather {
public:
  // Every column at least 0 and below rowWidth (the source row's pixels);
  // bytesPerPixel is 1 or 3.
  ColumnGather(std::vector<int32_t> columns, int32_t rowWidth, size_t bytesPerPixel, PixelLoops loops);

  // What Gather writes: the pixels and some bytes more.
  size_t OutputBytes() const { return m_columns.size() * m_bytesPerPixel + kSpareBytes; }
  void Gather(const uint8_t *row, uint8_t *out) const;

private:
  static constexpr size_t kSpareBytes = 16;

  void PlanShuffles();
  void GatherFrom(size_t first, const uint8_t *row, uint8_t *out) const;

  std::vector<int32_t> m_columns;
  int32_t m_rowWidth;
  size_t m_bytesPerPixel;
  // The leading columns whose pixel is not the row's last, read as four bytes.
  size_t m_fourByteColumns = 0;
  // Blocks of four 24-bit pixels gathered by one byte shuffle each, from a
  // 16-byte window of the source row that holds all four: the window's first
  // byte and the shuffle's control bytes per block.
  std::vector<int32_t> m_windows;
  std::vector<uint8_t> m_shuffles;
};
