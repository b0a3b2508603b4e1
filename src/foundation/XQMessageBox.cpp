#include "foundation/XQMessageBox.h"

namespace {
XQMessageBox::Handler g_handler = nullptr;
}

int XQMessageBox::Show(HWND owner, const char *text, const char *caption, UINT style) {
  if (g_handler)
    return g_handler(owner, text, caption, style);
  return MessageBoxA(owner, text, caption, style);
}

XQMessageBox::Handler XQMessageBox::SetHandler(Handler handler) {
  Handler previous = g_handler;
  g_handler = handler;
  return previous;
}

void XQMessageBox::ShowReport(const char *text, const char *caption) {
  Show(nullptr, text, caption, MB_TASKMODAL | MB_ICONWARNING);
}
