#include "display/CoverageBits.h"

#include <algorithm>

namespace {

constexpr int32_t kWordBits = 64;

bool MaskBit(const uint8_t *row, int64_t bit) { return ((row[bit >> 3] >> (7 - (bit & 7))) & 1) != 0; }

// Eight bytes from the given one on, the first in the high byte: a mask's
// pixels in the order a coverage word holds them.
uint64_t BigEndianWord(const uint8_t *bytes) {
  uint64_t value = 0;
  for (size_t k = 0; k < 8; ++k) {
    value = value << 8 | bytes[k];
  }
  return value;
}

// Mask bits bit..bit+63, all inside 0..maskWidth-1.
uint64_t MaskWordInside(const uint8_t *row, int64_t bit) {
  const uint8_t *bytes = row + (bit >> 3);
  const int32_t shift = static_cast<int32_t>(bit & 7);
  uint64_t word = BigEndianWord(bytes) << shift;
  if (shift != 0) {
    // The last bits come from a ninth byte, which holds bit + 63 and so lies inside the row.
    word |= static_cast<uint64_t>(bytes[8]) >> (8 - shift);
  }
  return word;
}

// The same where the bits may reach past either end of the row: those count as clear.
uint64_t MaskWord(const uint8_t *row, int64_t bit, int32_t maskWidth) {
  if (bit >= 0 && bit + kWordBits <= maskWidth) {
    return MaskWordInside(row, bit);
  }
  uint64_t word = 0;
  for (int32_t j = 0; j < kWordBits; ++j) {
    const int64_t at = bit + j;
    if (at >= 0 && at < maskWidth && MaskBit(row, at)) {
      word |= uint64_t{1} << (kWordBits - 1 - j);
    }
  }
  return word;
}

} // namespace

void CoverageBits::CoverAll(int32_t count) {
  m_count = std::max(count, 0);
  const size_t words = (static_cast<size_t>(m_count) + kWordBits - 1) / kWordBits;
  m_words.assign(words, ~uint64_t{0});
  if (m_count % kWordBits != 0) {
    m_words.back() = ~uint64_t{0} << (kWordBits - m_count % kWordBits);
  }
}

void CoverageBits::UncoverAll() { std::fill(m_words.begin(), m_words.end(), 0); }

void CoverageBits::AndMaskRun(const uint8_t *maskRow, int64_t firstBit, int32_t maskWidth) {
  for (size_t w = 0; w < m_words.size(); ++w) {
    if (m_words[w] != 0) {
      m_words[w] &= MaskWord(maskRow, firstBit + static_cast<int64_t>(w) * kWordBits, maskWidth);
    }
  }
}

void CoverageBits::AndMaskColumns(const uint8_t *maskRow, const int32_t *columns, int64_t offset, int32_t maskWidth) {
  for (int32_t i = 0; i < m_count; ++i) {
    const int64_t bit = static_cast<int64_t>(columns[i]) + offset;
    if (bit < 0 || bit >= maskWidth || !MaskBit(maskRow, bit)) {
      Uncover(i);
    }
  }
}
