#include "model/VORFrameStreamObjectAction.h"

#include "model/VORClassRegistry.h"
#include "vorfile/SectionGuard.h"
#include "vorfile/VORRecordFields.h"

namespace {

VORCodedObject *CreateFrameStreamAction(uint32_t classKey, int32_t id) {
  return new VORFrameStreamObjectAction(classKey, id);
}

const ClassRegistration kRegistration(VORFrameStreamObjectAction::kCategory, VORFrameStreamObjectAction::kCode,
                                      CreateFrameStreamAction);

} // namespace

VORFrameStreamObjectAction::~VORFrameStreamObjectAction() = default;

void VORFrameStreamObjectAction::Read(VORFile &file) {
  using namespace VORRecordFields;
  SectionGuard section(file);
  section.Open(GetObjectCode().ToKey(), VORObjectCode::kClassKeySize, false, false, true);
  ReadFields(file);
  parameter = ReadOr<int32_t>(file, 0);
}
