#include "display/ColumnGather.h"

#include <cstring>
#include <utility>

#include "display/SimdSupport.h"

namespace {

constexpr size_t kBytesPerPixel24 = 3;
constexpr size_t kBlockPixels = 4;
constexpr size_t kWindowBytes = 16;
// A window holds a block whose pixels lie at most this far past its first.
constexpr int32_t kWindowReach = 4;
// Control bytes that write 0 (the high bit set).
constexpr uint8_t kShuffleZero = 0x80;

#if VOR_SSE2_LOOPS
VOR_TARGET_AVX2 void ShuffleBlocks(const uint8_t *row, const int32_t *windows, const uint8_t *shuffles, size_t blocks,
                                   uint8_t *out) {
  // Two blocks to a register, one in each half; their twelve bytes each are
  // then moved together.
  const __m256i together = _mm256_setr_epi32(0, 1, 2, 4, 5, 6, 7, 7);
  size_t b = 0;
  for (; b + 2 <= blocks; b += 2) {
    const __m256i windowPair = _mm256_inserti128_si256(
        _mm256_castsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i *>(row + windows[b]))),
        _mm_loadu_si128(reinterpret_cast<const __m128i *>(row + windows[b + 1])), 1);
    const __m256i control = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(shuffles + b * kWindowBytes));
    _mm256_storeu_si256(reinterpret_cast<__m256i *>(out + b * kBlockPixels * kBytesPerPixel24),
                        _mm256_permutevar8x32_epi32(_mm256_shuffle_epi8(windowPair, control), together));
  }
  for (; b < blocks; ++b) {
    const __m128i window = _mm_loadu_si128(reinterpret_cast<const __m128i *>(row + windows[b]));
    const __m128i control = _mm_loadu_si128(reinterpret_cast<const __m128i *>(shuffles + b * kWindowBytes));
    // Twelve bytes of pixels and four of zeros, which the next block overwrites.
    _mm_storeu_si128(reinterpret_cast<__m128i *>(out + b * kBlockPixels * kBytesPerPixel24),
                     _mm_shuffle_epi8(window, control));
  }
}
#endif

} // namespace

ColumnGather::ColumnGather(std::vector<int32_t> columns, int32_t rowWidth, size_t bytesPerPixel, PixelLoops loops)
    : m_columns(std::move(columns)), m_rowWidth(rowWidth), m_bytesPerPixel(bytesPerPixel) {
  while (m_fourByteColumns < m_columns.size() && m_columns[m_fourByteColumns] + 1 < m_rowWidth) {
    ++m_fourByteColumns;
  }
  if (m_bytesPerPixel == kBytesPerPixel24 && UseWideVectorLoops(loops)) {
    PlanShuffles();
  }
}

// Blocks from the first on, as long as each fits a window inside the row.
void ColumnGather::PlanShuffles() {
  const size_t rowBytes = static_cast<size_t>(m_rowWidth) * kBytesPerPixel24;
  for (size_t first = 0; first + kBlockPixels <= m_columns.size(); first += kBlockPixels) {
    const int32_t start = m_columns[first];
    const size_t window = static_cast<size_t>(start) * kBytesPerPixel24;
    if (window + kWindowBytes > rowBytes) {
      break;
    }
    uint8_t control[kWindowBytes];
    std::memset(control, kShuffleZero, sizeof control);
    bool fits = true;
    for (size_t j = 0; j < kBlockPixels && fits; ++j) {
      const int32_t reach = m_columns[first + j] - start;
      fits = reach >= 0 && reach <= kWindowReach;
      for (size_t c = 0; c < kBytesPerPixel24 && fits; ++c) {
        control[j * kBytesPerPixel24 + c] = static_cast<uint8_t>(static_cast<size_t>(reach) * kBytesPerPixel24 + c);
      }
    }
    if (!fits) {
      break;
    }
    m_windows.push_back(static_cast<int32_t>(window));
    m_shuffles.insert(m_shuffles.end(), control, control + kWindowBytes);
  }
}

void ColumnGather::Gather(const uint8_t *row, uint8_t *out) const {
  size_t first = 0;
#if VOR_SSE2_LOOPS
  if (!m_windows.empty()) {
    ShuffleBlocks(row, m_windows.data(), m_shuffles.data(), m_windows.size(), out);
    first = m_windows.size() * kBlockPixels;
  }
#endif
  GatherFrom(first, row, out);
}

void ColumnGather::GatherFrom(size_t first, const uint8_t *row, uint8_t *out) const {
  const size_t count = m_columns.size();
  if (m_bytesPerPixel == 1) {
    for (size_t i = first; i < count; ++i) {
      out[i] = row[m_columns[i]];
    }
    return;
  }
  // Four bytes at a time, the fourth overwritten by the next pixel; the
  // row's last pixel may end the image, so it is read in three.
  size_t i = first;
  for (; i < m_fourByteColumns; ++i) {
    std::memcpy(out + i * kBytesPerPixel24, row + static_cast<size_t>(m_columns[i]) * kBytesPerPixel24,
                sizeof(uint32_t));
  }
  for (; i < count; ++i) {
    const uint8_t *from = row + static_cast<size_t>(m_columns[i]) * kBytesPerPixel24;
    if (m_columns[i] + 1 < m_rowWidth) {
      std::memcpy(out + i * kBytesPerPixel24, from, sizeof(uint32_t));
    } else {
      std::memcpy(out + i * kBytesPerPixel24, from, kBytesPerPixel24);
    }
  }
}
