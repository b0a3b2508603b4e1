#include "transitions/ModalRunPump.h"

#include <windows.h>

#include <cstring>

#include "engine/TimerWindow.h"
#include "model/VORApp.h"
#include "model/VORPublication.h"

namespace {

constexpr WPARAM kSysCommandMask = 0xFFF0;

bool IsTimerWindow(HWND window) {
  char name[64] = {};
  return window != nullptr && ::GetClassNameA(window, name, sizeof name) > 0 &&
         std::strcmp(name, TimerWindow::kClassName) == 0;
}

} // namespace

ModalRunPump::ModalRunPump() {
  VORApp *app = VORApp::Get();
  VORPublication *publication = app != nullptr ? app->GetPublication() : nullptr;
  m_escapeExits = publication != nullptr && publication->AllowsEscapeExit();
  m_closeBoxExits = publication != nullptr && publication->AllowsCloseBoxExit();
}

bool ModalRunPump::ExitRequested() const {
  MSG message;
  if (m_escapeExits && ::PeekMessageA(&message, nullptr, WM_KEYDOWN, WM_KEYDOWN, PM_NOREMOVE) &&
      message.wParam == VK_ESCAPE)
    return true;
  return m_closeBoxExits && ::PeekMessageA(&message, nullptr, WM_SYSCOMMAND, WM_SYSCOMMAND, PM_NOREMOVE) &&
         (message.wParam & kSysCommandMask) == SC_CLOSE;
}

void ModalRunPump::Pump() {
  ::MsgWaitForMultipleObjects(0, nullptr, FALSE, kWaitMs, QS_TIMER | QS_POSTMESSAGE);
  MSG message;
  // Timer messages are made afresh each period: those of other windows
  // are dropped here rather than left to block the look at the queue.
  while (::PeekMessageA(&message, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE)) {
    if (IsTimerWindow(message.hwnd))
      ::DispatchMessageA(&message);
  }
  if (::PeekMessageA(&message, nullptr, kWaveOutDone, kWaveOutDone, PM_REMOVE)) {
    ::TranslateMessage(&message);
    ::DispatchMessageA(&message);
  }
}
