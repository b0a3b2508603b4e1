#pragma once

#include "model/VORFileObject.h"

class ActionContext;
class VORObjectAction;
class VORRunView;

// A file object that can be sent actions. While registered it is in the
// application's receiver table, where actions find it by reference.
class VORActionReceiver : public VORFileObject {
public:
  VORActionReceiver(uint32_t classKey, int32_t id) : VORFileObject(classKey, id) {}
  // A copy is a receiver of its own: it starts unregistered.
  VORActionReceiver(const VORActionReceiver &other) : VORFileObject(other) {}
  ~VORActionReceiver() override;

  // Offered an action addressed to this receiver; true when handled.
  virtual bool ReceiveAction(VORObjectAction &action, ActionContext &context);
  // The view it is shown in and the page it belongs to; (0, 0, 0) for a
  // receiver outside any page.
  virtual VORObjectCode GetViewReference() const { return VORObjectCode::Zero(); }
  virtual VORObjectCode GetPageReference() const { return VORObjectCode::Zero(); }
  // The type test for the run views, which live in a later layer.
  virtual VORRunView *AsRunView() { return nullptr; }

  // Enters the application's receiver table once.
  void Register();
  // Leaves the table; false when it was not registered or the table did
  // not hold it.
  bool Unregister();
  bool IsRegistered() const { return m_registered; }

private:
  bool m_registered = false;
};
