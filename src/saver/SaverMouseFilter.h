#pragma once

#include <cstdint>

// Keeps pointer reports that are no real move from ending the saver: making
// the window or changing the display reports the pointer where it rests.
// The first position is stored and every report of it swallowed; the first
// report elsewhere is swallowed too and ends the filtering, so the moves
// after it reach the screen-saver library.
class SaverMouseFilter {
public:
  // Filtering again from nothing stored: after a display change, and when
  // the saver starts over after a refused password.
  void Restart() {
    m_filtering = true;
    m_stored = kNothingStored;
  }
  // position: the message's packed client position. True when the report
  // is swallowed.
  bool Swallow(uint32_t position);
  bool IsFiltering() const { return m_filtering; }

private:
  // A position of 0 counts as nothing stored.
  static constexpr uint32_t kNothingStored = 0;

  bool m_filtering = true;
  uint32_t m_stored = kNothingStored;
};
