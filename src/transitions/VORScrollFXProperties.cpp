#include "model/VORClassRegistry.h"
#include "transitions/VORScrollFX.h"
#include "vorfile/SectionGuard.h"
#include "vorfile/VORRecordFields.h"

namespace {

VORCodedObject *CreateScrollFXProperties(uint32_t /*classKey*/, int32_t id) {
  return new VORScrollFX::ScrollFXProperties(id);
}

const ClassRegistration kScrollFXProperties(VORScrollFX::ScrollFXProperties::kCategory,
                                            VORScrollFX::ScrollFXProperties::kCode, CreateScrollFXProperties);

} // namespace

void VORScrollFX::ScrollFXProperties::Read(VORFile &file) {
  SectionGuard section(file);
  section.Open(GetObjectCode().ToKey(), VORObjectCode::kClassKeySize, false, false, true);
  dx = VORRecordFields::Read<int32_t>(file);
  dy = VORRecordFields::Read<int32_t>(file);
  duration = VORRecordFields::Read<uint32_t>(file);
  wipe = VORRecordFields::Read<uint16_t>(file);
}
