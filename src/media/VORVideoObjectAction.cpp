#include "media/VORVideoObjectAction.h"

#include "model/VORClassRegistry.h"
#include "vorfile/SectionGuard.h"
#include "vorfile/VORRecordFields.h"

namespace {

VORCodedObject *CreateVideoAction(uint32_t /*classKey*/, int32_t id) { return new VORVideoObjectAction(id); }

const ClassRegistration kRegistration(VORVideoObjectAction::kCategory, VORVideoObjectAction::kCode, CreateVideoAction);

} // namespace

VORVideoObjectAction::~VORVideoObjectAction() = default;

void VORVideoObjectAction::Read(VORFile &file) {
  using namespace VORRecordFields;
  SectionGuard section(file);
  section.Open(GetObjectCode().ToKey(), VORObjectCode::kClassKeySize, false, false, true);
  ReadFields(file);
  first = ReadOr<int32_t>(file, -1);
  second = ReadOr<int32_t>(file, -1);
}
