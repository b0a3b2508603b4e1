#include "engine/VORUpdateController.h"

#include <algorithm>

#include "engine/VORClock.h"
#include "engine/VORUpdateTarget.h"
#include "foundation/VORException.h"

VORUpdateController::~VORUpdateController() = default;

uint32_t VORUpdateController::Now() const { return m_clock.GetMilliseconds(); }

VORUpdateController::Entry *VORUpdateController::FindLive(const VORUpdateTarget *target) {
  for (Entry &entry : m_entries)
    if (entry.target == target && !entry.removed)
      return &entry;
  return nullptr;
}

bool VORUpdateController::IsScheduled(const VORUpdateTarget *target) const {
  return std::any_of(m_entries.begin(), m_entries.end(),
                     [target](const Entry &entry) { return entry.target == target && !entry.removed; });
}

void VORUpdateController::LowerEarliest(uint32_t due) {
  if (due == kNotScheduled)
    return;
  if (m_earliestDue == kNotScheduled || VORClock::IsBefore(due, m_earliestDue))
    m_earliestDue = due;
}

bool VORUpdateController::IsDueWithin(uint32_t now, uint32_t window) const {
  return m_earliestDue != kNotScheduled && VORClock::IsAtOrAfter(now + window, m_earliestDue);
}

void VORUpdateController::Schedule(VORUpdateTarget *target, uint32_t due, uint16_t level) {
  if (!target)
    return;
  level = std::min(level, kTopLevel);
  if (Entry *entry = FindLive(target)) {
    entry->due = due;
    entry->level = level;
  } else {
    m_entries.push_back(Entry{target, due, level, false});
  }
  m_levels[level] = true;
  LowerEarliest(due);
}

void VORUpdateController::Remove(VORUpdateTarget *target) {
  Entry *entry = FindLive(target);
  if (!entry)
    return;
  if (m_running) {
    entry->removed = true;
    return;
  }
  m_entries.remove_if([entry](const Entry &candidate) { return &candidate == entry; });
}

void VORUpdateController::Run() {
  // A target's Update that runs the controller again finds it busy.
  if (m_inRun)
    return;
  m_inRun = true;
  m_running = true;
  m_earliestDue = kNotScheduled;
  for (uint16_t level = kTopLevel; level >= 1; --level)
    if (m_levels[level])
      RunLevel(level);
  m_running = false;
  m_inRun = false;
  m_entries.remove_if([](const Entry &entry) { return entry.removed; });
}

// New entries appended while the level runs are reached in the same walk;
// the list keeps its nodes where they are, so the walk is not disturbed.
void VORUpdateController::RunLevel(uint16_t level) {
  for (Entry &entry : m_entries) {
    if (entry.level != level || entry.removed)
      continue;
    if (entry.due != kNotScheduled && VORClock::IsAtOrAfter(Now(), entry.due))
      CallTarget(entry);
    if (!entry.removed)
      LowerEarliest(entry.due);
  }
}

void VORUpdateController::CallTarget(Entry &entry) {
  entry.due = kNotScheduled;
  try {
    entry.target->Update(entry.due);
  } catch (VORException *failure) {
    delete failure;
    entry.removed = true;
  } catch (...) {
    entry.removed = true;
  }
}
