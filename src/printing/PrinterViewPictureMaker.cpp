#include "printing/PrinterViewPictureMaker.h"

#include "display/VORScreenBuffer.h"
#include "model/VORPage.h"

PrinterViewPictureMaker::~PrinterViewPictureMaker() { ReleasePrinterView(); }

bool PrinterViewPictureMaker::CapturePage(VORPage &page, PagePicture &picture) {
  picture.Clear();
  LeavePage();
  if (!m_view) {
    m_view = std::make_unique<VORPrinterView>();
    if (!m_view->Create(m_instance, page.GetPageRect())) {
      m_view.reset();
      return false;
    }
  }
  if (m_view->HasFailed() || !page.ShowInView(*m_view, true))
    return false;
  m_page = &page;
  VORScreenBuffer *buffer = m_view->GetScreenBuffer();
  if (m_view->HasFailed() || buffer == nullptr)
    return false;
  // Every object of the page is composed, not only what the window shows.
  buffer->AddDirtyRect(m_view->GetPageRect());
  m_view->FlushDirtyRects();
  m_view->Refresh();
  return Capture(*buffer, m_view->GetPageRect(), picture);
}

bool PrinterViewPictureMaker::CaptureView(VORView &view, PagePicture &picture) {
  picture.Clear();
  VORScreenBuffer *buffer = view.GetScreenBuffer();
  return buffer != nullptr && Capture(*buffer, buffer->GetBounds(), picture);
}

bool PrinterViewPictureMaker::Capture(VORScreenBuffer &buffer, const VORRect &rect, PagePicture &picture) {
  void *bits = nullptr;
  void *maskBits = nullptr;
  BitmapInfoHeader *info = nullptr;
  VORRect locked = rect;
  buffer.LockPixels(&bits, &maskBits, &info, locked);
  picture = PagePicture::Copy(bits, info);
  buffer.UnlockPixels(false);
  buffer.ReleaseContexts();
  return !picture.IsEmpty();
}

void PrinterViewPictureMaker::LeavePage() {
  if (m_page != nullptr && m_view)
    m_page->RemoveFromView(*m_view);
  m_page = nullptr;
}

void PrinterViewPictureMaker::ReleasePrinterView() {
  LeavePage();
  m_view.reset();
}
