#include "support/TestPlayerApp.h"

#include <algorithm>
#include <string>

namespace {

constexpr const char *kRecorderClass = "VOR_TEST_RECORDER";
bool g_watchdogFired = false;

struct BoxSearch {
  const char *caption;
  HWND found;
};

BOOL CALLBACK FindBox(HWND window, LPARAM parameter) {
  auto *search = reinterpret_cast<BoxSearch *>(parameter);
  char className[64] = {};
  char text[256] = {};
  GetClassNameA(window, className, sizeof className);
  GetWindowTextA(window, text, sizeof text);
  if (IsWindowVisible(window) && std::string(className) == "#32770" &&
      (!search->caption || std::string(text) == search->caption)) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

void CALLBACK WatchdogProc(HWND, UINT, UINT_PTR, DWORD) {
  g_watchdogFired = true;
  while (PressOkOnThreadBox(nullptr)) {
  }
  PostQuitMessage(0);
}

} // namespace

bool TestPlayerApp::RequestQuit() {
  ++quitRequests;
  return VORPlayerApp::RequestQuit();
}

TestRunView *TestPlayerApp::MainView() const { return dynamic_cast<TestRunView *>(FindView(VORObjectCode(0, 3, 1))); }

VORRunView *TestPlayerApp::MakeView(const VORObjectCode &identity, VORPage & /*page*/) {
  return new TestRunView(identity.id);
}

MessageRecorder::MessageRecorder() {
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = kRecorderClass;
  RegisterClassA(&windowClass); // fails harmlessly when registered before
  m_window = CreateWindowExA(0, kRecorderClass, nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
  SetWindowLongPtrA(m_window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

MessageRecorder::~MessageRecorder() { DestroyWindow(m_window); }

bool MessageRecorder::Received(UINT message) const {
  return std::find(m_messages.begin(), m_messages.end(), message) != m_messages.end();
}

void MessageRecorder::Post(UINT message, WPARAM wParam, LPARAM lParam) const {
  PostMessageA(m_window, message, wParam, lParam);
}

LRESULT CALLBACK MessageRecorder::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto *recorder = reinterpret_cast<MessageRecorder *>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (recorder && message >= WM_KEYFIRST) {
    recorder->m_messages.push_back(message);
    if (message == kQuitMessage)
      PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

LoopWatchdog::LoopWatchdog(UINT milliseconds) {
  g_watchdogFired = false;
  m_timer = SetTimer(nullptr, 0, milliseconds, WatchdogProc);
}

LoopWatchdog::~LoopWatchdog() { KillTimer(nullptr, m_timer); }

bool LoopWatchdog::Fired() const { return g_watchdogFired; }

bool PressOkOnThreadBox(const char *caption) {
  BoxSearch search{caption, nullptr};
  EnumThreadWindows(GetCurrentThreadId(), FindBox, reinterpret_cast<LPARAM>(&search));
  if (!search.found)
    return false;
  PostMessageA(search.found, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  // A box answered twice must not be found again.
  ShowWindow(search.found, SW_HIDE);
  return true;
}
