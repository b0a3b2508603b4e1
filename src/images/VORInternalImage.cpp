#include "images/VORInternalImage.h"

VORInternalImage::VORInternalImage(uint32_t resourceHandle, const ImageLayout &layout, VORResourceManager *manager)
    : VORDIBImage(layout), m_reader(resourceHandle, layout.MaskKey(), manager) {}

VORInternalImage::~VORInternalImage() {
  while (Unlock() > 0) {
  }
}

bool VORInternalImage::Lock() {
  if (m_lockCount == 0) {
    if (!m_reader.Open(true))
      return false;
    m_layout.right = m_reader.GetWidth();
    m_layout.bottom = m_reader.GetHeight();
    if (!m_reader.ReadFrame(0)) {
      m_reader.Close();
      return false;
    }
  }
  return VORDIBImage::Lock();
}

int32_t VORInternalImage::Unlock() {
  if (m_lockCount == 0)
    return 0;
  if (VORDIBImage::Unlock() == 0)
    m_reader.Close();
  return m_lockCount;
}
