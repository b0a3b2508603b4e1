#include "display/DibImage.h"

#include <cstring>
#include <new>
#include <utility>
#include <vector>

namespace {

constexpr uint32_t kRowAlignmentBits = 32;
constexpr RgbQuad kMaskBlack = {0, 0, 0, 0};
constexpr RgbQuad kMaskWhite = {255, 255, 255, 0};
constexpr uint32_t kMaskEntries = 2;

bool IsKnownDepth(uint32_t bitsPerPixel) {
  switch (bitsPerPixel) {
  case 1:
  case 2:
  case 4:
  case 8:
  case 16:
  case 24:
  case 32:
    return true;
  default:
    return false;
  }
}

uint32_t ColorEntriesOf(const BitmapInfoHeader &info) {
  const uint32_t depth = info.biBitCount;
  if (depth <= 8) {
    const uint32_t full = 1u << depth;
    return info.biClrUsed != 0 && info.biClrUsed < full ? info.biClrUsed : full;
  }
  return info.biClrUsed < kMaxColorTableEntries ? info.biClrUsed : kMaxColorTableEntries;
}

BitmapInfoHeader MaskHeaderFor(const BitmapInfoHeader &info) {
  BitmapInfoHeader mask{};
  mask.biSize = kBitmapInfoHeaderSize;
  mask.biWidth = info.biWidth;
  mask.biHeight = info.biHeight;
  mask.biPlanes = 1;
  mask.biBitCount = 1;
  mask.biCompression = kCompressionRgb;
  mask.biClrUsed = 0;
  return mask;
}

bool SameKeyColor(const RgbQuad &entry, ColorRef key) {
  return entry.red == RedOf(key) && entry.green == GreenOf(key) && entry.blue == BlueOf(key);
}

} // namespace

DibImage::DibImage(void *packedDib, size_t blockSize) { Attach(packedDib, blockSize); }

bool DibImage::ComputeLayout(const BitmapInfoHeader &info, DibLayout &layout) {
  if (info.biSize < kBitmapInfoHeaderSize || info.biSize > kMaxHeaderSize) {
    return false;
  }
  if (info.biWidth <= 0 || info.biHeight == 0 || info.biHeight == INT32_MIN || !IsKnownDepth(info.biBitCount)) {
    return false;
  }
  const bool bitFields = info.biCompression == kCompressionBitFields;
  if (info.biCompression != kCompressionRgb && !(bitFields && (info.biBitCount == 16 || info.biBitCount == 32))) {
    return false;
  }
  const uint64_t rowBits = static_cast<uint64_t>(info.biWidth) * info.biBitCount;
  const uint64_t stride = (rowBits + kRowAlignmentBits - 1) / kRowAlignmentBits * (kRowAlignmentBits / 8);
  const int64_t height = info.biHeight < 0 ? -static_cast<int64_t>(info.biHeight) : info.biHeight;
  const uint64_t imageSize = stride * static_cast<uint64_t>(height);
  if (imageSize > kMaxImageSize) {
    return false;
  }
  layout.headerSize = info.biSize;
  layout.maskBytes = bitFields && info.biSize == kBitmapInfoHeaderSize ? kBitFieldMaskCount * sizeof(uint32_t) : 0;
  layout.colorEntries = ColorEntriesOf(info);
  layout.stride = static_cast<uint32_t>(stride);
  layout.imageSize = static_cast<uint32_t>(imageSize);
  layout.width = info.biWidth;
  layout.height = static_cast<int32_t>(height);
  layout.bitsPerPixel = info.biBitCount;
  layout.topDown = info.biHeight < 0;
  return true;
}

void DibImage::Release() {
  m_block.reset();
  m_info = nullptr;
  m_pixels = nullptr;
  m_layout = DibLayout();
}

bool DibImage::TakeOwnedBlock(std::unique_ptr<uint8_t[]> block, const DibLayout &layout, bool withPixels) {
  m_block = std::move(block);
  m_info = reinterpret_cast<BitmapInfoHeader *>(m_block.get());
  m_pixels = withPixels ? m_block.get() + layout.InfoSize() : nullptr;
  m_layout = layout;
  return true;
}

