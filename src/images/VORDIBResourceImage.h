#pragma once

#include <cstdint>

#include "display/DibImage.h"
#include "images/VORDIBImage.h"

class VORResourceManager;

// A picture file resource, which the resource manager holds as a packed
// DIB: borrowed from the locked resource while the image is locked, with a
// mask of its own when the layout names a key colour.
class VORDIBResourceImage : public VORDIBImage {
public:
  // manager: null takes the application's.
  VORDIBResourceImage(uint32_t resourceHandle, const ImageLayout &layout, VORResourceManager *manager = nullptr);
  ~VORDIBResourceImage() override;

  // The first lock locks the resource and takes its memory as a packed DIB;
  // false (count unchanged, resource unlocked again) for a resource that is
  // missing, of another kind, or not a whole packed DIB.
  bool Lock() override;
  int32_t Unlock() override;

  DibImage *GetDib() override { return m_picture.IsValid() ? &m_picture : nullptr; }
  DibImage *GetMaskDib() override { return m_mask.IsValid() ? &m_mask : nullptr; }
  uint32_t GetResourceHandle() const { return m_resourceHandle; }

private:
  VORResourceManager *Manager() const;
  bool LoadPicture(VORResourceManager &manager);
  void FreePicture();

  uint32_t m_resourceHandle;
  VORResourceManager *m_manager;
  DibImage m_picture;
  DibImage m_mask;
};
