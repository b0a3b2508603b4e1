#include "model/VORClassRegistry.h"
#include "transitions/VORFadeFX.h"
#include "vorfile/SectionGuard.h"
#include "vorfile/VORRecordFields.h"

namespace {

VORCodedObject *CreateFadeFXProperties(uint32_t /*classKey*/, int32_t id) {
  return new VORFadeFX::FadeFXProperties(id);
}

const ClassRegistration kFadeFXProperties(VORFadeFX::FadeFXProperties::kCategory, VORFadeFX::FadeFXProperties::kCode,
                                          CreateFadeFXProperties);

} // namespace

void VORFadeFX::FadeFXProperties::Read(VORFile &file) {
  SectionGuard section(file);
  section.Open(GetObjectCode().ToKey(), VORObjectCode::kClassKeySize, false, false, true);
  duration = VORRecordFields::Read<uint16_t>(file);
  levels = VORRecordFields::Read<uint16_t>(file);
  colour = VORRecordFields::ReadOr<uint32_t>(file, 0xFFFFFFFFu);
}
