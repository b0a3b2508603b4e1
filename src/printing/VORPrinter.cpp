#include "printing/VORPrinter.h"

#include <cstdio>
#include <cstdlib>

#include "display/VORView.h"
#include "engine/PrintingHost.h"
#include "model/VORApp.h"
#include "model/VORFileManager.h"
#include "model/VORPage.h"
#include "model/VORPrinterAction.h"
#include "model/VORPublication.h"
#include "model/VORRecursiveObjectContainer.h"
#include "printing/PageFitting.h"
#include "printing/PrintOptions.h"
#include "printing/TextFileLocation.h"
#include "printing/VORPrintRichText.h"

namespace {

// The whole file, read in text mode; false when it cannot be opened.
bool ReadTextFile(const std::string &path, std::string &text) {
  std::FILE *file = std::fopen(path.c_str(), "rt");
  if (file == nullptr)
    return false;
  char buffer[4096];
  size_t count = 0;
  while ((count = std::fread(buffer, 1, sizeof buffer, file)) > 0)
    text.append(buffer, count);
  std::fclose(file);
  return true;
}

// Clears the busy flag however the request ends.
class BusyScope {
public:
  explicit BusyScope(bool &busy) : m_busy(busy) { m_busy = true; }
  BusyScope(const BusyScope &) = delete;
  BusyScope &operator=(const BusyScope &) = delete;
  ~BusyScope() { m_busy = false; }

private:
  bool &m_busy;
};

} // namespace

VORPrinter::VORPrinter(std::unique_ptr<PrinterPlatform> platform, std::unique_ptr<PagePictureMaker> pictures)
    : VORActionReceiver(VORObjectCode::MakeClassKey(kCategory, kCode), kId), m_platform(std::move(platform)),
      m_pictures(std::move(pictures)) {}

VORPrinter::~VORPrinter() = default;

bool VORPrinter::ReceiveAction(VORObjectAction &action, ActionContext & /*context*/) {
  const auto *request = dynamic_cast<const VORPrinterAction *>(&action);
  if (request == nullptr || action.GetActionCode() != kPrintAction)
    return false;
  QueueAndPrint(*request);
  return true;
}

void VORPrinter::QueueAndPrint(const VORPrinterAction &request) {
  m_queue.emplace_back(static_cast<VORPrinterAction *>(request.Clone()));
  if (m_busy)
    return;
  BusyScope busy(m_busy);
  while (!m_queue.empty()) {
    std::unique_ptr<VORPrinterAction> next = std::move(m_queue.front());
    m_queue.pop_front();
    try {
      ProcessRequest(*next);
    } catch (...) {
      // The requests behind it are dropped with it: the failure is the
      // caller's to report.
      EndPrintJob(false);
      m_queue.clear();
      throw;
    }
  }
}

VORView *VORPrinter::FindSendingView(const VORPrinterAction &request) {
  VORApp *app = VORApp::Get();
  if (app == nullptr || request.GetOriginObject().IsZero())
    return nullptr;
  return dynamic_cast<VORView *>(
      app->FindObject(request.GetOriginObject(), VORObjectCode::Zero(), VORObjectCode::Zero()));
}

VORPage *VORPrinter::FindPage(const VORObjectCode &reference) {
  VORApp *app = VORApp::Get();
  VORPublication *publication = app != nullptr ? app->GetPublication() : nullptr;
  VORRecursiveObjectContainer *found = nullptr;
  if (publication == nullptr || !publication->FindPage(reference, found))
    return nullptr;
  return dynamic_cast<VORPage *>(found);
}

// Listed first: showing a page reads its objects, which must not happen
// while a walk of the publication is open.
std::vector<VORPage *> VORPrinter::AllPages() {
  std::vector<VORPage *> pages;
  VORApp *app = VORApp::Get();
  VORPublication *publication = app != nullptr ? app->GetPublication() : nullptr;
  if (publication == nullptr)
    return pages;
  ContainerCursor cursor(*publication);
  if (!cursor.Open())
    return pages;
  const unsigned walk = cursor.GetIndex();
  for (VORRecursiveObjectContainer *object = publication->First(walk, true, 0); object != nullptr;
       object = publication->Next(walk, true, 0))
    if (auto *page = dynamic_cast<VORPage *>(object))
      pages.push_back(page);
  return pages;
}

void VORPrinter::ProcessRequest(const VORPrinterAction &request) {
  if (m_host == nullptr)
    return;
  VORView *view = FindSendingView(request);
  VORPage *page = nullptr;
  m_pictureWindow = nullptr;
  switch (PrintOptions::KindOf(request.options)) {
  case PrintOptions::Kind::ViewPicture:
    if (view == nullptr || !m_pictures->CaptureView(*view, m_picture))
      return;
    m_pictureWindow = view->GetWindow();
    break;
  case PrintOptions::Kind::Page:
    page = FindPage(request.page);
    if (page == nullptr)
      return;
    break;
  case PrintOptions::Kind::TextFile:
    break;
  }
  m_host->SetPrinting();
  if (!BeginPrintJob(view != nullptr ? view->GetWindow() : nullptr, request.options, page))
    return;
  if (PrintOptions::KindOf(request.options) == PrintOptions::Kind::TextFile)
    PrintTextFile(request);
  else
    RunPrintJob();
}

