#include "images/PictureChecks.h"

#include <cstring>

#include "display/DibImage.h"
#include "display/Palette.h"
#include "vorfile/LittleEndian.h"

namespace PictureChecks {

bool AttachPackedDib(DibImage &image, uint8_t *memory, uint32_t size) {
  image.Release();
  if (memory == nullptr || size < kBitmapInfoHeaderSize || LittleEndianUint32(memory) != kBitmapInfoHeaderSize)
    return false;
  return image.Attach(memory, size);
}

bool ColorTableMatches(const DibImage &picture, const Palette *palette) {
  constexpr int32_t kPaletteDepth = 8;
  if (picture.GetBitsPerPixel() != kPaletteDepth || palette == nullptr || !palette->IsValid())
    return true;
  const uint32_t entries = static_cast<uint32_t>(palette->GetCount());
  if (picture.GetColorTableEntries() < entries)
    return false;
  return std::memcmp(picture.GetColorTable(), palette->GetEntries(), entries * sizeof(RgbQuad)) == 0;
}

} // namespace PictureChecks