bool DibImage::Create(const BitmapInfoHeader *info) {
  Release();
  DibLayout layout;
  if (info == nullptr || !ComputeLayout(*info, layout)) {
    return false;
  }
  const size_t total = static_cast<size_t>(layout.InfoSize()) + layout.imageSize;
  std::unique_ptr<uint8_t[]> block(new (std::nothrow) uint8_t[total]());
  if (!block) {
    return false;
  }
  std::memcpy(block.get(), info, layout.InfoSize());
  return TakeOwnedBlock(std::move(block), layout, true);
}

bool DibImage::Attach(void *packedDib, size_t blockSize) {
  Release();
  if (packedDib == nullptr || blockSize < kBitmapInfoHeaderSize ||
      reinterpret_cast<uintptr_t>(packedDib) % alignof(BitmapInfoHeader) != 0) {
    return false;
  }
  auto *info = static_cast<BitmapInfoHeader *>(packedDib);
  DibLayout layout;
  if (!ComputeLayout(*info, layout) || static_cast<uint64_t>(layout.InfoSize()) + layout.imageSize > blockSize) {
    return false;
  }
  m_info = info;
  m_pixels = static_cast<uint8_t *>(packedDib) + layout.InfoSize();
  m_layout = layout;
  return true;
}

bool DibImage::Wrap(BitmapInfoHeader *info, void *pixels) {
  Release();
  DibLayout layout;
  if (info == nullptr || pixels == nullptr || !ComputeLayout(*info, layout)) {
    return false;
  }
  m_info = info;
  m_pixels = static_cast<uint8_t *>(pixels);
  m_layout = layout;
  return true;
}

bool DibImage::CreateMask(const BitmapInfoHeader *info) {
  Release();
  if (info == nullptr) {
    return false;
  }
  const BitmapInfoHeader header = MaskHeaderFor(*info);
  DibLayout layout;
  if (!ComputeLayout(header, layout)) {
    return false;
  }
  const size_t total = static_cast<size_t>(layout.InfoSize()) + layout.imageSize;
  std::unique_ptr<uint8_t[]> block(new (std::nothrow) uint8_t[total]());
  if (!block) {
    return false;
  }
  std::memcpy(block.get(), &header, sizeof header);
  const RgbQuad entries[kMaskEntries] = {kMaskBlack, kMaskWhite};
  std::memcpy(block.get() + sizeof header, entries, sizeof entries);
  return TakeOwnedBlock(std::move(block), layout, true);
}

bool DibImage::InitMask(const BitmapInfoHeader *info, void *pixels) {
  Release();
  if (info == nullptr || pixels == nullptr) {
    return false;
  }
  const BitmapInfoHeader header = MaskHeaderFor(*info);
  DibLayout layout;
  if (!ComputeLayout(header, layout)) {
    return false;
  }
  std::unique_ptr<uint8_t[]> block(new (std::nothrow) uint8_t[layout.InfoSize()]());
  if (!block) {
    return false;
  }
  std::memcpy(block.get(), &header, sizeof header);
  const RgbQuad entries[kMaskEntries] = {kMaskBlack, kMaskWhite};
  std::memcpy(block.get() + sizeof header, entries, sizeof entries);
  TakeOwnedBlock(std::move(block), layout, false);
  m_pixels = static_cast<uint8_t *>(pixels);
  return true;
}

RgbQuad *DibImage::GetColorTable() const {
  if (m_info == nullptr || m_layout.colorEntries == 0) {
    return nullptr;
  }
  return reinterpret_cast<RgbQuad *>(reinterpret_cast<uint8_t *>(m_info) + m_layout.headerSize + m_layout.maskBytes);
}

uint8_t *DibImage::GetRowAddress(int32_t y) const {
  if (m_pixels == nullptr || y < 0 || y >= m_layout.height) {
    return nullptr;
  }
  const uint32_t storedRow =
      m_layout.topDown ? static_cast<uint32_t>(y) : static_cast<uint32_t>(m_layout.height - y - 1);
  return m_pixels + static_cast<size_t>(storedRow) * m_layout.stride;
}

uint8_t *DibImage::GetPixelAddress(int32_t x, int32_t y, int32_t &shift) const {
  shift = 0;
  uint8_t *row = GetRowAddress(y);
  if (row == nullptr || x < 0 || x >= m_layout.width) {
    return nullptr;
  }
  const uint32_t depth = static_cast<uint32_t>(m_layout.bitsPerPixel);
  if (depth < 8) {
    const uint32_t perByte = 8 / depth;
    shift = static_cast<int32_t>(perByte - 1 - static_cast<uint32_t>(x) % perByte);
  }
  return row + static_cast<size_t>(x) * depth / 8;
}

