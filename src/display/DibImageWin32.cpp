// The global-memory form of a DIB image: the one part of DibImage that needs the system.
#include <windows.h>

#include "display/DibImage.h"

void *DibImage::ToGlobalPackedDib() const {
  const size_t size = GetPackedSize();
  if (size == 0 || m_pixels == nullptr) {
    return nullptr;
  }
  HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, size);
  if (block == nullptr) {
    return nullptr;
  }
  auto *bytes = static_cast<uint8_t *>(::GlobalLock(block));
  if (bytes == nullptr) {
    ::GlobalFree(block);
    return nullptr;
  }
  WritePackedDib(bytes);
  return block; // returned locked: the caller unlocks and frees it
}
