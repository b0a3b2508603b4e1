#pragma once

#include <cstdint>

#include "images/VORGfxImage.h"

class VORResourceManager;
// The system's metafile handle types (pointers to these under STRICT),
// declared here so that this header stays free of the system headers.
struct HENHMETAFILE__; // NOLINT(bugprone-reserved-identifier): the system's own name
struct HMETAFILE__;    // NOLINT(bugprone-reserved-identifier): the system's own name

// A Windows or enhanced metafile resource, made into a metafile handle when
// the image is made and kept until it goes.
class VORMetaFileImage : public VORGfxImage {
public:
  // Larger than this an enhanced metafile resource holds a header.
  static constexpr uint32_t kEnhancedHeaderSize = 100;
  // Larger than this a Windows metafile resource is read.
  static constexpr uint32_t kMinimumWindowsMetafileSize = 40;
  static constexpr uint32_t kPlaceableKey = 0x9AC6CDD7;
  static constexpr uint32_t kPlaceableHeaderSize = 22;
  static constexpr uint32_t kMetaHeaderSize = 18;

  // The size starts as the default rectangle's, replaced by the metafile's
  // own where it has one; the resource is locked only while it is read.
  VORMetaFileImage(uint32_t resourceHandle, const ImageLayout &layout, bool enhanced, const VORRect &defaultRect,
                   VORResourceManager *manager = nullptr);
  ~VORMetaFileImage() override;

  // Plays the metafile into the destination (its proportions kept, centred,
  // with keep aspect), clipped to clip; false without a metafile.
  bool Draw(DrawingContext &context, const VORRect &destination, const VORRect &clip) override;
  // Bits per pixel: -1.
  void GetSize(int32_t &width, int32_t &height, int32_t &bitsPerPixel) override;
  bool MatchesAppPalette() override { return true; }

  bool HasMetafile() const { return m_enhanced != nullptr || m_windows != nullptr; }

private:
  void ReadEnhanced(const uint8_t *memory, uint32_t size);
  void ReadWindows(const uint8_t *memory, uint32_t size);

  HENHMETAFILE__ *m_enhanced = nullptr;
  HMETAFILE__ *m_windows = nullptr;
  int32_t m_width;
  int32_t m_height;
};
