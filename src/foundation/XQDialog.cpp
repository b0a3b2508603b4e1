#include "foundation/XQDialog.h"

#include "foundation/VORException.h"

namespace {

XQDialog::ModalHandler g_modalHandler = nullptr;

} // namespace

XQDialog::~XQDialog() {
  if (m_window && IsWindow(m_window))
    DestroyWindow(m_window);
}

// The window is gone once the modal run returns: its handle is not kept,
// so that nothing later destroys a window that may by then be another's.
INT_PTR XQDialog::RunModal() {
  INT_PTR result = 0;
  if (g_modalHandler)
    result = g_modalHandler(*this);
  else
    result = DialogBoxParamA(m_instance, MAKEINTRESOURCEA(m_templateId), m_parent, DialogProc,
                             reinterpret_cast<LPARAM>(this));
  m_window = nullptr;
  return result;
}

HWND XQDialog::CreateModeless() {
  m_window = CreateDialogParamA(m_instance, MAKEINTRESOURCEA(m_templateId), m_parent, DialogProc,
                                reinterpret_cast<LPARAM>(this));
  return m_window;
}

XQDialog::ModalHandler XQDialog::SetModalHandler(ModalHandler handler) {
  ModalHandler previous = g_modalHandler;
  g_modalHandler = handler;
  return previous;
}

void XQDialog::CentreOnScreenTopmost(HWND window) {
  RECT rect = {};
  GetWindowRect(window, &rect);
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  const int x = GetSystemMetrics(SM_CXSCREEN) / 2 - width / 2;
  const int y = GetSystemMetrics(SM_CYSCREEN) / 2 - height / 2;
  SetWindowPos(window, HWND_TOPMOST, x, y, width, height, 0);
}

INT_PTR CALLBACK XQDialog::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrA(window, DWLP_USER, lParam);
    CentreOnScreenTopmost(window);
  }
  auto *dialog = reinterpret_cast<XQDialog *>(GetWindowLongPtrA(window, DWLP_USER));
  if (message == WM_NCDESTROY && dialog) {
    // A modeless dialog closed by the system: its handle goes with it.
    dialog->m_window = nullptr;
    SetWindowLongPtrA(window, DWLP_USER, 0);
    return FALSE;
  }
  // A command can come before WM_INITDIALOG (a control notifying its parent
  // while the template is built): there is no object to give it to yet.
  if ((message != WM_INITDIALOG && message != WM_COMMAND) || !dialog)
    return FALSE;
  try {
    return dialog->HandleMessage(window, message, wParam, lParam) ? TRUE : FALSE;
  } catch (VORException *failure) {
    delete failure;
  } catch (...) {
  }
  return FALSE;
}

bool XQDialog::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  m_window = window;
  if (message == WM_INITDIALOG)
    return OnInitDialog();
  switch (LOWORD(wParam)) {
  case IDOK:
    if (!OnOK())
      return false;
    EndDialog(window, kOk);
    return true;
  case IDCANCEL:
    if (!OnCancel())
      return false;
    EndDialog(window, kCancel);
    return true;
  default:
    return OnCommand(wParam, lParam);
  }
}
