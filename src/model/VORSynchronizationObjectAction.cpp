#include "model/VORSynchronizationObjectAction.h"

VORSynchronizationObjectAction::VORSynchronizationObjectAction(int32_t actionCode, const VORObjectCode &sender)
    : VORObjectAction(kClassKey, 0), m_sender(sender) {
  SetActionCode(actionCode);
}

VORSynchronizationObjectAction::~VORSynchronizationObjectAction() = default;
