#pragma once

#include "model/VORObjectAction.h"

// The notice a playing object broadcasts when its media start (700) or end
// (701): every object that waits for it turns it into a synchronisation
// trigger with the sender's reference.
class VORSynchronizationObjectAction : public VORObjectAction {
public:
  static constexpr int32_t kStarted = 700;
  static constexpr int32_t kEnded = 701;

  VORSynchronizationObjectAction(int32_t actionCode, const VORObjectCode &sender);
  VORSynchronizationObjectAction(const VORSynchronizationObjectAction &) = default;
  ~VORSynchronizationObjectAction() override;

  VORObjectAction *Clone() const override { return new VORSynchronizationObjectAction(*this); }
  const VORObjectCode &GetSender() const { return m_sender; }

private:
  VORObjectCode m_sender;
};
