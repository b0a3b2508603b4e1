#pragma once

#include <cstdint>

#include "images/InternalImageReader.h"
#include "images/VORDIBImage.h"

class VORResourceManager;

// The first frame of a picture in the internal format, decoded on the first
// lock and freed on the last unlock.
class VORInternalImage : public VORDIBImage {
public:
  // manager: null takes the application's.
  VORInternalImage(uint32_t resourceHandle, const ImageLayout &layout, VORResourceManager *manager = nullptr);
  ~VORInternalImage() override;

  // The first lock reads the whole resource and decodes frame 0; false when
  // either fails.
  bool Lock() override;
  int32_t Unlock() override;

  DibImage *GetDib() override { return m_reader.GetFrameImage(); }
  DibImage *GetMaskDib() override { return m_reader.GetMaskImage(); }
  InternalImageReader &GetReader() { return m_reader; }

private:
  InternalImageReader m_reader;
};
