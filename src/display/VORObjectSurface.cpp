#include "display/VORObjectSurface.h"

void VORObjectSurface::AddDirtyRect(const VORRect &rect) {
  AddOwnDirtyRect(rect);
  if (m_owner != nullptr) {
    m_owner->AddDirtyRect(rect);
  }
}

void VORObjectSurface::InvalidateAll() {
  const VORRect bounds = GetSurfaceBounds();
  AddOwnDirtyRect(bounds);
  if (m_owner != nullptr) {
    m_owner->AddDirtyRect(bounds);
  }
}

void VORObjectSurface::NotifyOwner(const VORRect &rect) {
  if (m_owner != nullptr) {
    m_owner->AddDirtyRect(rect);
  }
}
