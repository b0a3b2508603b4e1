#include "model/VORClassRegistry.h"
#include "transitions/VORSlideFX.h"
#include "vorfile/SectionGuard.h"
#include "vorfile/VORRecordFields.h"

namespace {

VORCodedObject *CreateSlideFXProperties(uint32_t /*classKey*/, int32_t id) {
  return new VORSlideFX::SlideFXProperties(id);
}

const ClassRegistration kSlideFXProperties(VORSlideFX::SlideFXProperties::kCategory,
                                           VORSlideFX::SlideFXProperties::kCode, CreateSlideFXProperties);

} // namespace

void VORSlideFX::SlideFXProperties::Read(VORFile &file) {
  SectionGuard section(file);
  section.Open(GetObjectCode().ToKey(), VORObjectCode::kClassKeySize, false, false, true);
  dx = VORRecordFields::Read<int32_t>(file);
  dy = VORRecordFields::Read<int32_t>(file);
  duration = VORRecordFields::Read<uint32_t>(file);
}
