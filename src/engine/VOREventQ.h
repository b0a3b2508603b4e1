#pragma once

#include <cstdint>
#include <list>
#include <memory>

#include "model/VORActionCondition.h"
#include "model/VORObjectAction.h"
#include "model/VORObjectCode.h"

// Every action that waits for its time: ordered by the time it falls due,
// entries due at the same time in the order they came. The queue owns the
// actions and their conditions until it hands them out.
class VOREventQ {
public:
  // The score manager's reference: actions aimed at it outlive their page.
  static constexpr VORObjectCode kScoreManager = VORObjectCode(0, 0, 4);

  VOREventQ() = default;
  VOREventQ(const VOREventQ &) = delete;
  VOREventQ &operator=(const VOREventQ &) = delete;
  // Deletes the actions and conditions still queued.
  ~VOREventQ();

  // After every entry due at or before due (times compared by their
  // difference, so the order holds across the millisecond clock's wrap).
  // A chained entry (posted without delay) may still run in the tick that
  // posted it.
  void Insert(uint32_t due, VORObjectAction *action, VORActionCondition *condition, bool chained = false);
  // Unlinks the first entry due at now or earlier and hands it out; the
  // caller owns action and condition. False when nothing is due. With a
  // mark (GetMark), entries inserted since the mark was taken stay queued,
  // chained ones excepted.
  bool PopDue(uint32_t now, std::unique_ptr<VORObjectAction> &action, std::unique_ptr<VORActionCondition> &condition,
              uint32_t &due, uint64_t mark = kNoMark);
  // Counts the insertions so far: entries inserted from now on come after it.
  uint64_t GetMark() const { return m_insertions; }
  static constexpr uint64_t kNoMark = UINT64_MAX;
  // Drops every entry raised in that view and page, except those aimed at
  // the score manager.
  void RemoveActionsFrom(const VORObjectCode &view, const VORObjectCode &page);

  // Whether a new entry due at newDue goes before one due at listedDue.
  static bool CompareDue(uint32_t listedDue, uint32_t newDue);

  size_t GetCount() const { return m_entries.size(); }
  bool IsEmpty() const { return m_entries.empty(); }

private:
  struct Entry {
    std::unique_ptr<VORObjectAction> action;
    uint32_t due;
    std::unique_ptr<VORActionCondition> condition;
    uint64_t insertion;
    bool chained;
  };

  std::list<Entry> m_entries;
  uint64_t m_insertions = 0;
};
