#pragma once

// What the event queue asks of the condition that travels with a queued
// action: whether the action may run now that it falls due. The events'
// conditions (a comparison of a variable, or an expression) implement it.
class VORActionCondition {
public:
  VORActionCondition() = default;
  VORActionCondition(const VORActionCondition &) = default;
  VORActionCondition &operator=(const VORActionCondition &) = default;
  virtual ~VORActionCondition() = default;

  virtual bool Evaluate() = 0;
};
