#include "engine/TimerWindow.h"

#include "engine/VORClock.h"
#include "engine/VORTimerTickReceiver.h"
#include "foundation/XQCallbackGuard.h"
#include "model/VORApp.h"

namespace {

// The error codes of the window class, the window and the timer.
constexpr int32_t kErrorClassNotRegistered = 1;
constexpr int32_t kErrorWindowNotCreated = 2;
constexpr int32_t kErrorTimerNotSet = 8;

void Report(int32_t code) {
  if (VORApp *app = VORApp::Get())
    app->ReportSystemError(code);
}

} // namespace

TimerWindow::~TimerWindow() { Destroy(); }

void TimerWindow::Create(VORTimerTickReceiver *receiver, VORClock &clock, HINSTANCE instance, HWND parent) {
  m_receiver = receiver;
  m_clock = &clock;
  WNDCLASSA windowClass = {};
  windowClass.hInstance = instance;
  windowClass.lpfnWndProc = TimerWindowProc;
  windowClass.cbWndExtra = sizeof(LONG);
  windowClass.lpszClassName = kClassName;
  if (!RegisterClassA(&windowClass))
    Report(kErrorClassNotRegistered);
  m_window = CreateWindowExA(0, kClassName, nullptr, 0, 0, 0, 0, 0, parent, nullptr, instance, nullptr);
  if (!m_window) {
    Report(kErrorWindowNotCreated);
    return;
  }
  SetWindowLongPtrA(m_window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  m_creationTime = clock.GetMilliseconds();
  m_timer = SetTimer(m_window, kTimerId, kIntervalMs, nullptr);
  if (!m_timer)
    Report(kErrorTimerNotSet);
}

void TimerWindow::Destroy() {
  if (m_timer) {
    KillTimer(m_window, m_timer);
    m_timer = 0;
  }
  if (m_window) {
    SetWindowLongPtrA(m_window, GWLP_USERDATA, 0);
    DestroyWindow(m_window);
    m_window = nullptr;
  }
}

void TimerWindow::OnTimer() {
  if (m_receiver && m_clock)
    m_receiver->OnTick(m_clock->GetMilliseconds());
}

// The tick runs actions, and whatever they throw must not unwind into the
// system's dispatch: it is kept, the loop is asked to end, and the run
// reports it.
LRESULT CALLBACK TimerWindow::TimerWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_TIMER)
    return DefWindowProcA(window, message, wParam, lParam);
  auto *timer = reinterpret_cast<TimerWindow *>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (timer)
    XQCallbackGuard::Call(0, [timer] {
      timer->OnTimer();
      return 0;
    });
  return 0;
}
