#pragma once

#include <windows.h>

#include <memory>

#include "printing/PrinterDevice.h"

class DrawingContext;
class GdiTextCanvas;
class GdiTextMeasurer;

// A printer device context from the print dialog, with the dialog's device
// records: all three go with the object.
class GdiPrinterDevice : public PrinterDevice {
public:
  GdiPrinterDevice(HDC dc, HGLOBAL devMode, HGLOBAL devNames);
  ~GdiPrinterDevice() override;

  Facts GetFacts() override;
  TextFacts GetTextFacts() override;
  bool StartDoc(const char *documentName) override;
  bool StartPage() override { return ::StartPage(m_dc) > 0; }
  bool EndPage() override { return ::EndPage(m_dc) > 0; }
  bool EndDoc() override { return ::EndDoc(m_dc) > 0; }
  void AbortDoc() override { ::AbortDoc(m_dc); }
  bool StretchPicture(const PagePicture &picture, int32_t x, int32_t y, int32_t width, int32_t height) override;
  RichTextMeasurer &GetMeasurer() override;
  RichTextCanvas &GetCanvas() override;

private:
  HDC m_dc;
  HGLOBAL m_devMode;
  HGLOBAL m_devNames;
  std::unique_ptr<GdiTextMeasurer> m_measurer;
  std::unique_ptr<DrawingContext> m_context;
  std::unique_ptr<GdiTextCanvas> m_canvas;
};

// The system's print dialog (or its default printer), message loop and
// boxes.
class Win32PrinterPlatform : public PrinterPlatform {
public:
  explicit Win32PrinterPlatform(HINSTANCE instance) : m_instance(instance) {}

  std::unique_ptr<PrinterDevice> OpenPrinter(HWND owner, uint32_t dialogFlags, bool &selectionChosen) override;
  void PumpMessages() override;
  void ShowMessage(HWND owner, const std::string &text, const char *caption) override;
  void CentreWindow(HWND window) override;
  void GetScreenResolution(HWND window, int32_t &dpiX, int32_t &dpiY) override;

private:
  HINSTANCE m_instance;
};
