// Takes any bytes as the packed DIB an image loader made of a picture file
// and reads it the two ways the player does: as the bytes of an image file
// (its length worked out from the DIB's header, read in pieces after seeks)
// and as a DIB image attached to that memory, whose pixels are then
// addressed, masked by key colours, copied, flipped and packed again. The
// loader's block is exactly as long as the input, so a read past it is a
// sanitizer report; the image file must never present more bytes than the
// block holds, and an attached image never needs more than it was given.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "display/DibImage.h"
#include "support/TempFile.h"
#include "vorfile/XQImageFile.h"

namespace {

constexpr uint32_t kReadChunk = 97;

// The input of the current run, handed out by every loader.
const uint8_t *g_input = nullptr;
uint32_t g_inputSize = 0;

class InputLoader : public XQImageFile::Loader {
public:
  bool Load(const char * /*path*/) override {
    if (g_inputSize == 0)
      return false;
    m_block = std::make_unique<uint8_t[]>(g_inputSize);
    std::memcpy(m_block.get(), g_input, g_inputSize);
    m_size = g_inputSize;
    return true;
  }
  const uint8_t *GetImage() const override { return m_block.get(); }
  uint32_t GetImageBlockSize() const override { return m_size; }

private:
  std::unique_ptr<uint8_t[]> m_block;
  uint32_t m_size = 0;
};

std::unique_ptr<XQImageFile::Loader> MakeInputLoader() { return std::make_unique<InputLoader>(); }

// The image file's bytes as a resource block would take them: one seek and
// one read per piece.
std::vector<uint8_t> ReadImageFile(const char *path) {
  std::vector<uint8_t> bytes;
  XQImageFile file(path);
  if (!file.Open(XQFile::kRead))
    return bytes;
  uint32_t size = 0;
  int32_t time = 0;
  if (!file.GetSizeAndTime(size, time) || size > g_inputSize)
    std::abort(); // the file presents more than the loader holds
  uint8_t chunk[kReadChunk];
  for (uint32_t position = 0; position < size;) {
    uint32_t got = 0;
    if (!file.Seek(static_cast<int32_t>(position), XQFile::kSeekStart) || !file.Read(chunk, sizeof chunk, got) ||
        got == 0 || got > sizeof chunk)
      std::abort(); // a position inside the file reads
    bytes.insert(bytes.end(), chunk, chunk + got);
    position += got;
  }
  if (bytes.size() != size || std::memcmp(bytes.data(), g_input, size) != 0)
    std::abort(); // the file's bytes are the DIB's, from its start
  if (file.Seek(static_cast<int32_t>(size), XQFile::kSeekStart))
    std::abort(); // nothing past the end
  file.Seek(-1, XQFile::kSeekCurrent);
  file.Seek(INT32_MAX, XQFile::kSeekCurrent);
  file.Close();
  return bytes;
}

// Whether [address, address + length) lies among the image's pixel rows.
bool AmongPixels(const DibImage &image, const uint8_t *address, size_t length) {
  const uint8_t *pixels = image.GetPixels();
  return address >= pixels && address + length <= pixels + image.GetImageSize();
}

void TouchPixel(const DibImage &image, int32_t x, int32_t y) {
  int32_t shift = 0;
  const uint8_t *byte = image.GetPixelAddress(x, y, shift);
  const bool inside = x >= 0 && y >= 0 && x < image.GetWidth() && y < image.GetHeight();
  if ((byte != nullptr) != inside || shift < 0 || shift > 7)
    std::abort();
  const size_t pixelBytes = image.GetBitsPerPixel() < 8 ? 1 : static_cast<size_t>(image.GetBitsPerPixel()) / 8;
  if (byte && !AmongPixels(image, byte, pixelBytes))
    std::abort(); // a pixel addressed outside the rows
  const uint8_t *row = image.GetRowAddress(y);
  if ((row != nullptr) != (y >= 0 && y < image.GetHeight()) || (row && !AmongPixels(image, row, image.GetStride())))
    std::abort();
  if (byte) {
    volatile uint8_t value = *byte;
    static_cast<void>(value);
  }
  image.IsMaskBitSet(x, y);
}

void ExerciseImage(const DibImage &image, size_t blockSize) {
  const DibLayout &layout = image.GetLayout();
  if (static_cast<uint64_t>(layout.InfoSize()) + layout.imageSize > blockSize)
    std::abort(); // attached to a block too small for its pixels
  const int32_t width = image.GetWidth();
  const int32_t height = image.GetHeight();
  const int32_t xs[] = {-1, 0, width / 2, width - 1, width};
  const int32_t ys[] = {-1, 0, height / 2, height - 1, height};
  for (int32_t y : ys)
    for (int32_t x : xs)
      TouchPixel(image, x, y);
  if (const uint8_t *row = image.GetRowAddress(height - 1)) {
    volatile uint8_t last = row[layout.stride - 1];
    static_cast<void>(last);
  }

  int32_t shift = 0;
  const uint8_t *first = image.GetPixelAddress(0, 0, shift);
  const ColorRef keys[] = {kPaletteIndexFlag | (first ? *first : 0u), MakeColorRef(255, 0, 255),
                           first ? MakeColorRef(first[0], first[0], first[0]) : 0u};
  for (ColorRef key : keys) {
    DibImage mask;
    if (mask.MakeKeyMask(image, key) && (mask.GetWidth() != width || mask.GetHeight() != height))
      std::abort();
  }

  DibImage copy;
  if (!copy.Create(image.GetInfo()))
    return;
  if (!copy.CopyBits(image))
    std::abort(); // the same header gives the same rows
  copy.FlipToBottomUp();
  std::vector<uint8_t> packed(copy.GetPackedSize());
  copy.WritePackedDib(packed.data());
  DibImage again;
  if (!again.Attach(packed.data(), packed.size()) || again.GetWidth() != width || again.GetHeight() != height ||
      again.IsTopDown())
    std::abort(); // a packed copy is a bottom-up DIB of the same size
  DibImage wrapped;
  wrapped.Wrap(copy.GetInfo(), copy.GetPixels());
  DibImage borrowedMask;
  borrowedMask.InitMask(image.GetInfo(), copy.GetPixels());
}

// The bytes as a DIB image attached to memory of exactly their length.
void AttachImage(const uint8_t *bytes, size_t size) {
  if (size == 0)
    return;
  auto block = std::make_unique<uint8_t[]>(size);
  std::memcpy(block.get(), bytes, size);
  DibImage image;
  if (image.Attach(block.get(), size))
    ExerciseImage(image, size);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  // The image file needs a file to stat; its loader gives the bytes.
  static const TempFile picture(".bmp");
  static const bool ready = [] {
    XQImageFile::SetLoaderFactory(MakeInputLoader);
    return picture.Write(std::vector<uint8_t>{0});
  }();
  if (!ready)
    std::abort();
  if (size > UINT32_MAX)
    return 0;
  g_input = data;
  g_inputSize = static_cast<uint32_t>(size);
  const std::vector<uint8_t> presented = ReadImageFile(picture.Path());
  AttachImage(presented.data(), presented.size());
  AttachImage(data, size);
  return 0;
}
