#include "transitions/FXPixels.h"

#include <algorithm>
#include <cstring>

#include "display/SimdSupport.h"

namespace {

VORRect Clip(const VORRect &area, const VORRect &bounds) {
  VORRect clipped;
  if (!clipped.Intersect(area, bounds))
    return VORRect(0, 0, 0, 0);
  return clipped;
}

constexpr int32_t kWordPixels = 32;

// Pixels [x, end) of one word of the mask, each new where its bit is set.
// A dissolve's bits fall at random: choosing without a branch keeps the
// processor from guessing each pixel wrong half the time.
void ChooseRun(uint32_t *o, const uint32_t *p, const uint32_t *n, uint32_t word, int32_t x, int32_t end) {
  for (int32_t i = x; i < end; ++i) {
    const uint32_t takeNew = 0u - ((word >> (i & 31)) & 1u);
    o[i] = (n[i] & takeNew) | (p[i] & ~takeNew);
  }
}

#if VOR_SSE2_LOOPS
// The same for a whole word, four pixels a step: each lane tests its own bit.
VOR_TARGET_SSE2 void ChooseWordSse2(uint32_t *o, const uint32_t *p, const uint32_t *n, uint32_t word) {
  const __m128i laneBits = _mm_set_epi32(8, 4, 2, 1);
  for (int32_t i = 0; i < kWordPixels; i += 4) {
    const __m128i bits = _mm_set1_epi32(static_cast<int32_t>(word >> i));
    const __m128i takeNew = _mm_cmpeq_epi32(_mm_and_si128(bits, laneBits), laneBits);
    const __m128i fromNew = _mm_and_si128(takeNew, _mm_loadu_si128(reinterpret_cast<const __m128i *>(n + i)));
    const __m128i fromOld = _mm_andnot_si128(takeNew, _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + i)));
    _mm_storeu_si128(reinterpret_cast<__m128i *>(o + i), _mm_or_si128(fromNew, fromOld));
  }
}
#else
void ChooseWordSse2(uint32_t *o, const uint32_t *p, const uint32_t *n, uint32_t word) {
  ChooseRun(o, p, n, word, 0, kWordPixels);
}
#endif

} // namespace

bool FXImage::Resize(int32_t w, int32_t h) {
  if (w <= 0 || h <= 0 || static_cast<uint64_t>(w) * static_cast<uint64_t>(h) > kMaxPixels) {
    width = height = 0;
    m_own.clear();
    m_data = nullptr;
    m_stride = 0;
    return false;
  }
  width = w;
  height = h;
  m_own.assign(static_cast<size_t>(w) * static_cast<size_t>(h), 0);
  m_data = m_own.data();
  m_stride = static_cast<size_t>(w);
  return true;
}

void FXImage::Attach(uint32_t *bits, int32_t w, int32_t h, int32_t stride) {
  m_own.clear();
  m_data = bits;
  width = bits != nullptr ? w : 0;
  height = bits != nullptr ? h : 0;
  m_stride = static_cast<size_t>(std::max(stride, width));
}

void FXImage::Fill(uint32_t colour) {
  for (int32_t y = 0; y < height; ++y)
    std::fill(Row(y), Row(y) + width, colour);
}

bool FXMask::Resize(int32_t w, int32_t h) {
  if (w <= 0 || h <= 0 || static_cast<uint64_t>(w) * static_cast<uint64_t>(h) > FXImage::kMaxPixels) {
    m_width = m_height = 0;
    m_stride = 0;
    m_words.clear();
    return false;
  }
  m_width = w;
  m_height = h;
  m_stride = (static_cast<size_t>(w) + 31) / 32;
  m_words.assign(m_stride * static_cast<size_t>(h), 0);
  return true;
}

void FXMask::Fill(bool set) { std::fill(m_words.begin(), m_words.end(), set ? 0xFFFFFFFFu : 0u); }

void FXMask::Set(int32_t x, int32_t y, bool set) {
  if (x < 0 || y < 0 || x >= m_width || y >= m_height)
    return;
  uint32_t &word = m_words[static_cast<size_t>(y) * m_stride + static_cast<size_t>(x >> 5)];
  const uint32_t bit = 1u << (x & 31);
  word = set ? (word | bit) : (word & ~bit);
}

void FXMask::SetSpan(int32_t y, int32_t x0, int32_t x1, bool set) {
  if (y < 0 || y >= m_height)
    return;
  x0 = std::max(x0, 0);
  x1 = std::min(x1, m_width);
  uint32_t *row = m_words.data() + static_cast<size_t>(y) * m_stride;
  while (x0 < x1) {
    const int32_t bit = x0 & 31;
    const int32_t count = std::min(32 - bit, x1 - x0);
    const uint32_t bits = (count == 32 ? 0xFFFFFFFFu : ((1u << count) - 1u)) << bit;
    uint32_t &word = row[x0 >> 5];
    word = set ? (word | bits) : (word & ~bits);
    x0 += count;
  }
}

void FXMask::SetRect(const VORRect &rect, bool set) {
  const int32_t top = std::max(rect.top, 0);
  const int32_t bottom = std::min(rect.bottom, m_height);
  for (int32_t y = top; y < bottom; ++y)
    SetSpan(y, rect.left, rect.right, set);
}

