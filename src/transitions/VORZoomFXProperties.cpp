#include "model/VORClassRegistry.h"
#include "transitions/VORZoomFX.h"
#include "vorfile/SectionGuard.h"
#include "vorfile/VORRecordFields.h"

namespace {

VORCodedObject *CreateZoomFXProperties(uint32_t /*classKey*/, int32_t id) {
  return new VORZoomFX::ZoomFXProperties(id);
}

const ClassRegistration kZoomFXProperties(VORZoomFX::ZoomFXProperties::kCategory, VORZoomFX::ZoomFXProperties::kCode,
                                          CreateZoomFXProperties);

} // namespace

void VORZoomFX::ZoomFXProperties::Read(VORFile &file) {
  SectionGuard section(file);
  section.Open(GetObjectCode().ToKey(), VORObjectCode::kClassKeySize, false, false, true);
  duration = VORRecordFields::ReadOr<uint32_t>(file, 1000);
  mode = VORRecordFields::ReadOr<uint8_t>(file, 5);
}
