#include "model/VORObjectAction.h"

#include "model/VORClassRegistry.h"
#include "vorfile/SectionGuard.h"
#include "vorfile/VORFile.h"
#include "vorfile/VORRecordFields.h"

namespace {

VORCodedObject *CreateObjectAction(uint32_t classKey, int32_t id) { return new VORObjectAction(classKey, id); }

const ClassRegistration kRegistration(VORObjectAction::kCategory, VORObjectAction::kCode, CreateObjectAction);

} // namespace

VORObjectAction::~VORObjectAction() = default;

void VORObjectAction::Read(VORFile &file) {
  SectionGuard section(file);
  section.Open(GetObjectCode().ToKey(), VORObjectCode::kClassKeySize, false, false, true);
  ReadFields(file);
}

void VORObjectAction::ReadFields(VORFile &file) {
  m_target.Read(file);
  m_actionCode = VORRecordFields::ReadInt32(file);
  m_originObject.Read(file);
  m_originPage.Read(file);
  if (file.GetVersion() <= kExtraWordVersion)
    return;
  m_extraWord = VORRecordFields::ReadOr<int32_t>(file, 0);
}

VORObjectAction *VORObjectAction::Clone() const { return new VORObjectAction(*this); }

bool VORObjectAction::SetOrigin(const VORObjectCode &viewReference, const VORObjectCode &pageReference) {
  m_originObject = viewReference;
  m_originPage = pageReference;
  return true;
}
