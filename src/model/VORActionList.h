#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "model/VORObjectCode.h"

class VOREventCondition;
class VORObjectAction;

// The actions of an event, owned, each with its delay in milliseconds, in
// the order they are posted.
class VORActionList {
public:
  struct ActionListData {
    std::unique_ptr<VORObjectAction> action;
    uint32_t delay;
  };

  VORActionList();
  VORActionList(const VORActionList &) = delete;
  VORActionList &operator=(const VORActionList &) = delete;
  virtual ~VORActionList();

  // Takes the action.
  void Add(uint32_t delay, VORObjectAction *action);
  // The n-th entry's delay (from 0) becomes delay, keeping bit 0 when the
  // old delay had it: an odd delay runs after the even ones of its time.
  // False when there is no such entry.
  bool SetDelay(uint32_t n, uint32_t delay);
  // Queues a clone of every action with its delay, each with a clone of the
  // condition (or none), through the application.
  void Post(const VOREventCondition *condition) const;
  void SetOrigin(const VORObjectCode &viewReference, const VORObjectCode &pageReference);
  // Every action cloned, the same delays.
  virtual VORActionList *Clone() const;

  uint32_t GetCount() const { return static_cast<uint32_t>(m_entries.size()); }
  // The n-th action and its delay; null past the end.
  const VORObjectAction *GetAction(uint32_t n) const;
  uint32_t GetDelay(uint32_t n) const;

private:
  std::vector<ActionListData> m_entries;
};
