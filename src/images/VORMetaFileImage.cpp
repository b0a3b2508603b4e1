#include "images/VORMetaFileImage.h"

#include <windows.h>

#include "display/DrawingContext.h"
#include "display/DrawingContextSaver.h"
#include "model/VORApp.h"
#include "model/VORResourceManager.h"
#include "vorfile/LittleEndian.h"

namespace {

// The placeable header's bounding box: left, top, right, bottom (16 bits).
constexpr uint32_t kPlaceableLeft = 6;
constexpr uint32_t kPlaceableTop = 8;
constexpr uint32_t kPlaceableRight = 10;
constexpr uint32_t kPlaceableBottom = 12;
// The metafile header's size in 16-bit words.
constexpr uint32_t kMetaSizeWords = 6;

int32_t Int16At(const uint8_t *bytes) { return static_cast<int16_t>(LittleEndianUint16(bytes)); }

} // namespace

VORMetaFileImage::VORMetaFileImage(uint32_t resourceHandle, const ImageLayout &layout, bool enhanced,
                                   const VORRect &defaultRect, VORResourceManager *manager)
    : VORGfxImage(layout), m_width(static_cast<int32_t>(defaultRect.Width())),
      m_height(static_cast<int32_t>(defaultRect.Height())) {
  if (manager == nullptr && VORApp::Get())
    manager = VORApp::Get()->GetResourceManager();
  if (manager != nullptr && manager->LockResource(resourceHandle)) {
    uint8_t *memory = nullptr;
    uint32_t size = 0;
    if (manager->GetResourceData(resourceHandle, memory, size) && memory != nullptr) {
      if (enhanced)
        ReadEnhanced(memory, size);
      else
        ReadWindows(memory, size);
    }
    manager->ReleaseResourceLock(resourceHandle);
  }
  m_lockCount = 1;
}

VORMetaFileImage::~VORMetaFileImage() {
  if (m_enhanced != nullptr)
    DeleteEnhMetaFile(m_enhanced);
  if (m_windows != nullptr)
    DeleteMetaFile(m_windows);
}

void VORMetaFileImage::ReadEnhanced(const uint8_t *memory, uint32_t size) {
  if (size <= kEnhancedHeaderSize)
    return;
  m_enhanced = SetEnhMetaFileBits(size, memory);
  ENHMETAHEADER header{};
  if (m_enhanced != nullptr && GetEnhMetaFileHeader(m_enhanced, sizeof header, &header) != 0) {
    m_width = header.rclBounds.right - header.rclBounds.left;
    m_height = header.rclBounds.bottom - header.rclBounds.top;
  }
}

void VORMetaFileImage::ReadWindows(const uint8_t *memory, uint32_t size) {
  if (size <= kMinimumWindowsMetafileSize)
    return;
  if (LittleEndianUint32(memory) == kPlaceableKey) {
    m_width = Int16At(memory + kPlaceableRight) - Int16At(memory + kPlaceableLeft);
    m_height = Int16At(memory + kPlaceableBottom) - Int16At(memory + kPlaceableTop);
    memory += kPlaceableHeaderSize;
    size -= kPlaceableHeaderSize;
  }
  if (size < kMetaHeaderSize)
    return;
  const uint64_t bytes = uint64_t{LittleEndianUint32(memory + kMetaSizeWords)} * 2;
  if (bytes < kMetaHeaderSize || bytes > size)
    return;
  m_windows = SetMetaFileBitsEx(static_cast<UINT>(bytes), memory);
}

bool VORMetaFileImage::Draw(DrawingContext &context, const VORRect &destination, const VORRect &clip) {
  if (!HasMetafile())
    return false;
  VORRect target = destination;
  if (m_layout.keepAspect != 0)
    target.FitInside(VORRect(0, 0, m_width, m_height), true);
  DrawingContextSaver saver(context);
  context.SetClipRect(clip);
  if (m_enhanced != nullptr)
    context.PlayEnhMetaFile(m_enhanced, target);
  else
    context.PlayMetaFile(m_windows, target);
  return true;
}

void VORMetaFileImage::GetSize(int32_t &width, int32_t &height, int32_t &bitsPerPixel) {
  width = m_width;
  height = m_height;
  bitsPerPixel = -1;
}
