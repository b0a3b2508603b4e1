#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "display/PageHistory.h"
#include "display/VORView.h"

class VORScreenBuffer;
class VORTransition;

// The on-screen view: a window, the page instance it shows, the screen
// buffer that composes the page, the scroll origin, a page history and the
// child windows that page objects ask for.
//
// Page and client coordinates: the page's top-left corner lies at the
// scroll origin of the client area; the origin is negative when the page is
// scrolled and positive when a page smaller than the window is centred. The
// drawing-surface part's bounds are the visible part of the page.
class VORRunView : public VORView {
public:
  // Base of the child windows made for page objects (video, browser).
  class ChildWindow {
  public:
    virtual ~ChildWindow() = default;
  };
  // Receives the messages of a child window first.
  class ChildWindowCallback {
  public:
    virtual ~ChildWindowCallback() = default;
    // True when it handled the message.
    virtual bool OnChildWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;
  };

  static constexpr COLORREF kWhite = RGB(255, 255, 255);

  VORRunView(uint32_t classKey, int32_t id);
  ~VORRunView() override;

  VORRunView *AsRunView() override { return this; }
  bool IsInteractive() override { return true; }
  HWND__ *GetWindow() override { return m_window; }
  VORScreenBuffer *GetScreenBuffer() override { return m_screenBuffer.get(); }
  VORRecursiveObjectContainer *GetPageInstance() override { return m_shownPage; }

  // Pages.
  bool HasPageInstance() const { return m_shownPage != nullptr; }
  // The reference of the page shown; (0, 0, 0) when none is.
  VORObjectCode GetPageReference() const override { return m_shownPageReference; }
  bool HistoryBack(VORObjectCode &reference) { return m_history.Back(reference); }
  bool HistoryForward(VORObjectCode &reference) { return m_history.Forward(reference); }
  void HistoryPush(const VORObjectCode &reference) { m_history.Push(reference); }
  const PageHistory &GetHistory() const { return m_history; }

  void Refresh() override;

  // Child windows.
  virtual bool CreateChildWindow(const VORRect &rect, ChildWindowCallback *callback, HWND &window) = 0;
  virtual void DestroyChildWindow(ChildWindowCallback *callback) = 0;

  // Transitions.
  bool IsTransitionDone() const;
  void RunTransitionModal(VORTransition &effect, const VORRect &rect, bool closing);

  // Layout and scrolling.
  void SetPageExtent(int32_t width, int32_t height, bool redraw, bool force);
  void OnSize(UINT type, int32_t width, int32_t height);
  void OnPaint();
  void OnHScroll(int32_t request);
  void OnVScroll(int32_t request);
  void OnMouseWheel(WPARAM wParam);
  LRESULT OnQueryNewPalette();
  LRESULT OnPaletteChanged(HWND changedBy);

  // Input: the page objects' dispatch comes with the objects; until then
  // the view takes the messages and does nothing with them.
  virtual void OnLButtonDown(WPARAM /*flags*/, LPARAM /*point*/) {}
  virtual void OnLButtonUp(WPARAM /*flags*/, LPARAM /*point*/) {}
  virtual void OnLButtonDblClk(WPARAM /*flags*/, LPARAM /*point*/) {}
  virtual void OnRButtonDown(WPARAM /*flags*/, LPARAM /*point*/) {}
  virtual void OnRButtonUp(WPARAM /*flags*/, LPARAM /*point*/) {}
  virtual void OnRButtonDblClk(WPARAM /*flags*/, LPARAM /*point*/) {}
  virtual void OnMouseMove(WPARAM /*flags*/, LPARAM /*point*/) {}
  virtual void OnKeyDown(WPARAM /*key*/, LPARAM /*data*/) {}
  virtual void OnKeyUp(WPARAM /*key*/, LPARAM /*data*/) {}
  virtual void OnChar(WPARAM /*key*/, LPARAM /*data*/) {}
  virtual LRESULT OnSetFocus() { return 0; }
  virtual LRESULT OnKillFocus() { return 0; }
  virtual void OnTimer(WPARAM /*timer*/) {}

