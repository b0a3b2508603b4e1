#pragma once

#include "foundation/VORRect.h"
#include "model/VORPlayerPage.h"
#include "model/VORPublication.h"

class FakeApp;

// A publication of one chapter of one page, handed to the application, for
// objects shown in a view without a window.
class OnePagePublication {
public:
  OnePagePublication(FakeApp &app, const VORRect &pageRect);
  OnePagePublication(const OnePagePublication &) = delete;
  OnePagePublication &operator=(const OnePagePublication &) = delete;
  ~OnePagePublication();

  VORPublication &Publication() { return m_publication; }
  VORPlayerPage &Page() { return *m_page; }
  VORPageInstance &Instance() { return m_page->GetMasterInstance(); }

private:
  VORPublication m_publication;
  VORPlayerPage *m_page;
};