bool VORPrinter::BeginPrintJob(HWND__ *owner, uint32_t options, VORPage *page) {
  m_owner = owner;
  m_allPages = false;
  m_documentStarted = false;
  if (page != nullptr && !m_pictures->CapturePage(*page, m_picture)) {
    EndPrintJob(false);
    return false;
  }
  bool selectionChosen = false;
  m_device = m_platform->OpenPrinter(owner, PrintOptions::DialogFlags(options), selectionChosen);
  if (!m_device) {
    EndPrintJob(false);
    return false;
  }
  if (!m_device->GetFacts().blitsBitmaps) {
    m_device.reset();
    m_platform->ShowMessage(owner, kNoBitmapsText, kNoBitmapsCaption);
    EndPrintJob(false);
    return false;
  }
  m_allPages = PrintOptions::PrintsAllPages(options, selectionChosen);
  HWND__ *dialog = m_host->ShowPrintingDialog();
  if (dialog != nullptr && PrintOptions::CentresProgressDialog(options))
    m_platform->CentreWindow(dialog);
  return true;
}

bool VORPrinter::StillPrinting() {
  m_platform->PumpMessages();
  return m_host->IsPrinting();
}

bool VORPrinter::RunPrintJob() {
  if (m_allPages)
    return PrintAllPages();
  const bool printed =
      StillPrinting() && (m_documentStarted = m_device->StartDoc(kPageDocument)) && PrintPage() && StillPrinting();
  EndPrintJob(printed);
  return printed;
}

bool VORPrinter::PrintAllPages() {
  const std::vector<VORPage *> pages = AllPages();
  bool printed = (m_documentStarted = m_device->StartDoc(kPagesDocument));
  for (size_t i = 0; printed && i < pages.size(); ++i)
    printed = StillPrinting() && m_pictures->CapturePage(*pages[i], m_picture) && PrintPage();
  printed = printed && StillPrinting();
  EndPrintJob(printed);
  return printed;
}

bool VORPrinter::PrintPage() {
  if (!m_device->StartPage() || !StillPrinting())
    return false;
  PageFitting::Resolution screen;
  m_platform->GetScreenResolution(m_pictureWindow != nullptr ? m_pictureWindow : m_pictures->GetPrinterViewWindow(),
                                  screen.x, screen.y);
  const PrinterDevice::Facts facts = m_device->GetFacts();
  const PageFitting::Placement placement =
      PageFitting::PlaceOnSheet(m_picture.Width(), m_picture.Height(), screen, {facts.dpiX, facts.dpiY},
                                facts.printableWidth, facts.printableHeight);
  return m_device->StretchPicture(m_picture, placement.x, placement.y, placement.width, placement.height) &&
         StillPrinting() && m_device->EndPage();
}

bool VORPrinter::PrintTextFile(const VORPrinterAction &request) {
  const std::string name = request.nameOnly != 0 && request.inTemporaryFolder == 0
                               ? TextFileLocation::NameAndExtension(request.fileName.CStr())
                               : std::string(request.fileName.CStr());
  VORApp *app = VORApp::Get();
  const std::string folder =
      app != nullptr && app->GetFileManager() != nullptr ? app->GetFileManager()->GetPublicationFolder().CStr() : "";
  const std::string path = TextFileLocation::Resolve(request.fileName.CStr(), request.nameOnly != 0,
                                                     request.inTemporaryFolder != 0, folder, std::getenv);
  std::string text;
  if (!ReadTextFile(path, text)) {
    m_platform->ShowMessage(m_owner, kMissingFileFormat + name, kMissingFileCaption);
    EndPrintJob(false);
    return false;
  }
  VORPrintRichText document(m_device->GetMeasurer(), text);
  const PrinterDevice::TextFacts font = m_device->GetTextFacts();
  const PrinterDevice::Facts facts = m_device->GetFacts();
  const int32_t marginX = kMarginChars * font.aveCharWidth;
  const int32_t marginY = kMarginLines * (font.height + font.externalLeading);
  const VORRect sheet(marginX, marginY, facts.printableWidth - marginX, facts.printableHeight - marginY);
  bool printed = (m_documentStarted = m_device->StartDoc(kTextDocument));
  int32_t line = 0;
  bool more = true;
  while (printed && more) {
    printed = m_device->StartPage() && StillPrinting();
    if (printed)
      more = document.PrintPage(line, sheet, m_device->GetCanvas());
    printed = printed && StillPrinting() && m_device->EndPage();
  }
  EndPrintJob(printed);
  return printed;
}

void VORPrinter::EndPrintJob(bool completed) {
  if (m_device && m_documentStarted) {
    if (completed)
      m_device->EndDoc();
    else
      m_device->AbortDoc();
  }
  m_documentStarted = false;
  if (m_host != nullptr)
    m_host->ClosePrintingDialog();
  m_device.reset();
  m_picture.Clear();
  m_pictures->ReleasePrinterView();
  m_allPages = false;
  if (m_host != nullptr)
    m_host->CancelPrinting();
}