  VORRect PageToClientRect(const VORRect &rect) const { return rect.Offset(m_originX, m_originY); }
  VORPoint PageToClientPoint(VORPoint point) const { return VORPoint{point.x + m_originX, point.y + m_originY}; }
  VORRect ClientToPageRect(const VORRect &rect) const { return rect.Offset(-m_originX, -m_originY); }
  VORPoint ClientToPagePoint(VORPoint point) const { return VORPoint{point.x - m_originX, point.y - m_originY}; }
  VORPoint GetScrollOrigin() const { return VORPoint{m_originX, m_originY}; }
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
  void LockPixels(void **bits, void **maskBits, BitmapInfoHeader **info, VORRect &rect) override;
  void LockMaskPixels(void **maskBits, BitmapInfoHeader **info, VORRect &rect) override;
  void UnlockPixels(bool copyBack) override;

protected:
  // What the view keeps of the page it shows: its rectangle and colour,
  // and its chapter's page size and keep-aspect flag.
  struct PageFacts {
    VORObjectCode reference = VORObjectCode::Zero();
    VORRect pageRect = VORRect::NotSet();
    COLORREF backgroundColor = kWhite;
    VORRect chapterPageRect = VORRect::NotSet();
    bool keepAspect = false;
  };

  // Becomes the view of the page: its surface bounds, the first fill of
  // the client area, the layout. page: the objects shown (may be empty).
  void ShowPage(VORRecursiveObjectContainer *page, const PageFacts &facts);
  void ForgetPage();
  void SetWindow(HWND window) { m_window = window; }
  void SetScreenBuffer(std::unique_ptr<VORScreenBuffer> buffer);
  void SetChapterFacts(const VORRect &chapterPageRect, bool keepAspect);
  const VORRect &GetChapterPageRect() const { return m_chapterPageRect; }
  bool KeepsAspect() const { return m_keepAspect; }
  const VORRect &GetShownPageRect() const { return m_shownPageRect; }
  void SetDragScrollMode(bool on) { m_dragScroll = on; }
  bool IsDragScrollMode() const { return m_dragScroll; }
  void HideScrollBars();
  // Where child windows are and how to move them with the page.
  virtual void RecordChildWindowPositions() {}
  virtual void MoveChildWindows(int32_t /*horizontal*/, int32_t /*vertical*/) {}
  // The screen buffer's copy into a window device context.
  void PaintMargins(DrawingContext &context, const RECT &paint);
  // Fills the whole client area with the page's background colour.
  void ClearClientArea();

  VORRecursiveObjectContainer *GetShownPage() const { return m_shownPage; }

  // Page entry: once the enter transition has started and finished, the
  // entry completes (a refresh, then the page's shown notice, once).
  void MarkEnterTransitionStarted() { m_enterTransitionStarted = true; }
  void CompletePageEntry();
  bool IsPageEntryCompleted() const { return m_pageEntryCompleted; }
  // Told to the page instance: that it is now shown whole, and its new
  // rectangle. The run view alone has no page instance to tell.
  virtual void OnPageShown() {}
  virtual void OnPageRectChanged(const VORRect & /*rect*/) {}
  // Deletes the view's drawing context and gives its device context back.
  void DeleteDrawingContext();

private:
  void Scroll(int bar, int32_t position);
  void InvalidateMargins();
  void SetScrollBars(int32_t width, int32_t height, int32_t scrollX, int32_t scrollY);

  HWND m_window = nullptr;
  std::unique_ptr<DrawingContext> m_context;
  HDC m_contextDC = nullptr;
  VORRecursiveObjectContainer *m_shownPage = nullptr;
  VORObjectCode m_shownPageReference = VORObjectCode::Zero();
  VORRect m_pageRect = VORRect::NotSet();
  VORRect m_shownPageRect = VORRect::NotSet();
  VORRect m_chapterPageRect = VORRect::NotSet();
  bool m_keepAspect = false;
  int32_t m_originX = 0;
  int32_t m_originY = 0;
  VORRect m_clientRect = VORRect(0, 0, 0, 0);
  std::unique_ptr<VORScreenBuffer> m_screenBuffer;
  PageHistory m_history;
  COLORREF m_backgroundColor = kWhite;
  bool m_inSetPageExtent = false;
  // A size that arrived while the layout ran (scroll bars that came or
  // went change the client area): laid out once the layout is done.
  bool m_sizePending = false;
  int32_t m_pendingWidth = 0;
  int32_t m_pendingHeight = 0;
  int32_t m_deferredLayouts = 0;
  static constexpr int32_t kMaxDeferredLayouts = 2;
  bool m_inRefresh = false;
  bool m_clientCleared = false;
  bool m_dragScroll = false;
  bool m_pageEntryCompleted = false;
  bool m_enterTransitionStarted = false;
  bool m_shownNoticeGiven = false;
};
