#pragma once

#include <cstdint>
#include <memory>
#include <vector>

class VOREventList;
class VORFile;
class VORTrigger;

// Pairs triggers with the events they set off: each entry holds a trigger
// (owned) and the index of an event in the owner's event list, in file
// order. An entry may name no event (kNoEvent).
class VOREventMap {
public:
  static constexpr uint16_t kNoEvent = 0xFFFF;

  struct Entry {
    std::unique_ptr<VORTrigger> trigger;
    uint16_t eventIndex;
  };

  VOREventMap();
  VOREventMap(const VOREventMap &) = delete;
  VOREventMap &operator=(const VOREventMap &) = delete;
  ~VOREventMap();

  // Reads the next folder without key: the triggers' references as its
  // keys, then in its data one 16-bit event index for each of them. A
  // trigger that cannot be kept drops its index with it, so the indexes of
  // the later triggers stay theirs. A missing folder leaves the map empty.
  void Read(VORFile &file);
  // Replaces the entries by clones of the other map's triggers with the
  // same indexes.
  void CopyFrom(const VOREventMap &other);
  void Clear();
  // Takes the trigger.
  void Add(VORTrigger *trigger, uint16_t eventIndex);

  // The event index of the n-th entry (from 0) whose trigger matches the
  // given one; false when fewer entries match. A matching entry that names
  // no event answers kNoEvent and true: the search goes on past it.
  bool FindMatch(const VORTrigger &trigger, uint32_t n, uint16_t &eventIndex) const;
  // Fires, in map order, every event of the list that a matching entry
  // names; entries naming no event or one past the list fire nothing.
  // Answers how many fired.
  uint32_t FireEvents(const VORTrigger &trigger, const VOREventList &events) const;
  // Whether a matching entry names an event that the list holds.
  bool HasEventFor(const VORTrigger &trigger, const VOREventList &events) const;

  uint32_t GetCount() const { return static_cast<uint32_t>(m_entries.size()); }

private:
  std::vector<Entry> m_entries;
};
