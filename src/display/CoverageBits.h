#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Which pixels of a row take part in a blend: one bit per pixel, 64 to a
// word, the leftmost in the high bit as in a one-bit mask, so that a mask is
// applied 64 pixels at a time and a vector loop reads a run's bits at once.
class CoverageBits {
public:
  // count pixels, all covered.
  void CoverAll(int32_t count);
  // The same pixels as another's.
  void CopyFrom(const CoverageBits &other) { *this = other; }
  void UncoverAll();
  // Pixel i stays covered only when bit firstBit + i of a one-bit mask row
  // (the leftmost pixel in each byte's high bit) is set; bits outside
  // 0..maskWidth-1 count as clear.
  void AndMaskRun(const uint8_t *maskRow, int64_t firstBit, int32_t maskWidth);
  // The same with pixel i reading bit columns[i] + offset.
  void AndMaskColumns(const uint8_t *maskRow, const int32_t *columns, int64_t offset, int32_t maskWidth);
  void Uncover(int32_t i) { m_words[static_cast<size_t>(i) >> 6] &= ~BitOf(i); }

  int32_t Count() const { return m_count; }
  bool IsCovered(int32_t i) const { return IsCovered(m_words.data(), i); }
  // The bits of the n pixels from first on (n at most 32 and first a
  // multiple of n), the first pixel's in bit n - 1.
  uint32_t Run(int32_t first, int32_t n) const { return Run(m_words.data(), first, n); }

  // The words themselves, for loops that keep them in a register.
  const uint64_t *Words() const { return m_words.data(); }
  static bool IsCovered(const uint64_t *words, int32_t i) {
    return (words[static_cast<size_t>(i) >> 6] & BitOf(i)) != 0;
  }
  static uint32_t Run(const uint64_t *words, int32_t first, int32_t n) {
    const uint64_t word = words[static_cast<size_t>(first) >> 6] >> (kWordBits - (first & 63) - n);
    return static_cast<uint32_t>(word) & static_cast<uint32_t>((uint64_t{1} << n) - 1);
  }

private:
  static constexpr int32_t kWordBits = 64;
  static uint64_t BitOf(int32_t i) { return uint64_t{1} << (kWordBits - 1 - (i & 63)); }

  std::vector<uint64_t> m_words;
  int32_t m_count = 0;
};
