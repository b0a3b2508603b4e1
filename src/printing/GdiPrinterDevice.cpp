#include "printing/GdiPrinterDevice.h"

#include <commdlg.h>

#include "display/DrawingContext.h"
#include "foundation/SystemLibrary.h"
#include "foundation/XQMessageBox.h"
#include "printing/PageFitting.h"
#include "richtext/GdiTextCanvas.h"
#include "richtext/GdiTextMeasurer.h"

GdiPrinterDevice::GdiPrinterDevice(HDC dc, HGLOBAL devMode, HGLOBAL devNames)
    : m_dc(dc), m_devMode(devMode), m_devNames(devNames) {}

GdiPrinterDevice::~GdiPrinterDevice() {
  // The canvas's fonts are deselected before the measurer deletes them.
  m_canvas.reset();
  m_context.reset();
  m_measurer.reset();
  if (m_dc != nullptr)
    ::DeleteDC(m_dc);
  if (m_devMode != nullptr)
    ::GlobalFree(m_devMode);
  if (m_devNames != nullptr)
    ::GlobalFree(m_devNames);
}

PrinterDevice::Facts GdiPrinterDevice::GetFacts() {
  Facts facts;
  facts.dpiX = ::GetDeviceCaps(m_dc, LOGPIXELSX);
  facts.dpiY = ::GetDeviceCaps(m_dc, LOGPIXELSY);
  facts.printableWidth = ::GetDeviceCaps(m_dc, HORZRES);
  facts.printableHeight = ::GetDeviceCaps(m_dc, VERTRES);
  facts.blitsBitmaps = (::GetDeviceCaps(m_dc, RASTERCAPS) & RC_BITBLT) != 0;
  return facts;
}

PrinterDevice::TextFacts GdiPrinterDevice::GetTextFacts() {
  TEXTMETRICA metrics = {};
  TextFacts facts;
  if (::GetTextMetricsA(m_dc, &metrics)) {
    facts.aveCharWidth = metrics.tmAveCharWidth;
    facts.height = metrics.tmHeight;
    facts.externalLeading = metrics.tmExternalLeading;
  }
  return facts;
}

bool GdiPrinterDevice::StartDoc(const char *documentName) {
  DOCINFOA document = {};
  document.cbSize = sizeof document;
  document.lpszDocName = documentName;
  return ::StartDocA(m_dc, &document) > 0;
}

bool GdiPrinterDevice::StretchPicture(const PagePicture &picture, int32_t x, int32_t y, int32_t width, int32_t height) {
  if (picture.IsEmpty())
    return false;
  const int lines =
      ::StretchDIBits(m_dc, x, y, width, height, 0, 0, picture.Width(), picture.Height(), picture.bits.data(),
                      reinterpret_cast<const BITMAPINFO *>(picture.info.data()), DIB_RGB_COLORS, SRCCOPY);
  return lines != 0 && lines != static_cast<int>(GDI_ERROR);
}

RichTextMeasurer &GdiPrinterDevice::GetMeasurer() {
  if (!m_measurer)
    m_measurer = std::make_unique<GdiTextMeasurer>(m_dc);
  return *m_measurer;
}

RichTextCanvas &GdiPrinterDevice::GetCanvas() {
  if (!m_canvas) {
    m_context = std::make_unique<DrawingContext>(m_dc, nullptr);
    m_canvas = std::make_unique<GdiTextCanvas>(*m_context);
  }
  return *m_canvas;
}

std::unique_ptr<PrinterDevice> Win32PrinterPlatform::OpenPrinter(HWND owner, uint32_t dialogFlags,
                                                                 bool &selectionChosen) {
  PRINTDLGA dialog = {};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.Flags = dialogFlags;
  dialog.nFromPage = 1;
  dialog.nToPage = 1;
  dialog.nCopies = 1;
  dialog.hInstance = m_instance;
  static SystemLibrary commonDialogs("comdlg32.dll");
  auto printDialog = commonDialogs.Find<BOOL(WINAPI *)(PRINTDLGA *)>("PrintDlgA");
  const bool chosen = printDialog != nullptr && printDialog(&dialog) != 0;
  auto device = std::make_unique<GdiPrinterDevice>(dialog.hDC, dialog.hDevMode, dialog.hDevNames);
  if (!chosen || dialog.hDC == nullptr)
    return nullptr;
  selectionChosen = (dialog.Flags & PD_SELECTION) != 0;
  return device;
}

void Win32PrinterPlatform::PumpMessages() {
  MSG message;
  while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      // The main loop's to take once the job is over.
      ::PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    ::TranslateMessage(&message);
    ::DispatchMessageA(&message);
  }
}

void Win32PrinterPlatform::ShowMessage(HWND owner, const std::string &text, const char *caption) {
  XQMessageBox::Show(owner, text.c_str(), caption, MB_OK);
}

void Win32PrinterPlatform::CentreWindow(HWND window) {
  RECT rect = {};
  ::GetWindowRect(window, &rect);
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  ::SetWindowPos(window, nullptr, PageFitting::CentredStart(::GetSystemMetrics(SM_CXSCREEN), width),
                 PageFitting::CentredStart(::GetSystemMetrics(SM_CYSCREEN), height), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  ::ShowWindow(window, SW_SHOW);
}

void Win32PrinterPlatform::GetScreenResolution(HWND window, int32_t &dpiX, int32_t &dpiY) {
  HDC dc = ::GetDC(window);
  dpiX = ::GetDeviceCaps(dc, LOGPIXELSX);
  dpiY = ::GetDeviceCaps(dc, LOGPIXELSY);
  ::ReleaseDC(window, dc);
}
