#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "model/VORActionReceiver.h"
#include "printing/PagePicture.h"
#include "printing/PagePictureMaker.h"
#include "printing/PrinterDevice.h"

class PrintingHost;
class VORPage;
class VORPrinterAction;
class VORView;

// The printer, the well-known receiver (0, 0, 12) of print requests (action
// 900): a page, every page of the publication, a view's picture or a text
// file, on the default printer or the one the print dialog gives. Requests
// queue up and print one after the other; one that arrives while a job
// runs (from a message dispatched between its steps) waits its turn.
//
// A job sets the application's printing flag and opens its progress
// dialog; between steps it dispatches the waiting messages and stops once
// the flag has been cleared (Cancel). However a job ends, the printer
// device, the picture and the printer view are let go, the dialog closes
// and the flag is cleared.
class VORPrinter : public VORActionReceiver {
public:
  static constexpr uint16_t kCategory = 0;
  static constexpr uint16_t kCode = 0;
  static constexpr int32_t kId = 12;
  static constexpr VORObjectCode kReference = VORObjectCode(kCategory, kCode, kId);
  static constexpr int32_t kPrintAction = 900;

  static constexpr const char *kPageDocument = "Vorell page";
  static constexpr const char *kPagesDocument = "Vorell pages";
  static constexpr const char *kTextDocument = "Vorell - text file";
  static constexpr const char *kNoBitmapsText = "Printer cannot display bitmaps.";
  static constexpr const char *kNoBitmapsCaption = "Device Error";
  static constexpr const char *kMissingFileFormat = "Cannot open file - ";
  static constexpr const char *kMissingFileCaption = "File Error";
  // Text margins in the printer font's average widths and line heights.
  static constexpr int32_t kMarginChars = 10;
  static constexpr int32_t kMarginLines = 5;

  VORPrinter(std::unique_ptr<PrinterPlatform> platform, std::unique_ptr<PagePictureMaker> pictures);
  ~VORPrinter() override;

  // The application whose printing flag and progress dialog the jobs use;
  // without one nothing prints.
  void SetApplication(PrintingHost *host) { m_host = host; }

  bool ReceiveAction(VORObjectAction &action, ActionContext &context) override;
  // Queues a copy of the request and, unless a job runs, prints every
  // queued request in order.
  void QueueAndPrint(const VORPrinterAction &request);

  bool IsBusy() const { return m_busy; }
  size_t GetQueuedCount() const { return m_queue.size(); }
  // Whether a job still holds its printer, picture or view (false between
  // jobs).
  bool HoldsJobResources() const { return m_device != nullptr || !m_picture.IsEmpty(); }

private:
  void ProcessRequest(const VORPrinterAction &request);
  VORView *FindSendingView(const VORPrinterAction &request);
  static VORPage *FindPage(const VORObjectCode &reference);
  static std::vector<VORPage *> AllPages();
  bool BeginPrintJob(HWND__ *owner, uint32_t options, VORPage *page);
  bool RunPrintJob();
  bool PrintAllPages();
  // One captured picture on one sheet.
  bool PrintPage();
  bool PrintTextFile(const VORPrinterAction &request);
  // Dispatches the waiting messages; false once printing was cancelled.
  bool StillPrinting();
  // completed: the document is ended, else aborted (when one was started).
  // Either way the dialog closes, the device, picture and printer view go
  // and the flag is cleared.
  void EndPrintJob(bool completed);

  std::unique_ptr<PrinterPlatform> m_platform;
  std::unique_ptr<PagePictureMaker> m_pictures;
  PrintingHost *m_host = nullptr;
  std::deque<std::unique_ptr<VORPrinterAction>> m_queue;
  bool m_busy = false;
  std::unique_ptr<PrinterDevice> m_device;
  bool m_documentStarted = false;
  HWND__ *m_owner = nullptr;
  // The window whose screen resolution the picture was shown at; null for
  // the printer view's.
  HWND__ *m_pictureWindow = nullptr;
  bool m_allPages = false;
  PagePicture m_picture;
};
