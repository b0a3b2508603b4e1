#include "model/VORClassRegistry.h"
#include "transitions/VORShapeFX.h"
#include "vorfile/SectionGuard.h"
#include "vorfile/VORRecordFields.h"

namespace {

VORCodedObject *CreateShapeFXProperties(uint32_t /*classKey*/, int32_t id) {
  return new VORShapeFX::ShapeFXProperties(id);
}

const ClassRegistration kShapeFXProperties(VORShapeFX::ShapeFXProperties::kCategory,
                                           VORShapeFX::ShapeFXProperties::kCode, CreateShapeFXProperties);

} // namespace

void VORShapeFX::ShapeFXProperties::Read(VORFile &file) {
  SectionGuard section(file);
  section.Open(GetObjectCode().ToKey(), VORObjectCode::kClassKeySize, false, false, true);
  shape = VORRecordFields::ReadOr<uint8_t>(file, 0);
  starRatio = VORRecordFields::ReadOr<int16_t>(file, 0);
  sides = VORRecordFields::ReadOr<uint16_t>(file, 5);
  columns = VORRecordFields::ReadOr<int32_t>(file, 1);
  rows = VORRecordFields::ReadOr<int32_t>(file, 1);
  rotation = VORRecordFields::ReadOr<int32_t>(file, 0);
  duration = VORRecordFields::ReadOr<uint32_t>(file, 1000);
}
