// Takes any bytes as a BMP file: what the reader accepts is decoded into a
// block exactly as long as it asked for (a write past it is a sanitizer
// report), and must come out as a whole bottom-up, uncompressed packed DIB
// that a DIB image attaches to and walks. The same bytes, as text, go through
// the extension look-up of the image loader.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "display/DibImage.h"
#include "images/BmpReader.h"
#include "images/ImageFileFormat.h"

namespace {

// Pictures are decoded up to this size: the reader's own limit is hundreds of
// megabytes, which would take the fuzzer seconds an input without reaching
// code that smaller pictures do not.
constexpr size_t kMaxDecodedSize = size_t{4} << 20;

void CheckDecoded(uint8_t *dib, size_t size) {
  BitmapInfoHeader header;
  std::memcpy(&header, dib, sizeof header);
  if (header.biSize != kBitmapInfoHeaderSize || header.biHeight <= 0 || header.biCompression != kCompressionRgb ||
      header.biClrUsed != 0)
    std::abort(); // the packed DIB is always plain and bottom-up
  DibImage image;
  if (!image.Attach(dib, size) || image.GetPackedSize() != size)
    std::abort(); // exactly what its header describes
  const int32_t width = image.GetWidth();
  const int32_t height = image.GetHeight();
  int32_t shift = 0;
  for (int32_t y : {0, height / 2, height - 1}) {
    for (int32_t x : {0, width / 2, width - 1}) {
      if (image.GetPixelAddress(x, y, shift) == nullptr)
        std::abort();
    }
  }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const std::string name(reinterpret_cast<const char *>(data), strnlen(reinterpret_cast<const char *>(data), size));
  ImageFileFormatOf(FindFileExtension(name.c_str()));

  BmpReader reader;
  if (!reader.Parse(data, size))
    return 0;
  const size_t packedSize = reader.GetPackedSize();
  if (packedSize > kMaxDecodedSize)
    return 0;
  // 64-bit aligned like a global memory block; the reader writes every byte.
  auto block = std::make_unique<uint64_t[]>((packedSize + 7) / 8);
  auto *dib = reinterpret_cast<uint8_t *>(block.get());
  reader.Decode(dib);
  CheckDecoded(dib, packedSize);
  return 0;
}
