#include "model/VORBrowserAction.h"

#include "model/VORClassRegistry.h"
#include "vorfile/SectionGuard.h"
#include "vorfile/VORRecordFields.h"

namespace {

VORCodedObject *CreateBrowserAction(uint32_t classKey, int32_t id) { return new VORBrowserAction(classKey, id); }

const ClassRegistration kRegistration(VORBrowserAction::kCategory, VORBrowserAction::kCode, CreateBrowserAction);

} // namespace

VORBrowserAction::~VORBrowserAction() = default;

void VORBrowserAction::Read(VORFile &file) {
  using namespace VORRecordFields;
  SectionGuard section(file);
  section.Open(GetObjectCode().ToKey(), VORObjectCode::kClassKeySize, false, false, true);
  ReadFields(file);
  operation = ReadByte(file);
  text.Read(file);
  resolveMode = ReadOr<uint8_t>(file, 0);
}
