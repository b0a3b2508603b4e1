#pragma once

#include <cstdint>

#include "display/VORTransition.h"
#include "engine/VORUpdateTarget.h"

// A transition effect: drawn step by step under the update controller, or
// run modally (VORTimedFX). Deleting an effect takes it out of the update
// controller, so a deleted effect never draws again.
class VORFX : public VORUpdateTarget, public VORTransition {
public:
  enum State : uint8_t { kIdle = 0, kRunning = 1, kFinished = 2 };
  // Effects run at the controller's top level.
  static constexpr uint16_t kUpdateLevel = 10;

  VORFX() = default;
  ~VORFX() override;

  // Marks the effect running and has the update controller call it at once.
  void Start(bool closing) override;
  bool IsFinished() const override { return m_state == kFinished; }
  bool WantsModalRun(bool /*pageTransition*/) override { return false; }
  State GetState() const { return m_state; }

protected:
  void SetState(State state) { m_state = state; }

private:
  State m_state = kIdle;
};
