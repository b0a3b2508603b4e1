#include "objects/VORResourceObject.h"

#include "model/VORApp.h"
#include "model/VORResourceManager.h"

namespace {

VORResourceManager *Resources() {
  VORApp *app = VORApp::Get();
  return app != nullptr ? app->GetResourceManager() : nullptr;
}

} // namespace

VORResourceObject::~VORResourceObject() { UnlockAll(); }

void VORResourceObject::EnterPage(VORPageInstance &instance, bool visible) {
  VORObject::EnterPage(instance, visible);
  AcquireResource(0);
}

void VORResourceObject::LeavePage(bool visible) {
  UnlockAll();
  m_handle = 0;
  VORObject::LeavePage(visible);
}

bool VORResourceObject::LockResource() {
  VORResourceManager *resources = Resources();
  if (resources == nullptr || !resources->LockResource(m_handle))
    return false;
  ++m_lockCount;
  return true;
}

void VORResourceObject::ReleaseResourceLock() {
  if (m_lockCount <= 0)
    return;
  if (VORResourceManager *resources = Resources())
    resources->ReleaseResourceLock(m_handle);
  --m_lockCount;
}

void VORResourceObject::UnlockAll() {
  while (m_lockCount > 0)
    ReleaseResourceLock();
}
