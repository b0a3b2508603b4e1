#pragma once

#include <windows.h>

#include "display/VORPlayerView.h"

// The view a page is composed in for printing: a player view that takes no
// input and runs no transitions, in a top-level window of the page's size.
//
// Closing its window (the close box, or a page that failed to show) only
// marks the view as failed: the printer that owns it lets it go once its
// job no longer uses it, never the window procedure under the job's feet.
class VORPrinterView : public VORPlayerView {
public:
  static constexpr int32_t kId = 2;
  static constexpr DWORD kWindowStyle = WS_OVERLAPPEDWINDOW | WS_VSCROLL | WS_HSCROLL;

  VORPrinterView() : VORPlayerView(kId) {}
  ~VORPrinterView() override;

  // The window, no parent, sized to the page; false when it was not made.
  bool Create(HINSTANCE instance, const VORRect &pageRect);
  bool IsInteractive() override { return false; }
  // The player view's showing, then the window is put at the screen's
  // corner in the page's size. A failure is reported and marks the view.
  void ShowPageInstance(VORPageInstance &instance) override;
  bool HasFailed() const { return m_failed; }
  // Composes the whole page and nothing more: the page's auto-start events
  // and its timed page belong to the page as the reader sees it, not to a
  // copy being printed (whose own print request would print it again).
  void PlayEnterTransition() override;

private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void MoveToCorner(const VORRect &pageRect);

  WNDPROC m_viewProc = nullptr;
  bool m_failed = false;
};
