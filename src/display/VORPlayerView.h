#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "display/VORRunView.h"

class VORChapter;
class VORPublication;

// The player's run view: it makes and registers its window (or adopts one it
// is given, which it will not destroy), places it from the chapter's or the
// publication's settings and maps the window's messages to the run view.
class VORPlayerView : public VORRunView {
public:
  static constexpr const char *kWindowClass = "VOR_VIEW_CLASS";
  static constexpr const char *kChildWindowClass = "VOR_VIEW_CHILD";
  static constexpr const char *kWindowTitle = "VOR";
  static constexpr int kIconResource = 104;
  // Object action 104, aimed at a view, closes its window.
  static constexpr int32_t kCloseViewAction = 104;
  // The player's exit action and the player's reference.
  static constexpr int32_t kExitAction = 102;
  static constexpr VORObjectCode kPlayer = VORObjectCode(0, 0, 1);

  // A child window made for a page object, moved with the page as it
  // scrolls.
  class PlayerViewChildWindow : public ChildWindow {
  public:
    PlayerViewChildWindow(HWND parent, const VORRect &rect, ChildWindowCallback *callback);
    ~PlayerViewChildWindow() override;

    HWND GetWindow() const { return m_window; }
    ChildWindowCallback *GetCallback() const { return m_callback; }
    // Where it lies in the parent's client area at the given scroll positions.
    void Record(int32_t horizontal, int32_t vertical);
    // Moves it by the scroll since it was recorded; -1 keeps a position.
    void Follow(int32_t horizontal, int32_t vertical);

  private:
    static LRESULT CALLBACK ChildWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    HWND m_window = nullptr;
    ChildWindowCallback *m_callback;
    VORRect m_rect;
    POINT m_recorded = {0, 0};
    int32_t m_recordedHorizontal = 0;
    int32_t m_recordedVertical = 0;
  };

  // The view makes its own window later (CreateViewWindow).
  VORPlayerView(uint32_t classKey, int32_t id);
  // The view shows its pages in a window it is given and will not destroy.
  VORPlayerView(uint32_t classKey, int32_t id, HWND window);
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

  bool CreateChildWindow(const VORRect &rect, ChildWindowCallback *callback, HWND &window) override;
  void DestroyChildWindow(ChildWindowCallback *callback) override;
  size_t GetChildWindowCount() const { return m_children.size(); }

  bool OwnsWindow() const { return m_ownsWindow; }

protected:
  // Shows a page: the first time the screen buffer is made and the window
  // placed and shown; later, a different page or chapter size hides the
  // scroll bars. chapter: the page's chapter (may be null).
  void ShowPageInView(VORRecursiveObjectContainer *page, const PageFacts &facts, const VORChapter *chapter);
  static PageFacts FactsFor(const VORObjectCode &reference, const VORRect &pageRect, COLORREF backgroundColor,
                            const VORChapter *chapter);
  void RecordChildWindowPositions() override;
  void MoveChildWindows(int32_t horizontal, int32_t vertical) override;

private:
  static LRESULT CALLBACK ViewWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static bool RegisterViewClass(HINSTANCE instance);
  void PlaceWindow(const VORChapter *chapter);
  // The close box: a chapter's own window closes; the main window exits
  // when the publication allows it. Answers whether the message is taken.
  bool OnCloseBox();

  bool m_ownsWindow;
  std::vector<std::unique_ptr<PlayerViewChildWindow>> m_children;
  int32_t m_horizontalPosition = 0;
  int32_t m_verticalPosition = 0;
  bool m_chapterHasOwnWindow = false;
};
