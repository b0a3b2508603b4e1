#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "model/VORFileDataObject.h"

class VORActionList;
class VOREventCondition;
class VORFile;

// One event of an object or a page: the actions it posts, each with its
// delay, and the condition under which they run when they fall due.
class VOREvent : public VORFileDataObject {
public:
  static constexpr uint16_t kCategory = 3;
  static constexpr uint16_t kCode = 0;
  static constexpr uint32_t kClassKey = VORObjectCode::MakeClassKey(kCategory, kCode);

  explicit VOREvent(int32_t id = 0);
  // A deep copy: the actions and the condition are cloned.
  VOREvent(const VOREvent &other);
  VOREvent &operator=(const VOREvent &) = delete;
  ~VOREvent() override;

  // Opens the event's folder: the actions and the condition are its keyed
  // folders, in any order; its data holds one 32-bit delay for each action.
  // Objects that cannot be kept are skipped; an action skipped still has
  // its delay in the data (the writer listed it), a condition has none, so
  // that the delays stay with their actions. Delays the data lacks are 0.
  void Read(VORFile &file) override;
  virtual VOREvent *Clone() const { return new VOREvent(*this); }

  // The action list, made when there is none yet.
  VORActionList &CreateActionList();
  VORActionList *GetActionList() const { return m_actions.get(); }
  const VOREventCondition *GetCondition() const { return m_condition.get(); }
  // Takes the condition; an older one goes.
  void SetCondition(VOREventCondition *condition);

  // Posts the actions with their delays and clones of the condition.
  void Fire() const;
  void SetOrigin(const VORObjectCode &viewReference, const VORObjectCode &pageReference);

private:
  void ReadDelays(VORFile &file, const std::vector<int32_t> &slots);

  std::unique_ptr<VORActionList> m_actions;
  std::unique_ptr<VOREventCondition> m_condition;
};
