#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "display/DibTypes.h"

// Where the parts of a DIB lie, worked out once from its header.
struct DibLayout {
  uint32_t headerSize = 0;   // biSize
  uint32_t maskBytes = 0;    // BI_BITFIELDS channel masks after a 40-byte header
  uint32_t colorEntries = 0; // colour-table entries after the masks
  uint32_t stride = 0;       // bytes per row, padded to 4
  uint32_t imageSize = 0;    // |height| x stride
  int32_t width = 0;
  int32_t height = 0; // absolute
  int32_t bitsPerPixel = 0;
  bool topDown = false;

  uint32_t InfoSize() const { return headerSize + maskBytes + colorEntries * sizeof(RgbQuad); }
};

// An in-memory device-independent bitmap, owned or borrowed, with pixel
// addressing for every depth, one-bit masks (bit 1 covered, 0 transparent,
// leftmost pixel in the most significant bit) and masks made from a key
// colour.
//
// One rule gives the colour table's size everywhere (Create, Attach, Wrap,
// the packed copy): biClrUsed entries when it is set (at most 2 to the depth,
// at most 256), else 2 to the depth up to 8 bits and none above; a 40-byte
// header with BI_BITFIELDS is followed by the three channel masks first.
// Headers that would not fit in memory (sizes overflowing 32 bits), unknown
// depths and compressed formats are refused.
class DibImage {
public:
  static constexpr uint32_t kMaxHeaderSize = 124; // BITMAPV5HEADER
  static constexpr uint32_t kMaxImageSize = kMaxPictureBytes;

  DibImage() = default;
  // Attaches a packed DIB (see Attach).
  DibImage(void *packedDib, size_t blockSize);
  ~DibImage() = default;

  DibImage(const DibImage &) = delete;
  DibImage &operator=(const DibImage &) = delete;

  // Header, colour table and zero-filled pixels in one owned block; the
  // header and its colour table are copied in.
  bool Create(const BitmapInfoHeader *info);
  // Borrows a block of header, colour table and pixels; refused when the
  // block is smaller than its header says.
  bool Attach(void *packedDib, size_t blockSize);
  // Borrows a header (with its colour table) and pixels kept elsewhere.
  bool Wrap(BitmapInfoHeader *info, void *pixels);
  // Owned one-bit mask, zero-filled, of the header's width and height
  // (height sign kept: the mask has the image's orientation).
  bool CreateMask(const BitmapInfoHeader *info);
  // Owned one-bit mask header of the header's width and height over borrowed pixels.
  bool InitMask(const BitmapInfoHeader *info, void *pixels);
  // This becomes a mask of the source's size: bit 0 where the source pixel
  // matches the key, 1 elsewhere. Index pixels past the colour table match no
  // colour key.
  bool MakeKeyMask(const DibImage &source, ColorRef key);
  // Forgets the image, freeing an owned block.
  void Release();

  bool IsValid() const { return m_info != nullptr; }
  bool IsOwned() const { return m_block != nullptr; }
  BitmapInfoHeader *GetInfo() const { return m_info; }
  uint8_t *GetPixels() const { return m_pixels; }
  RgbQuad *GetColorTable() const;
  uint32_t GetColorTableEntries() const { return m_layout.colorEntries; }
  uint32_t GetImageSize() const { return m_layout.imageSize; }
  uint32_t GetStride() const { return m_layout.stride; }
  int32_t GetWidth() const { return m_layout.width; }
  int32_t GetHeight() const { return m_layout.height; }
  int32_t GetBitsPerPixel() const { return m_layout.bitsPerPixel; }
  bool IsTopDown() const { return m_layout.topDown; }
  const DibLayout &GetLayout() const { return m_layout; }

  // Row y counted from the top whatever the orientation; null outside.
  uint8_t *GetRowAddress(int32_t y) const;
  // The byte holding pixel (x, y), y from the top; null outside the image.
  // For depths 1, 2 and 4 shift is the pixel's place in the byte counted in
  // pixels from the least significant end; 0 for other depths.
  uint8_t *GetPixelAddress(int32_t x, int32_t y, int32_t &shift) const;
  // A one-bit image's bit at (x, y); false outside.
  bool IsMaskBitSet(int32_t x, int32_t y) const;

  // A top-down image becomes bottom-up in place.
  void FlipToBottomUp();
  // Copies the other image's pixel bytes; false unless both have the same layout of rows.
  bool CopyBits(const DibImage &other);

  // The image as one bottom-up packed DIB: header, colour table, rows.
  size_t GetPackedSize() const;
  void WritePackedDib(uint8_t *out) const;
  // A new global memory block (GMEM_DDESHARE) holding the packed DIB,
  // returned locked; the caller owns it. Null on failure. Win32 half only.
  void *ToGlobalPackedDib() const;

  // The layout a header describes; false for headers this class refuses.
  static bool ComputeLayout(const BitmapInfoHeader &info, DibLayout &layout);

private:
  bool TakeOwnedBlock(std::unique_ptr<uint8_t[]> block, const DibLayout &layout, bool withPixels);

  std::unique_ptr<uint8_t[]> m_block;
  BitmapInfoHeader *m_info = nullptr;
  uint8_t *m_pixels = nullptr;
  DibLayout m_layout;
};
