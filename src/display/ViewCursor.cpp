#include "display/ViewCursor.h"

#include <cstdlib>

namespace {

constexpr int kHexadecimal = 16;

} // namespace

ViewCursor::ViewCursor(Platform &platform) : m_platform(platform) {
  m_arrow = m_platform.LoadSystemCursor(kArrowId);
  m_handle = m_arrow;
}

ViewCursor::~ViewCursor() {
  if (m_owned && m_handle != nullptr)
    m_platform.DestroyCursor(m_handle);
}

bool ViewCursor::IsSystemName(const VORString &name) { return name.GetLength() > 0 && name.CStr()[0] == '%'; }

void ViewCursor::SetObjectCursor(const VORExternalResourceIdentifier *identifier) {
  if (identifier == nullptr)
    return;
  if (identifier->GetFileName().GetLength() > 0) {
    m_wanted = *identifier;
    m_updateWanted = true;
  } else if (m_handle != m_arrow) {
    m_updateWanted = true;
  }
}

bool ViewCursor::Load(const VORExternalResourceIdentifier &identifier, Handle &handle, bool &owned) {
  const VORString &name = identifier.GetFileName();
  if (IsSystemName(name)) {
    const long id = std::strtol(name.CStr() + 1, nullptr, kHexadecimal);
    handle = m_platform.LoadSystemCursor(static_cast<int32_t>(id));
    owned = false;
  } else {
    VORString path;
    if (!m_platform.ResolvePath(identifier, path))
      return false;
    handle = m_platform.LoadCursorFile(path.CStr());
    owned = handle != nullptr;
  }
  if (handle == nullptr) {
    handle = m_arrow;
    owned = false;
  }
  return true;
}

void ViewCursor::Update(const VORExternalResourceIdentifier *publicationCursor) {
  if (publicationCursor != nullptr)
    m_wanted = *publicationCursor;
  const bool wantedEmpty = m_wanted.GetFileName().GetLength() == 0;
  if (wantedEmpty || m_wanted.Equals(m_current)) {
    if (m_handle != nullptr && m_platform.GetCursor() != m_handle)
      m_platform.SetCursor(m_handle);
    m_updateWanted = false;
    return;
  }
  Handle handle = nullptr;
  bool owned = false;
  if (!Load(m_wanted, handle, owned)) {
    m_updateWanted = false;
    return;
  }
  m_platform.SetCursor(handle);
  // Only a shape the view loaded from a file is its own to destroy: the
  // system's shapes are shared.
  if (m_owned && m_handle != nullptr && m_handle != handle)
    m_platform.DestroyCursor(m_handle);
  m_handle = handle;
  m_owned = owned;
  m_current = m_wanted;
  m_updateWanted = false;
}
