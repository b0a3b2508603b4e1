#pragma once

#include <windows.h>

#include <memory>

#include "printing/PagePictureMaker.h"
#include "printing/VORPrinterView.h"

class VORScreenBuffer;

// The program's pictures for printing: pages composed in a printer view of
// their own, views' pictures from their screen buffers.
class PrinterViewPictureMaker : public PagePictureMaker {
public:
  explicit PrinterViewPictureMaker(HINSTANCE instance) : m_instance(instance) {}
  ~PrinterViewPictureMaker() override;
  PrinterViewPictureMaker(const PrinterViewPictureMaker &) = delete;
  PrinterViewPictureMaker &operator=(const PrinterViewPictureMaker &) = delete;

  bool CapturePage(VORPage &page, PagePicture &picture) override;
  bool CaptureView(VORView &view, PagePicture &picture) override;
  HWND__ *GetPrinterViewWindow() override { return m_view ? m_view->GetWindow() : nullptr; }
  void ReleasePrinterView() override;
  bool HasPrinterView() const { return m_view != nullptr; }
  VORPrinterView *GetPrinterView() const { return m_view.get(); }

private:
  static bool Capture(VORScreenBuffer &buffer, const VORRect &rect, PagePicture &picture);
  void LeavePage();

  HINSTANCE m_instance;
  std::unique_ptr<VORPrinterView> m_view;
  VORPage *m_page = nullptr;
};