namespace FXCompose {

uint32_t PixelOf(uint32_t colorref) {
  return ((colorref & 0xFFu) << 16) | (colorref & 0xFF00u) | ((colorref >> 16) & 0xFFu);
}

void Copy(FXImage &out, const FXImage &source, const VORRect &area, int32_t shiftX, int32_t shiftY) {
  VORRect part = Clip(area, out.Bounds());
  part = Clip(part, source.Bounds().Offset(shiftX, shiftY));
  if (part.IsEmpty())
    return;
  const size_t bytes = static_cast<size_t>(part.right - part.left) * sizeof(uint32_t);
  for (int32_t y = part.top; y < part.bottom; ++y)
    std::memcpy(out.Row(y) + part.left, source.Row(y - shiftY) + (part.left - shiftX), bytes);
}

void Blend(FXImage &out, const FXImage &oldPicture, const FXImage &newPicture, const VORRect &area, int32_t level) {
  const VORRect part = Clip(Clip(Clip(area, out.Bounds()), oldPicture.Bounds()), newPicture.Bounds());
  if (part.IsEmpty())
    return;
  const uint32_t a = static_cast<uint32_t>(std::clamp(level, 0, 256));
  const uint32_t b = 256 - a;
  for (int32_t y = part.top; y < part.bottom; ++y) {
    uint32_t *o = out.Row(y);
    const uint32_t *p = oldPicture.Row(y);
    const uint32_t *n = newPicture.Row(y);
    for (int32_t x = part.left; x < part.right; ++x) {
      // Red and blue together, then green: two multiplies per pixel.
      const uint32_t rb = (((p[x] & 0xFF00FFu) * b + (n[x] & 0xFF00FFu) * a) >> 8) & 0xFF00FFu;
      const uint32_t g = (((p[x] & 0x00FF00u) * b + (n[x] & 0x00FF00u) * a) >> 8) & 0x00FF00u;
      o[x] = rb | g;
    }
  }
}

void BlendColour(FXImage &out, const VORRect &area, uint32_t colorref, int32_t level) {
  const VORRect part = Clip(area, out.Bounds());
  if (part.IsEmpty())
    return;
  const uint32_t colour = PixelOf(colorref);
  const uint32_t a = static_cast<uint32_t>(std::clamp(level, 0, 256));
  const uint32_t b = 256 - a;
  const uint32_t rbColour = (colour & 0xFF00FFu) * a;
  const uint32_t gColour = (colour & 0x00FF00u) * a;
  for (int32_t y = part.top; y < part.bottom; ++y) {
    uint32_t *o = out.Row(y);
    for (int32_t x = part.left; x < part.right; ++x) {
      const uint32_t rb = (((o[x] & 0xFF00FFu) * b + rbColour) >> 8) & 0xFF00FFu;
      const uint32_t g = (((o[x] & 0x00FF00u) * b + gColour) >> 8) & 0x00FF00u;
      o[x] = rb | g;
    }
  }
}

void ThroughMask(FXImage &out, const FXImage &oldPicture, const FXImage &newPicture, const FXMask &mask,
                 const VORRect &area, PixelLoops loops) {
  VORRect part = Clip(Clip(Clip(area, out.Bounds()), oldPicture.Bounds()), newPicture.Bounds());
  part = Clip(part, VORRect(0, 0, mask.Width(), mask.Height()));
  if (part.IsEmpty())
    return;
  const bool vector = loops == PixelLoops::kVector && VOR_SSE2_LOOPS;
  for (int32_t y = part.top; y < part.bottom; ++y) {
    uint32_t *o = out.Row(y);
    const uint32_t *p = oldPicture.Row(y);
    const uint32_t *n = newPicture.Row(y);
    const uint32_t *bits = mask.Row(y);
    int32_t x = part.left;
    while (x < part.right) {
      const uint32_t word = bits[x >> 5];
      const int32_t end = std::min(part.right, (x | 31) + 1);
      if (word == 0 || word == 0xFFFFFFFFu) {
        // Whole words of one kind are copied as runs.
        std::memcpy(o + x, (word != 0 ? n : p) + x, static_cast<size_t>(end - x) * sizeof(uint32_t));
      } else if (vector && end - x == kWordPixels) {
        ChooseWordSse2(o + x, p + x, n + x, word);
      } else {
        ChooseRun(o, p, n, word, x, end);
      }
      x = end;
    }
  }
}

void Stretch(FXImage &out, const FXImage &source, const VORRect &sourceRect, const VORRect &targetRect,
             const VORRect &area) {
  const VORRect part = Clip(Clip(area, targetRect), out.Bounds());
  const VORRect from = Clip(sourceRect, source.Bounds());
  if (part.IsEmpty() || from.IsEmpty() || targetRect.IsEmpty())
    return;
  const int64_t tw = targetRect.Width();
  const int64_t th = targetRect.Height();
  const int64_t sw = from.Width();
  const int64_t sh = from.Height();
  std::vector<int32_t> columns(static_cast<size_t>(part.right - part.left));
  for (int32_t x = part.left; x < part.right; ++x)
    columns[static_cast<size_t>(x - part.left)] = static_cast<int32_t>(from.left + (x - targetRect.left) * sw / tw);
  for (int32_t y = part.top; y < part.bottom; ++y) {
    const int32_t sy = static_cast<int32_t>(from.top + (y - targetRect.top) * sh / th);
    const uint32_t *s = source.Row(sy);
    uint32_t *o = out.Row(y);
    for (int32_t x = part.left; x < part.right; ++x)
      o[x] = s[columns[static_cast<size_t>(x - part.left)]];
  }
}

} // namespace FXCompose
