#include "media/HiddenWindow.h"

#include "model/VORApp.h"

namespace {

constexpr int32_t kErrorClassNotRegistered = 1;
constexpr int32_t kErrorWindowNotCreated = 2;

void Report(int32_t code) {
  if (VORApp *app = VORApp::Get())
    app->ReportSystemError(code);
}

} // namespace

bool HiddenWindow::Create(HINSTANCE instance, const char *className, WNDPROC procedure, void *owner) {
  WNDCLASSA known = {};
  if (!GetClassInfoA(instance, className, &known)) {
    WNDCLASSA windowClass = {};
    windowClass.hInstance = instance;
    windowClass.lpfnWndProc = procedure;
    windowClass.lpszClassName = className;
    if (!RegisterClassA(&windowClass)) {
      Report(kErrorClassNotRegistered);
      return false;
    }
  }
  m_window = CreateWindowExA(0, className, nullptr, 0, 0, 0, 0, 0, nullptr, nullptr, instance, nullptr);
  if (!m_window) {
    Report(kErrorWindowNotCreated);
    return false;
  }
  SetWindowLongPtrA(m_window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(owner));
  return true;
}

void HiddenWindow::Destroy() {
  if (!m_window)
    return;
  SetWindowLongPtrA(m_window, GWLP_USERDATA, 0);
  DiscardQueued(WM_NULL);
  DestroyWindow(m_window);
  m_window = nullptr;
}

void HiddenWindow::DiscardQueued(UINT message) const {
  if (!m_window)
    return;
  MSG queued;
  const UINT first = message == WM_NULL ? 0 : message;
  const UINT last = message == WM_NULL ? 0 : message;
  while (PeekMessageA(&queued, m_window, first, last, PM_REMOVE)) {
  }
}

void HiddenWindow::DispatchQueued(UINT message) const {
  if (!m_window)
    return;
  MSG queued;
  while (PeekMessageA(&queued, m_window, message, message, PM_REMOVE))
    DispatchMessageA(&queued);
}
