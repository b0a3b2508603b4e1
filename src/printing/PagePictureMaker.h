#pragma once

#include "printing/PagePicture.h"

class VORPage;
class VORView;
struct HWND__; // NOLINT(bugprone-reserved-identifier): the system's own name

// Makes the pictures a print job puts on its sheets: a page composed off
// screen in the printer's own view, or what a shown view holds now.
class PagePictureMaker {
public:
  virtual ~PagePictureMaker() = default;
  // Shows the page in the printer view (made on first use, the page shown
  // there before leaving it) and copies its composed picture; false when the
  // page could not be shown or composed.
  virtual bool CapturePage(VORPage &page, PagePicture &picture) = 0;
  // Copies what the view's screen buffer holds; false when it holds nothing.
  virtual bool CaptureView(VORView &view, PagePicture &picture) = 0;
  // The printer view's window, or null when there is none.
  virtual HWND__ *GetPrinterViewWindow() = 0;
  // The printer view's page leaves it and the view goes; nothing when
  // there is none.
  virtual void ReleasePrinterView() = 0;
};
