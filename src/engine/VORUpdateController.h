#pragma once

#include <cstddef>
#include <cstdint>
#include <list>

class VORClock;
class VORUpdateTarget;

// Runs the time-driven objects (transitions, animation, sound, video, drag
// and drop) when they ask to be run: each target tells the controller when
// it next wants its Update, and a run calls the due ones, from priority
// level 10 down to 1. The main loop runs the controller whenever something
// falls due within 400 ms and no message waits.
class VORUpdateController {
public:
  // A due time that asks never to be called until the target schedules again.
  static constexpr uint32_t kNotScheduled = 0xFFFFFFFF;
  static constexpr uint16_t kTopLevel = 10;
  static constexpr uint16_t kLevelCount = kTopLevel + 1;

  explicit VORUpdateController(VORClock &clock) : m_clock(clock) {}
  VORUpdateController(const VORUpdateController &) = delete;
  VORUpdateController &operator=(const VORUpdateController &) = delete;
  ~VORUpdateController();

  // Sets the target's due time and level, adding the target when it is not
  // in the controller (or was removed during the run under way).
  void Schedule(VORUpdateTarget *target, uint32_t due, uint16_t level);
  // Takes the target out. During a run (and before the first run has ended)
  // its entry stays until the run ends but is never called again.
  void Remove(VORUpdateTarget *target);
  // Calls every due target once. A target whose Update throws is dropped.
  void Run();

  // The earliest due time found by the last run or lowered by a schedule
  // since; kNotScheduled when nothing is due.
  uint32_t GetNextDueTime() const { return m_earliestDue; }
  // Whether something falls due by now + window.
  bool IsDueWithin(uint32_t now, uint32_t window) const;
  uint32_t Now() const;
  bool IsScheduled(const VORUpdateTarget *target) const;
  size_t GetEntryCount() const { return m_entries.size(); }

private:
  struct Entry {
    VORUpdateTarget *target;
    uint32_t due;
    uint16_t level;
    // Removed during a run: skipped, and unlinked when the run ends. The
    // entry, not the target's address, is marked, so a target that comes
    // back (or a new one at the same address) gets an entry of its own.
    bool removed;
  };

  Entry *FindLive(const VORUpdateTarget *target);
  void RunLevel(uint16_t level);
  void CallTarget(Entry &entry);
  void LowerEarliest(uint32_t due);

  VORClock &m_clock;
  std::list<Entry> m_entries;
  uint32_t m_earliestDue = kNotScheduled;
  bool m_running = true; // until the first run ends, and during each run
  bool m_inRun = false;
  bool m_levels[kLevelCount] = {};
};