bool DibImage::IsMaskBitSet(int32_t x, int32_t y) const {
  int32_t shift = 0;
  const uint8_t *byte = GetPixelAddress(x, y, shift);
  return byte != nullptr && m_layout.bitsPerPixel == 1 && ((*byte >> shift) & 1) != 0;
}

void DibImage::FlipToBottomUp() {
  if (m_info == nullptr || !m_layout.topDown) {
    return;
  }
  m_info->biHeight = -m_info->biHeight;
  m_layout.topDown = false;
  std::vector<uint8_t> swap(m_layout.stride);
  for (int32_t i = 0, j = m_layout.height - 1; i < j; ++i, --j) {
    uint8_t *a = m_pixels + static_cast<size_t>(i) * m_layout.stride;
    uint8_t *b = m_pixels + static_cast<size_t>(j) * m_layout.stride;
    std::memcpy(swap.data(), a, m_layout.stride);
    std::memcpy(a, b, m_layout.stride);
    std::memcpy(b, swap.data(), m_layout.stride);
  }
}

bool DibImage::CopyBits(const DibImage &other) {
  if (m_pixels == nullptr || other.m_pixels == nullptr || other.m_layout.imageSize != m_layout.imageSize) {
    return false;
  }
  std::memmove(m_pixels, other.m_pixels, m_layout.imageSize);
  return true;
}

bool DibImage::MakeKeyMask(const DibImage &source, ColorRef key) {
  if (&source == this || !source.IsValid() || source.m_pixels == nullptr || !CreateMask(source.m_info)) {
    return false;
  }
  const int32_t depth = source.m_layout.bitsPerPixel;
  const RgbQuad *table = source.GetColorTable();
  const uint32_t entries = source.m_layout.colorEntries;
  const uint8_t keyRed = RedOf(key), keyGreen = GreenOf(key), keyBlue = BlueOf(key);

  auto matches = [&](int32_t x, int32_t y) {
    int32_t shift = 0;
    const uint8_t *p = source.GetPixelAddress(x, y, shift);
    if (depth <= 8) {
      const uint32_t index = (static_cast<uint32_t>(*p) >> (shift * depth)) & ((1u << depth) - 1);
      if (IsPaletteIndex(key)) {
        return index == (key & 0xFF);
      }
      return index < entries && SameKeyColor(table[index], key);
    }
    if (depth == 16) {
      const uint32_t pixel = static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8;
      return ((pixel & 0x7C00) >> 7) == keyRed && ((pixel & 0x3E0) >> 2) == keyGreen &&
             ((pixel & 0x1F) << 3) == keyBlue;
    }
    return p[0] == keyBlue && p[1] == keyGreen && p[2] == keyRed;
  };

  for (int32_t y = 0; y < m_layout.height; ++y) {
    uint8_t *row = GetRowAddress(y);
    for (int32_t x = 0; x < m_layout.width; ++x) {
      if (!matches(x, y)) {
        row[x >> 3] = static_cast<uint8_t>(row[x >> 3] | (0x80 >> (x & 7)));
      }
    }
  }
  return true;
}

size_t DibImage::GetPackedSize() const {
  if (m_info == nullptr) {
    return 0;
  }
  return static_cast<size_t>(m_layout.InfoSize()) + m_layout.imageSize;
}

void DibImage::WritePackedDib(uint8_t *out) const {
  if (m_info == nullptr || m_pixels == nullptr) {
    return;
  }
  std::memcpy(out, m_info, m_layout.InfoSize());
  auto *header = reinterpret_cast<BitmapInfoHeader *>(out);
  header->biHeight = m_layout.height;
  uint8_t *rows = out + m_layout.InfoSize();
  for (int32_t stored = 0; stored < m_layout.height; ++stored) {
    // Stored row 0 of a bottom-up block is the image's bottom row.
    const uint8_t *source = GetRowAddress(m_layout.height - 1 - stored);
    std::memcpy(rows + static_cast<size_t>(stored) * m_layout.stride, source, m_layout.stride);
  }
}
