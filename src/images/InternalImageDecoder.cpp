#include "images/InternalImageDecoder.h"

#include <algorithm>
#include <cstring>

#include "display/DibImage.h"
#include "foundation/VORRect.h"
#include "vorfile/LittleEndian.h"

namespace InternalImageDecoder {

namespace {

constexpr uint32_t kFullTableDepth = 8;
constexpr uint32_t kBlockHeaderSize = 3; // pixel count (16 bits), palette size (8 bits)

// The bytes of a part or a frame, read front to back; every read is checked
// against the end.
class ByteCursor {
public:
  ByteCursor(const uint8_t *bytes, uint64_t size) : m_bytes(bytes), m_size(size) {}

  uint64_t Remaining() const { return m_size - m_position; }
  const uint8_t *Here() const { return m_bytes + m_position; }
  bool Skip(uint64_t count) {
    if (count > Remaining())
      return false;
    m_position += count;
    return true;
  }

private:
  const uint8_t *m_bytes;
  uint64_t m_size;
  uint64_t m_position = 0;
};

int32_t Int16At(const uint8_t *bytes) { return static_cast<int16_t>(LittleEndianUint16(bytes)); }

// The rectangle of a part inside the picture; false for one that is empty
// or reaches outside it (it would draw outside the picture's rows).
bool ReadPartRect(const uint8_t *bytes, const DibImage &picture, VORRect &rect) {
  rect.left = Int16At(bytes);
  rect.top = Int16At(bytes + 2);
  rect.right = Int16At(bytes + 4);
  rect.bottom = Int16At(bytes + 6);
  if (rect.left >= rect.right || rect.top >= rect.bottom)
    return false;
  return rect.left >= 0 && rect.top >= 0 && rect.right <= picture.GetWidth() && rect.bottom <= picture.GetHeight();
}

// Where pixels of a part go: left to right along each row of the
// rectangle, rows from the top, one after the other.
class PixelWriter {
public:
  PixelWriter(DibImage &picture, const VORRect &rect, uint32_t bytesPerPixel)
      : m_picture(picture), m_rect(rect), m_bytesPerPixel(bytesPerPixel), m_x(rect.left), m_y(rect.top) {
    StartRow();
  }

  bool Done() const { return m_y >= m_rect.bottom; }
  // Pixels left in the current row.
  uint32_t RowRemaining() const { return static_cast<uint32_t>(m_rect.right - m_x); }
  uint8_t *Here() const { return m_row + static_cast<size_t>(m_x) * m_bytesPerPixel; }
  void Advance(uint32_t pixels) {
    m_x += static_cast<int32_t>(pixels);
    if (m_x >= m_rect.right) {
      m_x = m_rect.left;
      ++m_y;
      StartRow();
    }
  }

  // Up to count copies of one value.
  void Fill(const uint8_t *value, uint32_t count) {
    while (count > 0 && !Done()) {
      const uint32_t run = std::min(count, RowRemaining());
      uint8_t *out = Here();
      if (m_bytesPerPixel == 1) {
        std::memset(out, value[0], run);
      } else {
        // One pixel, then the pixels already written doubled until the run is full.
        const size_t bytes = static_cast<size_t>(run) * m_bytesPerPixel;
        std::memcpy(out, value, m_bytesPerPixel);
        for (size_t done = m_bytesPerPixel; done < bytes; done *= 2)
          std::memcpy(out + done, out, std::min(done, bytes - done));
      }
      Advance(run);
      count -= run;
    }
  }
  // Up to count pixel values stored one after the other.
  void Copy(const uint8_t *values, uint32_t count) {
    while (count > 0 && !Done()) {
      const uint32_t run = std::min(count, RowRemaining());
      std::memcpy(Here(), values, static_cast<size_t>(run) * m_bytesPerPixel);
      values += static_cast<size_t>(run) * m_bytesPerPixel;
      Advance(run);
      count -= run;
    }
  }

private:
  void StartRow() { m_row = Done() ? nullptr : m_picture.GetRowAddress(m_y); }

