#pragma once

#include <windows.h>

#include "foundation/XQDialog.h"

class PrintingHost;

// The printing-progress dialog (template 103), modeless while a job runs;
// its Cancel button asks the application to stop printing and leaves the
// closing to the job, which sees the cleared flag at its next step.
class VORPrinterDlg : public XQDialog {
public:
  static constexpr int kTemplateId = 103;

  VORPrinterDlg(HINSTANCE instance, HWND parent, PrintingHost &host)
      : XQDialog(instance, kTemplateId, parent), m_host(host) {}

protected:
  bool OnCancel() override;

private:
  PrintingHost &m_host;
};
