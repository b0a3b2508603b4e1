#include "engine/VORPrinterDlg.h"

#include "engine/PrintingHost.h"

bool VORPrinterDlg::OnCancel() {
  m_host.CancelPrinting();
  if (HWND window = GetWindow())
    ::EnableWindow(::GetDlgItem(window, IDCANCEL), FALSE);
  // Handled: a modeless dialog is not ended like a modal one.
  return false;
}
