#pragma once

#include <cstdint>

#include "display/VORRect.h"
#include "model/VORActionReceiver.h"
#include "model/VORObjectCode.h"

class VORPageInstance;
struct HWND__; // NOLINT(bugprone-reserved-identifier): the system's own name of what a window handle points to

// An on-screen view: shows one page instance at a time in a window, keeps a
// history of the pages shown there and hosts the child windows that page
// objects ask for. This is the face the engine and the pages see; the
// player view implements it with its window, its screen buffer and its
// input handling.
//
// A view is an action receiver with the reference (0, 3, id): id 1 is the
// main view, a chapter with a window of its own has the view (0, 3, chapter
// id). Its page reference (GetPageReference) is that of the page it shows,
// (0, 0, 0) when it shows none.
class VORRunView : public VORActionReceiver {
public:
  using WindowHandle = HWND__ *;

  static constexpr uint16_t kCategory = 0;
  static constexpr uint16_t kCode = 3;
  static constexpr uint32_t kClassKey = VORObjectCode::MakeClassKey(kCategory, kCode);
  static constexpr int32_t kMainViewId = 1;
  static constexpr VORObjectCode Identity(int32_t id) { return VORObjectCode(kCategory, kCode, id); }

  // A page object that owns a child window of the view hears its messages
  // first; true when it handled one.
  class ChildWindowCallback {
  public:
    ChildWindowCallback() = default;
    ChildWindowCallback(const ChildWindowCallback &) = default;
    ChildWindowCallback &operator=(const ChildWindowCallback &) = default;
    virtual ~ChildWindowCallback() = default;
    virtual bool OnChildWindowMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) = 0;
  };

  explicit VORRunView(int32_t id) : VORActionReceiver(kClassKey, id) {}
  VORRunView *AsRunView() override { return this; }

  // The drawing-surface part: mark everything dirty; draw what is dirty.
  virtual void InvalidateAll() = 0;
  virtual void FlushDirtyRects() = 0;

  // Draws what changed and completes a page entry whose transition ended.
  virtual void Refresh() = 0;
  virtual bool Initialize() = 0;
  // The view takes the instance as the one it shows (laying it out in its
  // window), resp. lets it go (running the page's exit transition).
  virtual void ShowPageInstance(VORPageInstance &instance) = 0;
  virtual void LeavePageInstance(VORPageInstance &instance) = 0;
  // False for views that only print.
  virtual bool IsInteractive() = 0;
  virtual VORPageInstance *GetPageInstance() = 0;
  // Null for a view without a window.
  virtual WindowHandle GetWindow() = 0;
  // Starts the shown page's enter transition; once it has run the page
  // instance hears that it is shown (VORPageInstance::OnShown).
  virtual void PlayEnterTransition() = 0;
  // Idle work of the main loop: links the next page's resources once per
  // shown instance.
  virtual void OnIdle() = 0;

  virtual bool HasPageInstance() = 0;
  virtual bool HistoryBack(VORObjectCode &reference) = 0;
  virtual bool HistoryForward(VORObjectCode &reference) = 0;
  virtual void HistoryPush(const VORObjectCode &reference) = 0;
  // A child window at rect (page coordinates) whose messages go to the
  // callback first; false when it could not be made.
  virtual bool CreateChildWindow(const VORRect &rect, ChildWindowCallback &callback, WindowHandle &window) = 0;
  virtual void DestroyChildWindow(ChildWindowCallback &callback) = 0;
  // False while a page transition still runs in the view.
  virtual bool IsTransitionDone() = 0;
  // True when the view has seen no input since it was last asked; asking
  // re-arms the flag.
  virtual bool TestAndSetIdle() = 0;
  // Shows the cursor the application's state asks for.
  virtual void UpdateCursor() = 0;
};
