#include <string>

#include "engine/VORPlayerApp.h"
#include "foundation/XQCallbackGuard.h"
#include "saver/SaverCommandLine.h"
#include "saver/SaverFrame.h"
#include "saver/SaverMouseFilter.h"
#include "saver/SaverPreview.h"
#include "saver/ScreenSaverLibrary.h"
#include "startup/ProgramStartup.h"

namespace {

struct FrameState {
  VORPlayerApp *app = nullptr;
  SaverMouseFilter filter;
  char modeOverride = 0;
  std::string publication;
  bool running = false;
  // The window went while the player ran inside it.
  bool destroyedWhileRunning = false;
  int runs = 0;
};

FrameState &Frame() {
  static FrameState frame;
  return frame;
}

char Mode() {
  if (Frame().modeOverride != 0)
    return Frame().modeOverride;
  const char *commandLine = GetCommandLineA();
  return SaverCommandLine::ModeLetter(SaverCommandLine::FirstArgument(SaverCommandLine::AfterProgramName(commandLine)));
}

const char *PublicationOrNull() { return Frame().publication.empty() ? nullptr : Frame().publication.c_str(); }

void DeleteApplication() {
  delete Frame().app;
  Frame().app = nullptr;
}

HINSTANCE InstanceOf(HWND window) { return reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window, GWLP_HINSTANCE)); }

// The saver's parts come by the programs' one start-up road.
VORPlayerApp *MakeApplication(HINSTANCE instance) {
  return ProgramStartup::MakeApplication(Programs::kScreenSaver, instance).release();
}

// The rest of a message: the player's view while there is a player, then
// the library.
LRESULT Rest(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (VORPlayerApp *app = Frame().app) {
    bool handled = false;
    const LRESULT result = app->ForwardSaverMessage(window, message, wParam, lParam, handled);
    if (handled)
      return result;
  }
  return DefScreenSaverProc(window, message, wParam, lParam);
}

// The full run: the player plays in the window until input ends it. The
// window is the saver window from the start, so whatever input the library
// ends the saver for (a click, Alt, losing activation) ends the loop.
LRESULT RunPlayer(HWND window) {
  FrameState &frame = Frame();
  frame.app = MakeApplication(InstanceOf(window));
  frame.app->SetSaverWindow(window);
  frame.running = true;
  frame.destroyedWhileRunning = false;
  ++frame.runs;
  frame.app->Run(PublicationOrNull(), window);
  frame.running = false;
  DeleteApplication();
  if (frame.destroyedWhileRunning) {
    // The player's loop took the quit that the window's end posted; the
    // library's loop needs one too.
    PostQuitMessage(0);
    return 0;
  }
  return DefScreenSaverProc(window, WM_CLOSE, 0, 0);
}

LRESULT Start(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  // A start while a player runs or shows its preview would make a second
  // application object beside the first.
  if (Frame().app != nullptr)
    return 0;
  if (Mode() == 'S')
    return RunPlayer(window);
  Frame().app = MakeApplication(InstanceOf(window));
  Frame().app->SetSaverWindow(window);
  Frame().app->PrepareSaverPreview(PublicationOrNull());
  InvalidateRect(window, nullptr, TRUE);
  return Rest(window, message, wParam, lParam);
}

LRESULT OnDestroy(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  FrameState &frame = Frame();
  if (frame.running) {
    // The object runs further up this thread's stack: its loop ends and the
    // run deletes it once it returns.
    frame.destroyedWhileRunning = true;
    PostQuitMessage(0);
    return DefScreenSaverProc(window, message, wParam, lParam);
  }
  DeleteApplication();
  return DefScreenSaverProc(window, message, wParam, lParam);
}

LRESULT OnPaint(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (Mode() != 'P')
    return Rest(window, message, wParam, lParam);
  VORPlayerApp *app = Frame().app;
  SaverPreview::Paint(app ? app->GetResourceManager() : nullptr, window, app && app->GetPaletteDisplay() == 0);
  return 0;
}

LRESULT OnVerifyPassword(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (DefScreenSaverProc(window, message, wParam, lParam) != 0)
    return 1;
  // The saver may not end: the player starts again from its first page.
  Frame().filter.Restart();
  PostMessageA(window, SaverFrame::kStartMessage, 0, 0);
  return 0;
}

LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
  case WM_CREATE:
    PostMessageA(window, SaverFrame::kStartMessage, 0, 0);
    break;
  case SaverFrame::kStartMessage:
    return Start(window, message, wParam, lParam);
  case WM_DESTROY:
    return OnDestroy(window, message, wParam, lParam);
  case WM_PAINT:
    return OnPaint(window, message, wParam, lParam);
  case WM_CLOSE:
    if (Mode() != 'P')
      return 0;
    break;
  case WM_DISPLAYCHANGE:
    // The pointer is reported again where it rests on the new display.
    Frame().filter.Restart();
    InvalidateRect(window, nullptr, TRUE);
    break;
  case WM_MOUSEMOVE:
    if (Frame().filter.Swallow(static_cast<uint32_t>(lParam)))
      return 0;
    break;
  case ScreenSaverLibrary::kVerifyPassword:
    return OnVerifyPassword(window, message, wParam, lParam);
  default:
    break;
  }
  return Rest(window, message, wParam, lParam);
}

} // namespace

extern "C" __declspec(dllexport) LRESULT WINAPI
    ScreenSaverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return XQCallbackGuard::Call(LRESULT{0}, [&] { return HandleMessage(window, message, wParam, lParam); });
}

// The settings note: this saver has nothing to set.
extern "C" __declspec(dllexport) BOOL WINAPI
    ScreenSaverConfigureDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM /*lParam*/) {
  switch (message) {
  case WM_INITDIALOG:
    return TRUE;
  case WM_COMMAND:
    // Escape and the close box end the note as OK does.
    if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
      EndDialog(dialog, LOWORD(wParam));
      return TRUE;
    }
    return FALSE;
  default:
    return FALSE;
  }
}

extern "C" BOOL WINAPI RegisterDialogClasses(HANDLE /*instance*/) { return TRUE; }

namespace SaverFrame {

VORPlayerApp *GetApplication() { return Frame().app; }
void SetMode(char mode) { Frame().modeOverride = mode; }
void SetPublication(const char *path) { Frame().publication = path ? path : ""; }
int GetRunCount() { return Frame().runs; }

} // namespace SaverFrame
