#include "engine/VORVariableChangedAction.h"

VORVariableChangedAction::VORVariableChangedAction(const XQString &name) : VORObjectAction(0, 0) {
  SetActionCode(kActionCode);
  m_name.Assign(name);
}

VORVariableChangedAction::~VORVariableChangedAction() = default;

VORObjectAction *VORVariableChangedAction::Clone() const { return new VORVariableChangedAction(*this); }
