#include "model/VORFXParams.h"

#include "model/VORClassRegistry.h"
#include "vorfile/SectionGuard.h"
#include "vorfile/VORFile.h"
#include "vorfile/VORRecordFields.h"

VORFXProperties::~VORFXProperties() = default;

VORFXParams::VORFXParams(const VORFXParams &other) : VORFileDataObject(other) { Assign(other); }

VORFXParams &VORFXParams::operator=(const VORFXParams &other) {
  Assign(other);
  return *this;
}

VORFXParams::~VORFXParams() = default;

void VORFXParams::Assign(const VORFXParams &other) {
  if (&other == this)
    return;
  effectName = other.effectName;
  properties = other.properties ? other.properties->Clone() : nullptr;
}

void VORFXParams::Read(VORFile &file) {
  properties.reset();
  effectName = VORString();
  try {
    SectionGuard section(file);
    section.Open(nullptr, 0, false, false, true);
    effectName.Read(file);
    const VORObjectCode reference = VORRecordFields::Read<VORObjectCode>(file);
    if (reference.IsNone())
      return;
    std::unique_ptr<VORCodedObject> object(VORClassRegistry::Instance().Create(reference.GetClassKey(), reference.id));
    auto *record = dynamic_cast<VORFileDataObject *>(object.get());
    if (record == nullptr)
      return;
    record->Read(file);
    if (auto *fx = dynamic_cast<VORFXProperties *>(record)) {
      static_cast<void>(object.release());
      properties.reset(fx);
    }
  } catch (...) {
    properties.reset();
    effectName = VORString();
  }
}
