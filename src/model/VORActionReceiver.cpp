#include "model/VORActionReceiver.h"

#include "model/ActionReceiverTable.h"
#include "model/VORApp.h"

namespace {

ActionReceiverTable *ReceiverTable() {
  VORApp *app = VORApp::Get();
  return app ? app->GetReceiverList() : nullptr;
}

} // namespace

VORActionReceiver::~VORActionReceiver() {
  if (m_registered)
    Unregister();
}

bool VORActionReceiver::ReceiveAction(VORObjectAction & /*action*/, ActionContext & /*context*/) { return false; }

void VORActionReceiver::Register() {
  if (m_registered)
    return;
  ActionReceiverTable *table = ReceiverTable();
  if (!table)
    return;
  table->Insert(this);
  m_registered = true;
}

bool VORActionReceiver::Unregister() {
  if (!m_registered)
    return false;
  ActionReceiverTable *table = ReceiverTable();
  if (!table)
    return false;
  m_registered = false;
  return table->Remove(this) >= 0;
}
