#pragma once

#include <windows.h>

// The screen-saver library: the program entry that reads what the desktop
// asks (run, preview, settings), the saver window's class and its default
// handling, which ends a running saver on input. The program supplies the
// saver window's procedure, the settings dialog's procedure and the hook
// that registers window classes for that dialog.
extern "C" {
// The program's part.
LRESULT WINAPI ScreenSaverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
BOOL WINAPI ScreenSaverConfigureDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
BOOL WINAPI RegisterDialogClasses(HANDLE instance);
// The library's default handling of the saver window's messages.
LRESULT WINAPI DefScreenSaverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
}

namespace ScreenSaverLibrary {

constexpr const char *kWindowClass = "WindowsScreenSaverClass";
constexpr int kSettingsDialog = 2003;
// Sent to the saver window before it closes: non-zero lets it close.
constexpr UINT kVerifyPassword = WM_APP;

// The program's entry: arguments is the command line after the program's
// name. Answers the exit code.
int Run(HINSTANCE instance, const char *arguments);

// Whether the user may end the running saver. The desktop asks for the
// password itself when it locks, so the library lets it end; tests put in
// a refusal.
using PasswordCheck = bool (*)(HWND saverWindow);
PasswordCheck SetPasswordCheck(PasswordCheck check);

// A window of the class the saver's: full-screen (ended by input) or, with
// parent, the preview child. For the entry and for tests that run the frame
// in their own process; null when it cannot be made.
HWND CreateSaverWindow(HINSTANCE instance, HWND parent);
bool IsPreview();

} // namespace ScreenSaverLibrary
