#pragma once

#include "model/VORObjectAction.h"
#include "vorfile/VORString.h"

// Announces to every object of the shown pages that a variable's value was
// set, so that texts showing it can refresh.
class VORVariableChangedAction : public VORObjectAction {
public:
  static constexpr int32_t kActionCode = 803;

  explicit VORVariableChangedAction(const XQString &name);
  VORVariableChangedAction(const VORVariableChangedAction &) = default;
  ~VORVariableChangedAction() override;

  VORObjectAction *Clone() const override;
  const VORString &GetName() const { return m_name; }

private:
  VORString m_name;
};
