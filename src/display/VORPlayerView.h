#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "display/PageHistory.h"
#include "display/VORRunView.h"
#include "display/ViewCursor.h"

class DrawingContext;
class VORChapter;
class VORTransition;

// The player's run view: it makes and registers its window (or adopts one it
// is given, which it will not destroy), places it from the chapter's or the
// publication's settings, maps the window's messages to its handlers, and
// shows the page through its screen buffer.
//
// Page and client coordinates: the page's top-left corner lies at the
// scroll origin of the client area; the origin is negative when the page is
// scrolled and positive when a page smaller than the window is centred. The
// drawing-surface part's bounds are the visible part of the page.
class VORPlayerView : public VORRunView {
public:
  static constexpr const char *kWindowClass = "VOR_VIEW_CLASS";
  static constexpr const char *kChildWindowClass = "VOR_VIEW_CHILD";
  static constexpr const char *kWindowTitle = "VOR";
  static constexpr int kIconResource = 104;
  static constexpr COLORREF kWhite = RGB(255, 255, 255);
  // Object action 104, aimed at a view, closes its window; 102, aimed at
  // the player, exits.
  static constexpr int32_t kCloseViewAction = 104;
  static constexpr int32_t kExitAction = 102;

  // A child window made for a page object, moved with the page as it
  // scrolls (PlayerViewChildWindow.h).
  class PlayerViewChildWindow;

  // The view makes its own window later (CreateViewWindow).
  explicit VORPlayerView(int32_t id);
  // The view shows its pages in a window it is given and will not destroy.
  VORPlayerView(int32_t id, HWND window);
  ~VORPlayerView() override;

