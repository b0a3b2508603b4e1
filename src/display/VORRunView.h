#pragma once

#include <cstdint>
#include <memory>

#include "display/VORInputDispatcher.h"
#include "display/VORTransition.h"
#include "display/VORView.h"
#include "foundation/VORRect.h"
#include "model/VORObjectCode.h"

class VORExternalResourceIdentifier;
class VORRecursiveObjectContainer;

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
class VORRunView : public VORView {
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
  // The base of the child windows a view makes.
  class ChildWindow {
  public:
    ChildWindow() = default;
    ChildWindow(const ChildWindow &) = delete;
    ChildWindow &operator=(const ChildWindow &) = delete;
    virtual ~ChildWindow() = default;
  };

  explicit VORRunView(int32_t id) : VORView(kClassKey, id), m_input(*this) {}
  VORRunView *AsRunView() override { return this; }
  bool IsInteractive() override { return true; }

  virtual bool HasPageInstance() = 0;
  virtual bool HistoryBack(VORObjectCode &reference) = 0;
  virtual bool HistoryForward(VORObjectCode &reference) = 0;
  virtual void HistoryPush(const VORObjectCode &reference) = 0;
  // A child window at rect (page coordinates) whose messages go to the
  // callback first; false when it could not be made.
  virtual bool CreateChildWindow(const VORRect &rect, ChildWindowCallback &callback, WindowHandle &window) = 0;
  virtual void DestroyChildWindow(ChildWindowCallback &callback) = 0;
  // Moves the callback's child window to rect (page coordinates) where the
  // page shows now, however it is centred or scrolled; false when the view
  // holds no such window.
  virtual bool MoveChildWindow(ChildWindowCallback & /*callback*/, const VORRect & /*rect*/) { return false; }
  // False while a page transition still runs in the view.
  virtual bool IsTransitionDone() = 0;
  // Runs the effect modally over rect once the screen buffer has composed
  // what is dirty.
  virtual void RunTransitionModal(VORTransition &effect, const VORRect &rect, bool closing) {
    effect.RunModal(rect, closing);
  }
  // The effect the parameters name, made on the view's screen buffer and
  // reporting to the view, for an object shown or hidden in place; only an
  // effect that can run modally outside a page change is given, else null.
  virtual std::unique_ptr<VORTransition> CreateTransition(const VORFXParams & /*params*/) { return nullptr; }
  // True when the view has seen no input since it was last asked; asking
  // re-arms the flag.
  virtual bool TestAndSetIdle() = 0;
  // Shows the cursor the application's state asks for.
  virtual void UpdateCursor() = 0;

  // ---- Input ----
  // The input dispatch (mouse, keys, focus, mouse holder).
  VORInputDispatcher &GetInput() { return m_input; }
  const VORInputDispatcher &GetInput() const { return m_input; }
  // The objects input reaches: the shown instance's; null when none.
  virtual VORRecursiveObjectContainer *GetInputObjects();
  // The page's rectangle the mouse actions carry.
  virtual VORRect GetInputPageRect();
  // Ctrl 1, Alt 2, Shift 4 as they are at this moment.
  virtual uint32_t GetModifierBits() { return 0; }
  // The pointer moved: no longer idle; the pointer's shape is looked at
  // again.
  virtual void OnPointerMoved() { RequestCursorUpdate(); }
  virtual void RequestCursorUpdate() {}
  // Objects' side: the keyboard focus and the object that holds the mouse.
  void SetFocusObject(VORActionReceiver *object) { m_input.SetFocusObject(object); }
  void ReleaseFocus(VORActionReceiver &object) { m_input.ReleaseFocus(object); }
  void SetDraggedObject(VORActionReceiver *object) { m_input.SetDraggedObject(object); }
  void EndDrag(VORActionReceiver &object) { m_input.EndDrag(object); }
  // An object that goes is neither focus nor holder any longer.
  void ForgetInputObject(const VORActionReceiver &object) { m_input.Forget(object); }
  // The next refresh sends the pointer's position again, so that objects
  // under a pointer that did not move look at their hover state.
  virtual void RequestMouseRecheck() {}
  // The pointer an object asks for: none (null) changes nothing.
  virtual void SetObjectCursor(const VORExternalResourceIdentifier * /*identifier*/) {}

private:
  VORInputDispatcher m_input;
};
