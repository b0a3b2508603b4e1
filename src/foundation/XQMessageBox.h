#pragma once

#include <windows.h>

// Every message box of the player goes through here, so that tests can
// answer boxes without a person (or another process) pressing a button.
class XQMessageBox {
public:
  using Handler = int (*)(HWND owner, const char *text, const char *caption, UINT style);

  static int Show(HWND owner, const char *text, const char *caption, UINT style);

  // Replaces the handler (null restores MessageBoxA); returns the previous one.
  static Handler SetHandler(Handler handler);

  // The sink for VORException reports: a task-modal warning box with no owner.
  static void ShowReport(const char *text, const char *caption);
};
