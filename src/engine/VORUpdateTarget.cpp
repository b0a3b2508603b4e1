#include "engine/VORUpdateTarget.h"

#include "engine/VORUpdateController.h"
#include "model/VORApp.h"

namespace {

VORUpdateController *AppController() {
  VORApp *app = VORApp::Get();
  return app ? app->GetUpdateController() : nullptr;
}

} // namespace

VORUpdateTarget::VORUpdateTarget() : m_controller(AppController()) {
  // Due now rather than at 0: after 24.8 days of uptime 0 lies ahead of the
  // clock by the difference that orders times.
  if (m_controller)
    m_controller->Schedule(this, m_controller->Now(), kLevel);
}

VORUpdateTarget::~VORUpdateTarget() {
  if (m_controller)
    m_controller->Remove(this);
}

void VORUpdateTarget::Reschedule(uint32_t delay) {
  if (m_controller)
    m_controller->Schedule(this, m_controller->Now() + delay, kLevel);
}
