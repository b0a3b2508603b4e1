#pragma once

// The system's window handle type, declared so that this header stays free
// of the system headers.
struct HWND__; // NOLINT(bugprone-reserved-identifier): the system's own name

// What the printer asks of the application while a job runs: the printing
// flag that the job polls between its steps, and the progress dialog whose
// Cancel button clears that flag.
class PrintingHost {
public:
  PrintingHost() = default;
  PrintingHost(const PrintingHost &) = delete;
  PrintingHost &operator=(const PrintingHost &) = delete;
  virtual ~PrintingHost() = default;

  // Opens the progress dialog (an older one goes first); its window, or
  // null when it could not be shown.
  virtual HWND__ *ShowPrintingDialog() = 0;
  virtual void ClosePrintingDialog() = 0;
  virtual bool IsPrinting() = 0;
  virtual void SetPrinting() = 0;
  // Clears the printing flag: the running job stops at its next step.
  virtual void CancelPrinting() = 0;
};
