#pragma once

#include <cstdint>

class VORApp;
class VORClock;

// Sends the reader to the publication's timeout page, or ends the
// publication, when nobody has touched a view for the time the publication
// sets. Disarmed until the start-up arms it; from then on it fires again
// one timeout after each expiry for as long as nobody touches a view.
class InactivityTimer {
public:
  static constexpr uint32_t kCheckIntervalMs = 1000;
  // The longest timeout: times are compared by their difference, which
  // must stay below half the clock's range.
  static constexpr uint32_t kMaxTimeoutMs = 0x7FFFFFFF - kCheckIntervalMs;
  // The timeout page's action: the player's go-to-page (101) or exit (102),
  // shown with this view reference.
  static constexpr int32_t kGotoPageCode = 101;
  static constexpr int32_t kExitCode = 102;

  explicit InactivityTimer(VORClock &clock) : m_clock(clock) {}

  // Starts the count with a timeout in seconds as the publication gives
  // it; 0 and less expire at every check.
  void Arm(int32_t seconds);
  void Restart();
  bool IsArmed() const { return m_armed; }
  uint32_t GetTimeout() const { return m_timeout; }
  // Whether the main loop's check is due.
  bool IsCheckDue(uint32_t now) const;
  // Expires when the deadline has passed; input in any view since the
  // last check starts the count again.
  void Check(VORApp &app);
  // The timeout page, or the exit when the publication says so.
  void Expire(VORApp &app);

private:
  VORClock &m_clock;
  bool m_armed = false;
  uint32_t m_timeout = 0;
  uint32_t m_nextCheck = 0;
  uint32_t m_deadline = 0;
};
