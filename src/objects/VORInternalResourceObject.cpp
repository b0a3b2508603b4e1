#include "objects/VORInternalResourceObject.h"

#include "model/VORApp.h"
#include "model/VORClassRegistry.h"
#include "model/VORResourceManager.h"

namespace {

const ClassRegistration kRegistration(VORInternalResourceObject::kCategory, VORInternalResourceObject::kCode,
                                      VORPlayerInternalResourceObject::Create);

} // namespace

VORInternalResourceObject::VORInternalResourceObjectProperties::~VORInternalResourceObjectProperties() = default;

void VORInternalResourceObject::VORInternalResourceObjectProperties::Read(VORFile &file) {
  VORObjectObjectProperties::Read(file);
  identifier.Read(file);
  kindFlag = 1;
  value = 0;
}

void VORInternalResourceObject::VORInternalResourceObjectProperties::Assign(const VORObjectProperties &other) {
  if (const auto *source = dynamic_cast<const VORInternalResourceObjectProperties *>(&other))
    *this = *source;
}

VORInternalResourceObject::~VORInternalResourceObject() = default;

VORInternalResourceObject::VORInternalResourceObjectProperties &
VORInternalResourceObject::GetInternalResourceProperties() {
  return static_cast<VORInternalResourceObjectProperties &>(*GetProperties());
}

const VORInternalResourceObject::VORInternalResourceObjectProperties &
VORInternalResourceObject::GetInternalResourceProperties() const {
  return const_cast<VORInternalResourceObject *>(this)->GetInternalResourceProperties();
}

uint32_t VORInternalResourceObject::OpenFor(const VORObjectCode &user, uint32_t flag) {
  const VORInternalResourceObjectProperties &properties = GetInternalResourceProperties();
  VORApp *app = VORApp::Get();
  VORResourceManager *resources = app != nullptr ? app->GetResourceManager() : nullptr;
  if (resources == nullptr)
    return 0;
  const int32_t storage = properties.kindFlag != 0 ? kStorageRead : kStorageMade;
  const uint32_t handle = resources->OpenInternalResource(properties.identifier, storage, properties.value, flag);
  resources->AddResourceUser(handle, user);
  return handle;
}

uint32_t VORInternalResourceObject::AcquireResource(uint32_t flag) {
  UnlockAll();
  SetResourceHandle(OpenFor(GetPageReference(), flag));
  return GetResourceHandle();
}

uint32_t VORInternalResourceObject::RegisterResourceUser(const VORObjectCode &user) { return OpenFor(user, 0); }

int32_t VORInternalResourceObject::GetResourceId() const {
  return GetInternalResourceProperties().identifier.GetNumber();
}
