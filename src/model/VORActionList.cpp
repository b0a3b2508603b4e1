#include "model/VORActionList.h"

#include "model/VORApp.h"
#include "model/VOREventCondition.h"
#include "model/VORObjectAction.h"

namespace {

constexpr uint32_t kOddBit = 1;

} // namespace

VORActionList::VORActionList() = default;

VORActionList::~VORActionList() = default;

void VORActionList::Add(uint32_t delay, VORObjectAction *action) {
  if (action)
    m_entries.push_back(ActionListData{std::unique_ptr<VORObjectAction>(action), delay});
}

bool VORActionList::SetDelay(uint32_t n, uint32_t delay) {
  if (n >= m_entries.size())
    return false;
  m_entries[n].delay = delay | (m_entries[n].delay & kOddBit);
  return true;
}

const VORObjectAction *VORActionList::GetAction(uint32_t n) const {
  return n < m_entries.size() ? m_entries[n].action.get() : nullptr;
}

uint32_t VORActionList::GetDelay(uint32_t n) const { return n < m_entries.size() ? m_entries[n].delay : 0; }

void VORActionList::Post(const VOREventCondition *condition) const {
  VORApp *app = VORApp::Get();
  if (!app)
    return;
  for (const ActionListData &entry : m_entries)
    app->ScheduleAction(entry.delay, entry.action->Clone(), condition ? condition->Clone() : nullptr);
}

void VORActionList::SetOrigin(const VORObjectCode &viewReference, const VORObjectCode &pageReference) {
  for (const ActionListData &entry : m_entries)
    entry.action->SetOrigin(viewReference, pageReference);
}

VORActionList *VORActionList::Clone() const {
  auto copy = std::make_unique<VORActionList>();
  for (const ActionListData &entry : m_entries)
    copy->Add(entry.delay, entry.action->Clone());
  return copy.release();
}
