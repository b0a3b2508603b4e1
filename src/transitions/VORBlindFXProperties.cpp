#include "model/VORClassRegistry.h"
#include "transitions/VORBlindFX.h"
#include "vorfile/SectionGuard.h"
#include "vorfile/VORRecordFields.h"

namespace {

VORCodedObject *CreateBlindFXProperties(uint32_t /*classKey*/, int32_t id) {
  return new VORBlindFX::BlindFXProperties(id);
}

const ClassRegistration kBlindFXProperties(VORBlindFX::BlindFXProperties::kCategory,
                                           VORBlindFX::BlindFXProperties::kCode, CreateBlindFXProperties);

} // namespace

void VORBlindFX::BlindFXProperties::Read(VORFile &file) {
  SectionGuard section(file);
  section.Open(GetObjectCode().ToKey(), VORObjectCode::kClassKeySize, false, false, true);
  strips = VORRecordFields::Read<uint16_t>(file);
  mode = VORRecordFields::Read<uint8_t>(file);
  duration = VORRecordFields::Read<uint16_t>(file);
  fixedPicture = VORRecordFields::Read<uint8_t>(file);
  vertical = VORRecordFields::Read<uint8_t>(file);
}
