#include "model/VORClassRegistry.h"
#include "transitions/VORPixelFX.h"
#include "vorfile/SectionGuard.h"
#include "vorfile/VORRecordFields.h"

namespace {

VORCodedObject *CreatePixelFXProperties(uint32_t /*classKey*/, int32_t id) {
  return new VORPixelFX::PixelFXProperties(id);
}

const ClassRegistration kPixelFXProperties(VORPixelFX::PixelFXProperties::kCategory,
                                           VORPixelFX::PixelFXProperties::kCode, CreatePixelFXProperties);

} // namespace

void VORPixelFX::PixelFXProperties::Read(VORFile &file) {
  SectionGuard section(file);
  section.Open(GetObjectCode().ToKey(), VORObjectCode::kClassKeySize, false, false, true);
  duration = VORRecordFields::Read<uint32_t>(file);
  mode = VORRecordFields::Read<uint8_t>(file);
}