  DibImage &m_picture;
  VORRect m_rect;
  uint32_t m_bytesPerPixel;
  int32_t m_x;
  int32_t m_y;
  uint8_t *m_row = nullptr;
};

// The number of bits an index into a palette of size entries takes: the
// smallest k with 2^k >= size.
uint32_t IndexBits(uint32_t size) {
  uint32_t bits = 0;
  while ((1u << bits) < size)
    ++bits;
  return bits;
}

// Indices of k bits each (1 to 8), packed from the most significant bit of
// each byte, read through a buffer of bits a byte at a time.
class IndexReader {
public:
  IndexReader(const uint8_t *packed, uint32_t bits) : m_packed(packed), m_bits(bits), m_mask((1u << bits) - 1) {}
  uint32_t Next() {
    if (m_held < m_bits) {
      m_buffer = m_buffer << 8 | *m_packed++;
      m_held += 8;
    }
    m_held -= m_bits;
    return (m_buffer >> m_held) & m_mask;
  }

private:
  const uint8_t *m_packed;
  uint32_t m_bits;
  uint32_t m_mask;
  uint32_t m_buffer = 0;
  uint32_t m_held = 0;
};

// A run of indices into one row, each pixel a fixed number of bytes; answers
// how many went before an index the palette does not hold.
template <uint32_t Bytes>
uint32_t PutIndexRun(uint8_t *out, IndexReader &indices, const uint8_t *palette, uint32_t paletteSize, uint32_t count) {
  for (uint32_t i = 0; i < count; ++i, out += Bytes) {
    const uint32_t index = indices.Next();
    if (index >= paletteSize)
      return i;
    std::memcpy(out, palette + static_cast<size_t>(index) * Bytes, Bytes);
  }
  return count;
}

// Indices of k bits each, packed from the most significant bit of each byte.
// Stops at an index the palette does not hold: the rest of such a block is
// not to be trusted.
bool PutPackedIndices(PixelWriter &writer, const uint8_t *palette, uint32_t paletteSize, uint32_t bytesPerPixel,
                      const uint8_t *packed, uint32_t count) {
  IndexReader indices(packed, IndexBits(paletteSize));
  while (count > 0 && !writer.Done()) {
    const uint32_t run = std::min(count, writer.RowRemaining());
    uint32_t put = 0;
    switch (bytesPerPixel) {
    case 1:
      put = PutIndexRun<1>(writer.Here(), indices, palette, paletteSize, run);
      break;
    case 2:
      put = PutIndexRun<2>(writer.Here(), indices, palette, paletteSize, run);
      break;
    default:
      put = PutIndexRun<3>(writer.Here(), indices, palette, paletteSize, run);
      break;
    }
    writer.Advance(put);
    if (put < run)
      return false;
    count -= run;
  }
  return true;
}

// One block of a "BMPC" part; false when the data ends first or the block
// is malformed (decoding of the part stops there).
bool DecodeBlock(ByteCursor &data, PixelWriter &writer, uint32_t bytesPerPixel) {
  if (data.Remaining() < kBlockHeaderSize)
    return false;
  const uint32_t pixels = LittleEndianUint16(data.Here());
  const uint32_t paletteSize = data.Here()[2];
  data.Skip(kBlockHeaderSize);
  const uint8_t *palette = data.Here();
  if (!data.Skip(static_cast<uint64_t>(paletteSize) * bytesPerPixel))
    return false;
  if (paletteSize == 0) {
    const uint64_t present = data.Remaining() / bytesPerPixel;
    const uint32_t taken = static_cast<uint32_t>(std::min<uint64_t>(pixels, present));
    writer.Copy(data.Here(), taken);
    return taken == pixels && data.Skip(static_cast<uint64_t>(pixels) * bytesPerPixel);
  }
  if (paletteSize == 1) {
    writer.Fill(palette, pixels);
    return true;
  }
  const uint64_t packedBytes = (static_cast<uint64_t>(pixels) * IndexBits(paletteSize) + 7) / 8;
  const uint64_t present = data.Remaining() * 8 / IndexBits(paletteSize);
  const uint32_t taken = static_cast<uint32_t>(std::min<uint64_t>(pixels, present));
  if (!PutPackedIndices(writer, palette, paletteSize, bytesPerPixel, data.Here(), taken))
    return false;
  return taken == pixels && data.Skip(packedBytes);
}

// Runs of blocks; pixels of 8, 16 and 24 bits only (the format defines no
// packing of other depths).
void DecodePackedPart(const uint8_t *pixels, uint64_t size, DibImage &picture, const VORRect &rect) {
  const int32_t depth = picture.GetBitsPerPixel();
  if (depth != 8 && depth != 16 && depth != 24)
    return;
  const uint32_t bytesPerPixel = static_cast<uint32_t>(depth) / 8;
  ByteCursor data(pixels, size);
  PixelWriter writer(picture, rect, bytesPerPixel);
  while (!writer.Done() && DecodeBlock(data, writer, bytesPerPixel)) {
  }
}

// Unpadded rows of the rectangle's width, copied from the byte that holds
// the rectangle's left pixel; as many rows as the data holds whole.
void DecodeRawPart(const uint8_t *pixels, uint64_t size, DibImage &picture, const VORRect &rect) {
  const uint64_t depth = static_cast<uint64_t>(picture.GetBitsPerPixel());
  const uint64_t rowBytes = (static_cast<uint64_t>(rect.right - rect.left) * depth + 7) / 8;
  const uint64_t rows = std::min<uint64_t>(static_cast<uint64_t>(rect.bottom - rect.top), size / rowBytes);
  const uint64_t firstByte = static_cast<uint64_t>(rect.left) * depth / 8;
  for (uint64_t row = 0; row < rows; ++row) {
    uint8_t *out = picture.GetRowAddress(rect.top + static_cast<int32_t>(row));
    std::memcpy(out + firstByte, pixels + row * rowBytes, rowBytes);
  }
}

void DecodePart(uint32_t tag, const uint8_t *data, uint32_t length, DibImage &picture) {
  const bool raw = tag == kRawPartTag && length > kPartRectSize;
  const bool packed = tag == kPackedPartTag && length > kPartRectSize;
  VORRect rect;
  if ((!raw && !packed) || !ReadPartRect(data, picture, rect))
    return;
  if (raw)
    DecodeRawPart(data + kPartRectSize, length - kPartRectSize, picture, rect);
  else
    DecodePackedPart(data + kPartRectSize, length - kPartRectSize, picture, rect);
}

uint32_t ColourTableEntries(const BitmapInfoHeader &info) {
  if (info.biClrUsed != 0)
    return info.biClrUsed;
  return info.biBitCount <= kFullTableDepth ? 1u << info.biBitCount : 0;
}

} // namespace

bool ReadHeader(const uint8_t *bytes, uint32_t size, uint64_t resourceSize, Header &header) {
  header = Header();
  if (size < kHeaderDataOffset + kMinimumHeaderLength || LittleEndianUint32(bytes) != kFileTag ||
      LittleEndianUint32(bytes + 8) != kHeaderTag)
    return false;
  const uint64_t headerLength = LittleEndianUint32(bytes + 12);
  if (headerLength < kMinimumHeaderLength)
    return false;
  BitmapInfoHeader info;
  std::memcpy(&info, bytes + kDibHeaderOffset, sizeof info);
  const uint64_t tableEntries = ColourTableEntries(info);
  // The table must end before the bytes read do (the test is kept strict, as
  // stored files were checked with it).
  const uint64_t tableBytes = tableEntries * sizeof(RgbQuad);
  if (tableEntries > kMaxColorTableEntries || kDibHeaderOffset + sizeof info + tableBytes >= size)
    return false;
  if (info.biSize != kBitmapInfoHeaderSize || info.biCompression != kCompressionRgb || info.biWidth <= 0 ||
      info.biHeight == 0)
    return false;
  DibLayout layout;
  if (!DibImage::ComputeLayout(info, layout) || layout.colorEntries != tableEntries ||
      layout.imageSize > kMaximumPictureBytes)
    return false;

  const uint64_t indexChunk = kHeaderDataOffset + headerLength;
  if (indexChunk + kChunkHeaderSize > size || LittleEndianUint32(bytes + indexChunk) != kIndexTag)
    return false;
  const uint64_t indexLength = LittleEndianUint32(bytes + indexChunk + 4) & ~uint64_t{3};
  const uint64_t indexOffset = indexChunk + kChunkHeaderSize;
  if (indexLength == 0 || indexOffset + indexLength > resourceSize)
    return false;

  header.frameCount = LittleEndianUint32(bytes + kHeaderDataOffset);
  header.timing = LittleEndianUint32(bytes + kHeaderDataOffset + 4);
  header.info.assign(bytes + kDibHeaderOffset, bytes + kDibHeaderOffset + sizeof info + tableBytes);
  header.indexOffset = static_cast<uint32_t>(indexOffset);
  header.indexLength = static_cast<uint32_t>(indexLength);
  header.frameBase = static_cast<uint32_t>(indexOffset + indexLength);
  return true;
}

bool ReadIndex(const uint8_t *bytes, uint32_t size, const Header &header, uint64_t resourceSize,
               std::vector<uint32_t> &offsets) {
  offsets.clear();
  const uint64_t entries = std::min(size, header.indexLength) / 4;
  const uint64_t needed = static_cast<uint64_t>(header.frameCount) + 1;
  if (entries < needed)
    return false;
  offsets.reserve(needed);
  for (uint64_t i = 0; i < needed; ++i) {
    const uint32_t offset = LittleEndianUint32(bytes + i * 4) & kIndexOffsetMask;
    if (!offsets.empty() && offset < offsets.back()) {
      offsets.clear();
      return false;
    }
    offsets.push_back(offset);
  }
  if (header.frameBase + static_cast<uint64_t>(offsets.back()) > resourceSize) {
    offsets.clear();
    return false;
  }
  return true;
}

bool DecodeFrame(const uint8_t *bytes, uint32_t size, DibImage &picture, FrameInfo &info) {
  info = FrameInfo();
  if (size < kFramePartsOffset || LittleEndianUint32(bytes) != kFrameTag ||
      LittleEndianUint32(bytes + 8) != kFrameHeaderTag)
    return false;
  if (LittleEndianUint32(bytes + 12) != kFrameHeaderLength)
    return true;
  info.partCount = LittleEndianUint32(bytes + 16);
  info.time = static_cast<int32_t>(LittleEndianUint32(bytes + 20));
  // The parts fill the frame's length after its header chunk, and never
  // more than the bytes there are.
  const uint64_t frameEnd = std::min<uint64_t>(kChunkHeaderSize + uint64_t{LittleEndianUint32(bytes + 4)}, size);
  if (frameEnd <= kFramePartsOffset)
    return true;
  ByteCursor parts(bytes + kFramePartsOffset, frameEnd - kFramePartsOffset);
  for (uint32_t part = 0; part < info.partCount && parts.Remaining() >= kChunkHeaderSize; ++part) {
    const uint32_t tag = LittleEndianUint32(parts.Here());
    const uint32_t length = LittleEndianUint32(parts.Here() + 4);
    parts.Skip(kChunkHeaderSize);
    const uint8_t *data = parts.Here();
    if (!parts.Skip(length))
      break; // a part longer than its frame
    DecodePart(tag, data, length, picture);
  }
  return true;
}

} // namespace InternalImageDecoder
