#include "model/VORFrameStreamObjectAction.h"

#include "model/VORClassRegistry.h"
#include "model/VORRecordFields.h"
#include "vorfile/SectionGuard.h"

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
  ReadOptional(parameter, 0, [&] { parameter = ReadInt32(file); });
}
