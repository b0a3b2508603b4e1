#include "engine/InactivityTimer.h"

#include <memory>

#include "engine/VORClock.h"
#include "model/VORApp.h"
#include "model/VORPlayerGotoPageAction.h"
#include "model/VORPublication.h"

namespace {

constexpr uint32_t kMillisecondsPerSecond = 1000;
// The view reference of the timeout page's action.
constexpr VORObjectCode kTimeoutView(0, 0, 5);

// Seconds from the file in milliseconds, without the product overflowing.
uint32_t TimeoutOf(int32_t seconds) {
  if (seconds <= 0)
    return 0;
  const uint64_t milliseconds = static_cast<uint64_t>(seconds) * kMillisecondsPerSecond;
  return milliseconds > InactivityTimer::kMaxTimeoutMs ? InactivityTimer::kMaxTimeoutMs
                                                       : static_cast<uint32_t>(milliseconds);
}

void Execute(VORApp &app, int32_t code, const VORObjectCode &page) {
  std::unique_ptr<VORPlayerGotoPageAction> action(VORPlayerGotoPageAction::Make(code, page, kTimeoutView));
  app.ExecuteAction(*action);
}

} // namespace

void InactivityTimer::Arm(int32_t seconds) {
  m_armed = true;
  m_timeout = TimeoutOf(seconds);
  Restart();
}

void InactivityTimer::Restart() {
  const uint32_t now = m_clock.GetMilliseconds();
  m_deadline = now + m_timeout;
  m_nextCheck = now + kCheckIntervalMs;
}

bool InactivityTimer::IsCheckDue(uint32_t now) const { return m_armed && VORClock::IsAtOrAfter(now, m_nextCheck); }

// The clock wraps after 49.7 days: the deadline is compared by its
// distance from now, not by its value.
void InactivityTimer::Check(VORApp &app) {
  if (!m_armed)
    return;
  if (VORClock::IsAtOrAfter(m_clock.GetMilliseconds(), m_deadline)) {
    Expire(app);
    Restart();
  }
  if (!app.CheckViewsIdle())
    Restart();
  m_nextCheck = m_clock.GetMilliseconds() + kCheckIntervalMs;
}

void InactivityTimer::Expire(VORApp &app) {
  VORPublication *publication = app.GetPublication();
  if (!publication)
    return;
  if (publication->HasFlag(VORPublication::kTimeoutExitsFlag))
    Execute(app, kExitCode, VORObjectCode::Zero());
  else
    Execute(app, kGotoPageCode, publication->GetPublicationProperties().timeoutPage);
}