  // Registers the window class once and makes the window: a style of 0 is
  // a popup, a style without the full caption gets the popup style too.
  // False (and the error reported) when the window was not made.
  bool CreateViewWindow(HINSTANCE instance, HWND parent, uint32_t style);
  // The window's style as CreateViewWindow makes it from the one asked for.
  static uint32_t ViewWindowStyle(uint32_t style);
  // The view a window of the view class belongs to; null when none does
  // (any more).
  static VORPlayerView *FromWindow(HWND window);
  // The messages the view handles; handled false sends the rest to
  // DefWindowProcA. The view may be gone when it returns (WM_CLOSE).
  LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, bool &handled);
  bool OwnsWindow() const { return m_ownsWindow; }

  // Action 104 aimed at this view posts WM_CLOSE to its window.
  bool ReceiveAction(VORObjectAction &action, ActionContext &context) override;

  // The view.
  bool Initialize() override { return true; }
  WindowHandle GetWindow() override { return m_window; }
  VORScreenBuffer *GetScreenBuffer() override { return m_screenBuffer.get(); }
  VORPageInstance *GetPageInstance() override { return m_instance; }
  bool HasPageInstance() override { return m_instance != nullptr; }
  VORObjectCode GetPageReference() const override;
  // The first time, the screen buffer is made and the window placed and
  // shown; later, a different page or chapter size hides the scroll bars.
  // Then the page is laid out in the window.
  void ShowPageInstance(VORPageInstance &instance) override;
  void LeavePageInstance(VORPageInstance &instance) override;
  void PlayEnterTransition() override;
  void Refresh() override;
  // Once per shown instance the next page's resources are linked.
  void OnIdle() override;
  bool HistoryBack(VORObjectCode &reference) override { return m_history.Back(reference); }
  bool HistoryForward(VORObjectCode &reference) override { return m_history.Forward(reference); }
  void HistoryPush(const VORObjectCode &reference) override { m_history.Push(reference); }
  const PageHistory &GetHistory() const { return m_history; }
  bool CreateChildWindow(const VORRect &rect, ChildWindowCallback &callback, WindowHandle &window) override;
  void DestroyChildWindow(ChildWindowCallback &callback) override;
  bool MoveChildWindow(ChildWindowCallback &callback, const VORRect &rect) override;
  size_t GetChildWindowCount() const { return m_children.size(); }
  bool IsTransitionDone() override;
  bool TestAndSetIdle() override;
  // Shows the pointer objects or the publication ask for.
  void UpdateCursor() override;
  bool IsPageEntryCompleted() const { return m_pageEntryCompleted; }

  // Transitions.
  void RunTransitionModal(VORTransition &effect, const VORRect &rect, bool closing) override;
  std::unique_ptr<VORTransition> CreateTransition(const VORFXParams &params) override;

  // Layout and scrolling.
  void SetPageExtent(int32_t width, int32_t height, bool redraw, bool force);
  void OnSize(UINT type, int32_t width, int32_t height);
  void OnPaint();
  void OnHScroll(int32_t request);
  void OnVScroll(int32_t request);
  void OnMouseWheel(WPARAM wParam);
  LRESULT OnQueryNewPalette();
  LRESULT OnPaletteChanged(HWND changedBy);

  // ---- Input ----
  // Window messages become object actions for the shown page's objects
  // (VORInputDispatcher). Points are the message's signed client
  // coordinates (negative left of or above the window while the mouse is
  // captured), made page coordinates.
  virtual void OnLButtonDown(WPARAM flags, LPARAM point);
  virtual void OnLButtonUp(WPARAM flags, LPARAM point);
  virtual void OnLButtonDblClk(WPARAM flags, LPARAM point);
  virtual void OnRButtonDown(WPARAM flags, LPARAM point);
  virtual void OnRButtonUp(WPARAM flags, LPARAM point);
  virtual void OnRButtonDblClk(WPARAM flags, LPARAM point);
  virtual void OnMouseMove(WPARAM flags, LPARAM point);
  virtual void OnKeyDown(WPARAM key, LPARAM data);
  virtual void OnKeyUp(WPARAM key, LPARAM data);
  virtual void OnChar(WPARAM key, LPARAM data);
  virtual LRESULT OnSetFocus() { return 0; }
  // Held buttons and keys are let go: the page hears their release.
  virtual LRESULT OnKillFocus();
  virtual void OnTimer(WPARAM timer);
  bool DispatchMouseEvent(int32_t code) { return GetInput().DispatchMouseEvent(code); }
  void DispatchMouseMove(VORPoint clientPoint);
  bool DispatchKeyEvent(int32_t code, WPARAM key, LPARAM data) { return GetInput().DispatchKeyEvent(code, key, data); }
  uint32_t GetModifierBits() override;
  VORRect GetInputPageRect() override { return m_pageRect; }
  void OnPointerMoved() override;
  void RequestCursorUpdate() override;
  void RequestMouseRecheck() override { m_resendMouse = true; }
  void SetObjectCursor(const VORExternalResourceIdentifier *identifier) override;
  ViewCursor &GetCursor();
  // Drag-scroll mode: the direction the pointer at a client point asks the
  // page to scroll in (-1, 0, 1 each); false when none.
  bool GetAutoScrollStep(VORPoint clientPoint, int32_t &dx, int32_t &dy) const;
  void StartAutoScroll(int32_t dx, int32_t dy);
  void StopAutoScroll();
  void AutoScrollStep();
  bool IsAutoScrolling() const { return m_autoScroll.running; }
  void SetDragScroll(bool on) { m_dragScroll = on; }

  VORRect PageToClientRect(const VORRect &rect) const { return rect.Offset(m_originX, m_originY); }
  VORRect ClientToPageRect(const VORRect &rect) const { return rect.Offset(-m_originX, -m_originY); }
  VORPoint PageToClientPoint(VORPoint point) const { return VORPoint{point.x + m_originX, point.y + m_originY}; }
  VORPoint ClientToPagePoint(VORPoint point) const { return VORPoint{point.x - m_originX, point.y - m_originY}; }
  VORPoint GetScrollOrigin() const { return VORPoint{m_originX, m_originY}; }
  // The page's extent: (0, 0, width, height).
  const VORRect &GetPageRect() const { return m_pageRect; }
  const VORRect &GetClientRect() const { return m_clientRect; }
  COLORREF GetBackgroundColor() const { return m_backgroundColor; }

  // The drawing-surface part: it draws into the window.
  void InvalidateAll() override;
  void FlushDirtyRects() override;
  DrawingContext *GetDrawingContext() override;
  void RedrawRect(const VORRect &rect) override;
  int32_t GetBitsPerPixel() override;
  VORRect ScrollRect(const VORRect &rect, int32_t dx, int32_t dy) override;

