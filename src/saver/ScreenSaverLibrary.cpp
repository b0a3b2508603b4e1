#include "saver/ScreenSaverLibrary.h"

#include "saver/SaverCommandLine.h"
#include "saver/SaverEndRules.h"

namespace {

bool LetItEnd(HWND) { return true; }

struct LibraryState {
  bool preview = false;
  // One close at a time: input goes on arriving until it is taken.
  bool closePosted = false;
  SaverEndRules rules;
  ScreenSaverLibrary::PasswordCheck passwordCheck = LetItEnd;
};

LibraryState &State() {
  static LibraryState state;
  return state;
}

bool IsOwnWindow(HWND window) {
  DWORD process = 0;
  return window != nullptr && GetWindowThreadProcessId(window, &process) != 0 && process == GetCurrentProcessId();
}

SaverEndRules::Input InputOf(UINT message, WPARAM wParam, LPARAM lParam) {
  using Input = SaverEndRules::Input;
  switch (message) {
  case WM_KEYDOWN:
  case WM_SYSKEYDOWN:
    return Input::kKeyPress;
  case WM_LBUTTONDOWN:
  case WM_RBUTTONDOWN:
  case WM_MBUTTONDOWN:
  case WM_XBUTTONDOWN:
  case WM_MOUSEWHEEL:
    return Input::kButtonPress;
  case WM_MOUSEMOVE:
    return Input::kPointerMove;
  case WM_ACTIVATE:
    // A window of the saver's own (the player's password box) may take the
    // focus; another program's ends the saver.
    return LOWORD(wParam) == WA_INACTIVE && !IsOwnWindow(reinterpret_cast<HWND>(lParam)) ? Input::kDeactivation
                                                                                         : Input::kOther;
  case WM_ACTIVATEAPP:
    return wParam == FALSE ? Input::kDeactivation : Input::kOther;
  default:
    return Input::kOther;
  }
}

// The dialog manager reads a pointer-sized answer; the program's procedure
// answers a BOOL.
INT_PTR CALLBACK SettingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  return ScreenSaverConfigureDialog(dialog, message, wParam, lParam) ? TRUE : FALSE;
}

bool RegisterSaverClass(HINSTANCE instance) {
  WNDCLASSA existing;
  if (GetClassInfoA(instance, ScreenSaverLibrary::kWindowClass, &existing))
    return true;
  WNDCLASSA windowClass = {};
  windowClass.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
  windowClass.lpfnWndProc = ScreenSaverProc;
  windowClass.hInstance = instance;
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  windowClass.lpszClassName = ScreenSaverLibrary::kWindowClass;
  return RegisterClassA(&windowClass) != 0;
}

int RunSettings(HINSTANCE instance, HWND owner) {
  RegisterDialogClasses(instance);
  if (owner != nullptr && !IsWindow(owner))
    owner = nullptr;
  DialogBoxParamA(instance, MAKEINTRESOURCEA(ScreenSaverLibrary::kSettingsDialog), owner, SettingsDialogProc, 0);
  return 0;
}

// The preview ends with the window it was given. That window belongs to
// another program, whose end does not always destroy the preview with it:
// the loop looks for it now and then.
int RunSaverWindow(HINSTANCE instance, HWND parent) {
  constexpr DWORD kParentCheckMs = 250;
  if (parent != nullptr && !IsWindow(parent))
    return 0;
  HWND window = ScreenSaverLibrary::CreateSaverWindow(instance, parent);
  if (window == nullptr)
    return 0;
  for (;;) {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT)
        return static_cast<int>(message.wParam);
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
    if (parent != nullptr && !IsWindow(parent)) {
      if (IsWindow(window))
        DestroyWindow(window);
      return 0;
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, parent != nullptr ? kParentCheckMs : INFINITE, QS_ALLINPUT);
  }
}

} // namespace

namespace ScreenSaverLibrary {

int Run(HINSTANCE instance, const char *arguments) {
  const SaverCommandLine request = SaverCommandLine::Parse(arguments);
  switch (request.request) {
  case SaverCommandLine::Request::kSettings:
    return RunSettings(instance, reinterpret_cast<HWND>(static_cast<UINT_PTR>(request.window)));
  case SaverCommandLine::Request::kPreview:
    return RunSaverWindow(instance, reinterpret_cast<HWND>(static_cast<UINT_PTR>(request.window)));
  case SaverCommandLine::Request::kRun:
    return RunSaverWindow(instance, nullptr);
  case SaverCommandLine::Request::kNothing:
    break;
  }
  return 0;
}

PasswordCheck SetPasswordCheck(PasswordCheck check) {
  PasswordCheck previous = State().passwordCheck;
  State().passwordCheck = check ? check : LetItEnd;
  return previous;
}

HWND CreateSaverWindow(HINSTANCE instance, HWND parent) {
  LibraryState &state = State();
  if (!RegisterSaverClass(instance))
    return nullptr;
  state.preview = parent != nullptr;
  state.closePosted = false;
  state.rules = SaverEndRules();
  if (state.preview) {
    RECT client;
    GetClientRect(parent, &client);
    return CreateWindowExA(0, kWindowClass, "Preview", WS_CHILD | WS_VISIBLE, 0, 0, client.right, client.bottom, parent,
                           nullptr, instance, nullptr);
  }
  POINT pointer;
  if (GetCursorPos(&pointer))
    state.rules.Start(pointer.x, pointer.y);
  return CreateWindowExA(WS_EX_TOPMOST, kWindowClass, "Screen saver", WS_POPUP | WS_VISIBLE,
                         GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                         GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN), nullptr, nullptr,
                         instance, nullptr);
}

bool IsPreview() { return State().preview; }

} // namespace ScreenSaverLibrary

extern "C" LRESULT WINAPI DefScreenSaverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  LibraryState &state = State();
  if (message == WM_DESTROY)
    PostQuitMessage(0);
  // The preview sits in the settings of the desktop: input there is theirs.
  if (state.preview)
    return DefWindowProcA(window, message, wParam, lParam);
  switch (message) {
  case ScreenSaverLibrary::kVerifyPassword:
    return state.passwordCheck(window) ? TRUE : FALSE;
  case WM_CLOSE:
    state.closePosted = false;
    if (SendMessageA(window, ScreenSaverLibrary::kVerifyPassword, 0, 0) != 0)
      DestroyWindow(window);
    return 0;
  case WM_SETCURSOR:
    SetCursor(nullptr);
    return TRUE;
  case WM_SYSCOMMAND:
    // The saver runs already.
    if ((wParam & 0xFFF0) == SC_SCREENSAVE)
      return 0;
    break;
  default: {
    POINT pointer = {0, 0};
    const SaverEndRules::Input input = InputOf(message, wParam, lParam);
    if (input == SaverEndRules::Input::kPointerMove)
      GetCursorPos(&pointer);
    if (state.rules.EndsSaver(input, pointer.x, pointer.y) && !state.closePosted) {
      state.closePosted = true;
      PostMessageA(window, WM_CLOSE, 0, 0);
    }
    break;
  }
  }
  return DefWindowProcA(window, message, wParam, lParam);
}
