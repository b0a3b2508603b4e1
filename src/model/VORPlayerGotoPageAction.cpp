#include "model/VORPlayerGotoPageAction.h"

#include "model/VORClassRegistry.h"
#include "vorfile/SectionGuard.h"

namespace {

VORCodedObject *CreateGotoPageAction(uint32_t classKey, int32_t id) {
  return new VORPlayerGotoPageAction(classKey, id);
}

const ClassRegistration kRegistration(VORPlayerGotoPageAction::kCategory, VORPlayerGotoPageAction::kCode,
                                      CreateGotoPageAction);

// The player's own reference among the well-known receivers.
constexpr VORObjectCode kPlayerReference(0, 0, 1);

} // namespace

VORPlayerGotoPageAction::~VORPlayerGotoPageAction() = default;

void VORPlayerGotoPageAction::Read(VORFile &file) {
  SectionGuard section(file);
  section.Open(GetObjectCode().ToKey(), VORObjectCode::kClassKeySize, false, false, true);
  ReadFields(file);
  m_viewReference.Read(file);
  m_targetPage.Read(file);
}

VORObjectAction *VORPlayerGotoPageAction::Clone() const { return new VORPlayerGotoPageAction(*this); }

VORPlayerGotoPageAction *VORPlayerGotoPageAction::Make(int32_t actionCode, const VORObjectCode &targetPage,
                                                       const VORObjectCode &viewReference) {
  auto *action = new VORPlayerGotoPageAction;
  action->SetTarget(kPlayerReference);
  action->SetActionCode(actionCode);
  action->SetTargetPage(targetPage);
  action->SetViewReference(viewReference);
  return action;
}