protected:
  // What the view keeps of the page it shows: its rectangle and colour,
  // and its chapter's page size and keep-aspect flag.
  struct PageFacts {
    VORRect pageRect = VORRect::NotSet();
    COLORREF backgroundColor = kWhite;
    VORRect chapterPageRect = VORRect::NotSet();
    bool keepAspect = false;
  };
  static PageFacts FactsOf(VORPageInstance &instance);
  // The page laid out again once its objects have entered it: what they
  // loaded there (an external text, variables' values) may need more height.
  void FitPageToEnteredContent();

private:
  static LRESULT CALLBACK ViewWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static bool RegisterViewClass(HINSTANCE instance);
  void PlaceWindow(const VORChapter *chapter);
  // The close box: a chapter's own window closes; the main window exits
  // when the publication allows it. Answers whether the message is taken.
  bool OnCloseBox();
  // The run view's part of showing a page: its surface bounds, the first
  // fill of the client area, the layout.
  void ShowPage(VORPageInstance &instance, const PageFacts &facts);
  void CompletePageEntry();
  // The effect of a page's stored parameters on the screen buffer,
  // reporting to this view; null for none.
  std::unique_ptr<VORTransition> MakePageTransition(const VORFXParams &params);
  static void FillRect(DrawingContext &context, const VORRect &rect, COLORREF colour);
  void DeleteDrawingContext();
  void HideScrollBars();
  void SetScrollBars(int32_t width, int32_t height, int32_t scrollX, int32_t scrollY);
  void InvalidateMargins();
  void PaintMargins(DrawingContext &context, const RECT &paint);
  void ClearClientArea();
  void Scroll(int bar, int32_t position);
  void RecordChildWindowPositions();
  void MoveChildWindows(int32_t horizontal, int32_t vertical);
  // The input half (VORPlayerViewInput.cpp).
  void TakeButtonPoint(LPARAM point);
  void ResendMouseIfAsked();

  HWND m_window = nullptr;
  bool m_ownsWindow;
  std::unique_ptr<DrawingContext> m_context;
  HDC m_contextDC = nullptr;
  VORPageInstance *m_instance = nullptr;
  // The page's extent, the page's own rectangle, the chapter's page size.
  VORRect m_pageRect = VORRect::NotSet();
  VORRect m_shownPageRect = VORRect::NotSet();
  VORRect m_chapterPageRect = VORRect::NotSet();
  bool m_keepAspect = false;
  bool m_chapterHasOwnWindow = false;
  int32_t m_originX = 0;
  int32_t m_originY = 0;
  VORRect m_clientRect = VORRect(0, 0, 0, 0);
  std::unique_ptr<VORScreenBuffer> m_screenBuffer;
  PageHistory m_history;
  COLORREF m_backgroundColor = kWhite;
  std::vector<std::unique_ptr<PlayerViewChildWindow>> m_children;
  int32_t m_horizontalPosition = 0;
  int32_t m_verticalPosition = 0;

  bool m_inSetPageExtent = false;
  bool m_inRefresh = false;
  // A size that arrived while the layout ran (scroll bars that came or
  // went change the client area): laid out once the layout is done.
  bool m_sizePending = false;
  int32_t m_pendingWidth = 0;
  int32_t m_pendingHeight = 0;
  int32_t m_deferredLayouts = 0;
  static constexpr int32_t kMaxDeferredLayouts = 2;

  bool m_clientCleared = false;
  bool m_dragScroll = false;
  bool m_pageEntryCompleted = false;
  bool m_enterTransitionStarted = false;
  bool m_shownNoticeGiven = false;
  bool m_idleDone = false;
  bool m_idle = true;

  // Input: the buttons and key held, the pointer, auto-scroll.
  struct HeldInput {
    bool left = false;
    bool right = false;
    bool key = false;
    WPARAM keyWParam = 0;
    LPARAM keyLParam = 0;
  };
  struct AutoScroll {
    bool running = false;
    int32_t stepX = 0;
    int32_t stepY = 0;
  };
  static constexpr UINT_PTR kAutoScrollTimer = 5;
  static constexpr UINT kAutoScrollPeriod = 100;
  static constexpr int32_t kAutoScrollBand = 20;
  static constexpr int32_t kAutoScrollPixels = 20;
  HeldInput m_held;
  AutoScroll m_autoScroll;
  bool m_resendMouse = false;
  std::unique_ptr<ViewCursor::Platform> m_cursorPlatform;
  std::unique_ptr<ViewCursor> m_cursor;
};
