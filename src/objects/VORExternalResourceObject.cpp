#include "objects/VORExternalResourceObject.h"

#include "model/VORApp.h"
#include "model/VORClassRegistry.h"
#include "model/VORFileManager.h"
#include "model/VORResourceManager.h"
#include "vorfile/VORRecordFields.h"

namespace {

const ClassRegistration kRegistration(VORExternalResourceObject::kCategory, VORExternalResourceObject::kCode,
                                      VORPlayerExternalResourceObject::Create);

} // namespace

// The events are not carried over: the base starts empty.
// NOLINTNEXTLINE(bugprone-copy-constructor-init)
VORExternalResourceObject::VORExternalResourceObjectProperties::VORExternalResourceObjectProperties(
    const VORExternalResourceObjectProperties &other)
    : VORObjectObjectProperties() {
  *this = other;
}

VORExternalResourceObject::VORExternalResourceObjectProperties &
VORExternalResourceObject::VORExternalResourceObjectProperties::operator=(
    const VORExternalResourceObjectProperties &other) {
  identifier = other.identifier;
  resourceType = other.resourceType;
  // A copy is of a record that was read (or of a copy of one): it opens its
  // file as the source does.
  readMarker = 1;
  return *this;
}

VORExternalResourceObject::VORExternalResourceObjectProperties::~VORExternalResourceObjectProperties() = default;

void VORExternalResourceObject::VORExternalResourceObjectProperties::Read(VORFile &file) {
  VORObjectObjectProperties::Read(file);
  identifier.Read(file);
  resourceType = VORRecordFields::ReadOr<int32_t>(file, 0);
  readMarker = 1;
}

void VORExternalResourceObject::VORExternalResourceObjectProperties::Assign(const VORObjectProperties &other) {
  if (const auto *source = dynamic_cast<const VORExternalResourceObjectProperties *>(&other))
    *this = *source;
}

VORExternalResourceObject::~VORExternalResourceObject() = default;

VORExternalResourceObject::VORExternalResourceObjectProperties &
VORExternalResourceObject::GetExternalResourceProperties() {
  return static_cast<VORExternalResourceObjectProperties &>(*GetProperties());
}

const VORExternalResourceObject::VORExternalResourceObjectProperties &
VORExternalResourceObject::GetExternalResourceProperties() const {
  return const_cast<VORExternalResourceObject *>(this)->GetExternalResourceProperties();
}

uint32_t VORExternalResourceObject::OpenFor(const VORObjectCode &user, uint32_t flag) {
  const VORExternalResourceObjectProperties &properties = GetExternalResourceProperties();
  VORApp *app = VORApp::Get();
  VORResourceManager *resources = app != nullptr ? app->GetResourceManager() : nullptr;
  if (properties.identifier.GetFileName().IsEmpty() || resources == nullptr)
    return 0;
  const int32_t storage = properties.readMarker != 0 ? kStorageRead : kStorageMade;
  const uint32_t handle =
      resources->OpenExternalResource(properties.identifier, storage, properties.resourceType, flag);
  resources->AddResourceUser(handle, user);
  return handle;
}

uint32_t VORExternalResourceObject::AcquireResource(uint32_t flag) {
  UnlockAll();
  SetResourceHandle(OpenFor(GetPageReference(), flag));
  return GetResourceHandle();
}

uint32_t VORExternalResourceObject::RegisterResourceUser(const VORObjectCode &user) { return OpenFor(user, 0); }

int32_t VORExternalResourceObject::GetResourceId() const {
  return GetExternalResourceProperties().identifier.GetStorage();
}

XQString VORExternalResourceObject::GetFilePath() const {
  VORApp *app = VORApp::Get();
  VORFileManager *files = app != nullptr ? app->GetFileManager() : nullptr;
  XQString path;
  if (files == nullptr || GetExternalResourceProperties().identifier.GetFileName().IsEmpty() ||
      !files->ResolvePath(GetExternalResourceProperties().identifier, path))
    return XQString();
  return path;
}
