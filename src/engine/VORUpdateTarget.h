#pragma once

#include <cstdint>

class VORUpdateController;

// A time-driven object. It registers with the application's update
// controller when built (its first Update comes at the next run) and leaves
// it when it goes. Update gets the entry's due time, set to "not scheduled";
// the target writes there when it next wants to run.
class VORUpdateTarget {
public:
  static constexpr uint16_t kLevel = 10;

  VORUpdateTarget();
  VORUpdateTarget(const VORUpdateTarget &) = delete;
  VORUpdateTarget &operator=(const VORUpdateTarget &) = delete;
  virtual ~VORUpdateTarget();

  virtual void Update(uint32_t &nextDue) = 0;

  // Asks for an Update delay milliseconds from now.
  void Reschedule(uint32_t delay);
  VORUpdateController *GetController() const { return m_controller; }

private:
  VORUpdateController *m_controller;
};
