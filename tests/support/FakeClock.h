#pragma once

#include <cstdint>
#include <string>

#include "engine/VORClock.h"

// A clock the test sets: milliseconds and the local time's text (null when
// the runtime would give none).
class FakeClock : public VORClock {
public:
  uint32_t GetMilliseconds() override { return m_milliseconds; }
  const char *GetLocalTimeText() override { return m_hasTimeText ? m_timeText.c_str() : nullptr; }

  void Set(uint32_t milliseconds) { m_milliseconds = milliseconds; }
  void Advance(uint32_t milliseconds) { m_milliseconds += milliseconds; }
  void SetTimeText(const char *text) {
    m_hasTimeText = text != nullptr;
    m_timeText = text ? text : "";
  }

private:
  uint32_t m_milliseconds = 0;
  std::string m_timeText = "Thu Jan  1 00:00:00 1970\n";
  bool m_hasTimeText = true;
};
