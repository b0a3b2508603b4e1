#include "transitions/VORFX.h"

#include "engine/VORUpdateController.h"

VORFX::~VORFX() = default;

void VORFX::Start(bool /*closing*/) {
  m_state = kRunning;
  if (VORUpdateController *controller = GetController())
    controller->Schedule(this, controller->Now(), kUpdateLevel);
}
