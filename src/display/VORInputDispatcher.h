#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "foundation/VORRect.h"
#include "model/VORObjectCode.h"

class VORActionReceiver;
class VORObjectAction;
class VORRecursiveObjectContainer;
class VORRunView;

// The mouse codes and modifier bits of the input actions a run view sends.
namespace VORInput {
enum MouseCode : int32_t {
  kLeftDown = 2,
  kLeftUp = 3,
  kLeftDoubleClick = 4,
  kRightDown = 5,
  kRightUp = 6,
  kRightDoubleClick = 7,
  kPointerMoved = 8,
  kFocusLost = 16,
  kMouseReleased = 17,
  kPointerRefresh = 22,
};
enum Modifier : uint32_t { kCtrl = 1, kAlt = 2, kShift = 4 };
constexpr int32_t kEscapeKey = 27;
} // namespace VORInput

// Makes the action a mouse input becomes. The page objects' layer installs
// the one that makes its graphical object actions; until then no mouse
// action is made.
class VORMouseActionFactory {
public:
  VORMouseActionFactory() = default;
  VORMouseActionFactory(const VORMouseActionFactory &) = delete;
  VORMouseActionFactory &operator=(const VORMouseActionFactory &) = delete;
  virtual ~VORMouseActionFactory() = default;

  virtual std::unique_ptr<VORObjectAction> Make(int32_t code, VORPoint point, const VORRect &pageRect,
                                                uint32_t modifiers) const = 0;

  static void Install(const VORMouseActionFactory *factory);
  static const VORMouseActionFactory *Get();
};

// A run view's input: turns mouse and key input into object actions for
// the page objects it shows, delivered at once. It keeps the last pointer
// position (page coordinates), the keyboard-focus object and the object
// that holds the mouse.
//
// An action delivered at once may change the page (a go-to-page trigger
// acts at once when an action list runs inline, and Escape exits), so the
// objects are walked from a list taken before the walk, and each is found
// again in the shown page as its turn comes; once the page is gone the walk
// ends.
class VORInputDispatcher {
public:
  explicit VORInputDispatcher(VORRunView &view) : m_view(view) {}

  // Mouse codes 2 to 7: to the holder alone when one holds the mouse,
  // otherwise to the objects under the pointer from the topmost down until
  // one takes it. True when one took it.
  bool DispatchMouseEvent(int32_t code);
  // The pointer moved: code 8 to every object from the topmost down, then
  // code 22 to every object from the bottom up, whatever they answer.
  void DispatchMouseMove(VORPoint point);
  // Keys (9, 10, 11): the focus object first, then every other object from
  // the topmost down until one takes it.
  bool DispatchKeyEvent(int32_t code, uintptr_t wParam, intptr_t lParam);

  void SetLastPosition(VORPoint point) { m_lastPosition = point; }
  VORPoint GetLastPosition() const { return m_lastPosition; }

  // Focus and mouse holder (borrowed; the objects clear them as they go).
  void SetFocusObject(VORActionReceiver *object);
  void ReleaseFocus(VORActionReceiver &object);
  void SetDraggedObject(VORActionReceiver *object);
  void EndDrag(VORActionReceiver &object);
  VORActionReceiver *GetFocusObject() const { return m_focus; }
  VORActionReceiver *GetMouseHolder() const { return m_holder; }
  // The page goes: nothing of it is held any longer.
  void Forget();
  // An object that goes (hidden, or its page left) is held no longer.
  void Forget(const VORActionReceiver &object);

private:
  struct Entry {
    VORActionReceiver *object;
    VORObjectCode reference;
    bool graphical;
    VORRect rect;
  };
  enum class Order { kTopFirst, kBottomFirst };

  std::vector<Entry> Snapshot(VORRecursiveObjectContainer &root, Order order) const;
  // The entry's object, when it is still where the snapshot found it.
  bool IsStillShown(VORRecursiveObjectContainer *root, const Entry &entry) const;
  bool Deliver(VORActionReceiver &object, VORObjectAction &action);
  bool DeliverMouse(VORActionReceiver &object, int32_t code, uint32_t modifiers);
  // A press outside the focus object takes the keyboard focus from it, so
  // that a field being typed into is left (and commits) on a click
  // elsewhere.
  void ReleaseFocusOnPressElsewhere();
  bool DeliverKey(VORActionReceiver &object, int32_t code, uintptr_t wParam, intptr_t lParam);
  void Address(VORObjectAction &action, const VORActionReceiver &object) const;

  VORRunView &m_view;
  VORPoint m_lastPosition{0, 0};
  VORActionReceiver *m_focus = nullptr;
  VORActionReceiver *m_holder = nullptr;
};
