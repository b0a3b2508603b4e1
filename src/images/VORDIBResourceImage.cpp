#include "images/VORDIBResourceImage.h"

#include "images/PictureChecks.h"
#include "model/VORApp.h"
#include "model/VORFileKind.h"
#include "model/VORResourceManager.h"

VORDIBResourceImage::VORDIBResourceImage(uint32_t resourceHandle, const ImageLayout &layout,
                                         VORResourceManager *manager)
    : VORDIBImage(layout), m_resourceHandle(resourceHandle), m_manager(manager) {}

VORDIBResourceImage::~VORDIBResourceImage() {
  while (Unlock() > 0) {
  }
}

VORResourceManager *VORDIBResourceImage::Manager() const {
  if (m_manager == nullptr && VORApp::Get())
    return VORApp::Get()->GetResourceManager();
  return m_manager;
}

bool VORDIBResourceImage::Lock() {
  if (m_lockCount == 0) {
    FreePicture();
    VORResourceManager *manager = Manager();
    if (manager == nullptr || !manager->LockResource(m_resourceHandle))
      return false;
    if (!LoadPicture(*manager)) {
      FreePicture();
      manager->ReleaseResourceLock(m_resourceHandle);
      return false;
    }
  }
  return VORDIBImage::Lock();
}

bool VORDIBResourceImage::LoadPicture(VORResourceManager &manager) {
  uint8_t *memory = nullptr;
  uint32_t size = 0;
  if (manager.GetResourceKind(m_resourceHandle) != VORFileKind::kPictureFile ||
      !manager.GetResourceData(m_resourceHandle, memory, size) ||
      !PictureChecks::AttachPackedDib(m_picture, memory, size))
    return false;
  m_layout.right = m_picture.GetWidth();
  m_layout.bottom = m_picture.GetHeight();
  if (m_layout.transparencyKind != ImageLayout::kOpaque)
    return m_mask.MakeKeyMask(m_picture, static_cast<ColorRef>(m_layout.MaskKey()));
  return true;
}

int32_t VORDIBResourceImage::Unlock() {
  if (m_lockCount == 0)
    return 0;
  if (VORDIBImage::Unlock() == 0) {
    FreePicture();
    if (VORResourceManager *manager = Manager())
      manager->ReleaseResourceLock(m_resourceHandle);
  }
  return m_lockCount;
}

void VORDIBResourceImage::FreePicture() {
  m_picture.Release();
  m_mask.Release();
}
