// The least a Win32 program does to show a page: one 640 x 480 window with a
// caption, its client area painted in the demo's first-page colour. The
// start-up timing (scripts/startup-time) launches it beside the player: its
// time to a painted window is what Wine itself costs, and the player's time
// above it is the player's own start-up.
#include <windows.h>

#include "foundation/StartupTrace.h"

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;
constexpr int kLeft = 50;
constexpr int kTop = 50;
// The demo's first page: slate blue.
constexpr COLORREF kPageColour = RGB(0x30, 0x50, 0xA0);
constexpr const char *kClassName = "VOR_MINIMAL_WINDOW";

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
  case WM_PAINT: {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    HBRUSH brush = CreateSolidBrush(kPageColour);
    FillRect(dc, &paint.rcPaint, brush);
    DeleteObject(brush);
    EndPaint(window, &paint);
    return 0;
  }
  case WM_KEYDOWN:
    if (wParam == VK_ESCAPE)
      DestroyWindow(window);
    return 0;
  case WM_DESTROY:
    PostQuitMessage(0);
    return 0;
  default:
    return DefWindowProcA(window, message, wParam, lParam);
  }
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previous*/, LPSTR /*commandLine*/, int /*show*/) {
  StartupTrace::Mark("entry");
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.lpszClassName = kClassName;
  if (!RegisterClassA(&windowClass))
    return 1;
  StartupTrace::Mark("window class");
  HWND window = CreateWindowExA(0, kClassName, "Minimal", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, kLeft, kTop, kWidth,
                                kHeight, nullptr, nullptr, instance, nullptr);
  if (!window)
    return 1;
  StartupTrace::Mark("window created");
  ShowWindow(window, SW_SHOW);
  StartupTrace::Mark("window shown");
  UpdateWindow(window);
  StartupTrace::Mark("window painted");
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return 0;
}
