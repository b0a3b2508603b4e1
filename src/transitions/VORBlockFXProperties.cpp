#include "model/VORClassRegistry.h"
#include "transitions/VORBlockFX.h"
#include "vorfile/SectionGuard.h"
#include "vorfile/VORRecordFields.h"

namespace {

VORCodedObject *CreateBlockFXProperties(uint32_t /*classKey*/, int32_t id) {
  return new VORBlockFX::BlockFXProperties(id);
}

const ClassRegistration kBlockFXProperties(VORBlockFX::BlockFXProperties::kCategory,
                                           VORBlockFX::BlockFXProperties::kCode, CreateBlockFXProperties);

} // namespace

void VORBlockFX::BlockFXProperties::Read(VORFile &file) {
  SectionGuard section(file);
  section.Open(GetObjectCode().ToKey(), VORObjectCode::kClassKeySize, false, false, true);
  columns = VORRecordFields::Read<int32_t>(file);
  rows = VORRecordFields::Read<int32_t>(file);
  duration = VORRecordFields::Read<uint32_t>(file);
  order = VORRecordFields::Read<uint8_t>(file);
}
