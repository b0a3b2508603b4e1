#include "engine/VORScoreObjectAction.h"

#include "model/VORClassRegistry.h"
#include "vorfile/SectionGuard.h"
#include "vorfile/VORRecordFields.h"

namespace {

VORCodedObject *CreateScoreAction(uint32_t /*classKey*/, int32_t id) { return new VORScoreObjectAction(id); }

const ClassRegistration kRegistration(VORScoreObjectAction::kCategory, VORScoreObjectAction::kCode, CreateScoreAction);

} // namespace

VORScoreObjectAction::~VORScoreObjectAction() = default;

void VORScoreObjectAction::Read(VORFile &file) {
  using namespace VORRecordFields;
  SectionGuard section(file);
  section.Open(GetObjectCode().ToKey(), VORObjectCode::kClassKeySize, false, false, true);
  ReadFields(file);
  correct = ReadByte(file);
  points = ReadInt32(file);
  question.Read(file);
}
