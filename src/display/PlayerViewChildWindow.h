#pragma once

#include <windows.h>

#include <cstdint>

#include "display/VORPlayerView.h"
#include "foundation/VORRect.h"

// A child window that a page object asks the player view for (a video, a
// web browser): a WS_CHILD window of the class "VOR_VIEW_CHILD" at a
// rectangle of the view's client area. Its messages go to the object's
// callback first; mouse messages the callback leaves go on to the view at
// the matching point. It remembers where it was at which scroll positions,
// so that it moves with the page as the view scrolls.
class VORPlayerView::PlayerViewChildWindow : public VORRunView::ChildWindow {
public:
  PlayerViewChildWindow(HWND parent, const VORRect &rect, ChildWindowCallback &callback);
  ~PlayerViewChildWindow() override;

  HWND GetWindow() const { return m_window; }
  ChildWindowCallback &GetCallback() const { return m_callback; }
  // The rectangle it was made with, in the parent's client area.
  const VORRect &GetRect() const { return m_rect; }
  // Where it lies in the parent's client area at the given scroll positions.
  void Record(int32_t horizontal, int32_t vertical);
  // Moves it by the scroll since it was recorded; -1 keeps a position.
  void Follow(int32_t horizontal, int32_t vertical);

private:
  static LRESULT CALLBACK ChildWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  HWND m_window = nullptr;
  ChildWindowCallback &m_callback;
  VORRect m_rect;
  POINT m_recorded = {0, 0};
  int32_t m_recordedHorizontal = 0;
  int32_t m_recordedVertical = 0;
};
