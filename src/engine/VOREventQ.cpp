#include "engine/VOREventQ.h"

#include "engine/VORClock.h"

VOREventQ::~VOREventQ() = default;

bool VOREventQ::CompareDue(uint32_t listedDue, uint32_t newDue) { return VORClock::IsBefore(newDue, listedDue); }

void VOREventQ::Insert(uint32_t due, VORObjectAction *action, VORActionCondition *condition, bool chained) {
  Entry entry{std::unique_ptr<VORObjectAction>(action), due, std::unique_ptr<VORActionCondition>(condition),
              m_insertions++, chained};
  if (!entry.action)
    return;
  auto position = m_entries.begin();
  while (position != m_entries.end() && !CompareDue(position->due, due))
    ++position;
  m_entries.insert(position, std::move(entry));
}

bool VOREventQ::PopDue(uint32_t now, std::unique_ptr<VORObjectAction> &action,
                       std::unique_ptr<VORActionCondition> &condition, uint32_t &due, uint64_t mark) {
  for (auto entry = m_entries.begin(); entry != m_entries.end() && !VORClock::IsBefore(now, entry->due); ++entry) {
    if (entry->insertion >= mark && !entry->chained)
      continue;
    action = std::move(entry->action);
    condition = std::move(entry->condition);
    due = entry->due;
    m_entries.erase(entry);
    return true;
  }
  return false;
}

void VOREventQ::RemoveActionsFrom(const VORObjectCode &view, const VORObjectCode &page) {
  m_entries.remove_if([&](const Entry &entry) {
    const VORObjectAction &action = *entry.action;
    return !action.GetTarget().Equals(kScoreManager) && action.GetOriginObject().Equals(view) &&
           action.GetOriginPage().Equals(page);
  });
}
