#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "PaintedPage.h"
#include "display/VORTransition.h"
#include "engine/VORUpdateController.h"
#include "model/ActionContext.h"
#include "model/VORActionList.h"
#include "model/VOREvent.h"
#include "model/VORPageInstance.h"
#include "model/VORTrigger.h"
#include "objects/VORAnimationController.h"
#include "objects/VORFrame.h"
#include "objects/VORGraphicalObjectAction.h"
#include "objects/VORInternalResourceObject.h"
#include "support/FakeClock.h"
#include "support/TestPageObject.h"
#include "support/TestPlayer.h"

namespace {

constexpr uint16_t kTestObjectCode = 0x7E01;
constexpr int32_t kAutoStarted = 4242;
constexpr int32_t kRecorderId = 99;
constexpr uint32_t kStart = 1000;
const VORRect kPage(0, 0, 200, 100);

// An effect that ends when the test says so.
class FakeEffect : public VORTransition {
public:
  void Start(bool closingRun) override {
    started = true;
    closing = closingRun;
  }
  bool IsFinished() const override { return finished; }
  bool WantsModalRun(bool /*pageTransition*/) override { return false; }
  void RunModal(const VORRect & /*rect*/, bool /*closing*/) override {}
  void Paint(const VORRect & /*destination*/, const VORRect & /*source*/) override {}

  bool started = false;
  bool closing = false;
  bool finished = false;
};

// A graphical object whose show and hide effects are fakes (none made
// while makesEffects is false).
class EffectObject : public PlainGraphical {
public:
  using PlainGraphical::PlainGraphical;

  bool StartEffect(bool closing) override {
    if (!makesEffects)
      return false;
    auto made = std::make_unique<FakeEffect>();
    made->Start(closing);
    effect = made.get();
    SetEffect(std::move(made));
    return true;
  }

  bool makesEffects = true;
  FakeEffect *effect = nullptr;
};

class PrintingView : public BufferView {
public:
  using BufferView::BufferView;
  bool IsInteractive() override { return false; }
};

// A page of graphical objects built in memory and shown in a view with a
// screen buffer, under a player whose clock the test sets: its event queue
// runs the posted actions on their 55 ms grid, its update controller the
// animations. An object's auto-start event sends kAutoStarted to a
// recording object.
class ShowHideTest : public ::testing::Test {
public:
  ShowHideTest() {
    clock.Set(kStart);
    EXPECT_TRUE(player.Load(TestPublications::Of({TestPublications::Chapter(1, {TestPublications::Page(1)})})));
    recorder = new TestPageObject(TestPageObject::kClassKey, kRecorderId);
    page.GetMasterInstance().InsertAfter(recorder, nullptr);
  }
  ~ShowHideTest() override { Leave(); }

  template <class Form = EffectObject>
  Form &Add(int32_t id, const VORRect &rect, VORRecursiveObjectContainer *parent = nullptr) {
    VORRecursiveObjectContainer &level = parent != nullptr ? *parent : page.GetMasterInstance();
    auto *object = new Form(VORObjectCode::MakeClassKey(1, kTestObjectCode), id);
    // A resource among its children: the object is not empty, so it paints.
    object->InsertAfter(new VORPlayerInternalResourceObject(VORInternalResourceObject::kClassKey, id + 1000), nullptr);
    VORGraphicalObject::VORGraphicalObjectProperties &properties = object->GetGraphicalProperties();
    properties.linkedResource = VORObjectCode::FromClassKey(VORInternalResourceObject::kClassKey, id + 1000);
    properties.layoutRect = rect;
    object->SetRect(rect);
    AddAutoStartEvent(*object);
    level.InsertAfter(object, level.GetChildCount() > 0 ? level.ChildAt(level.GetChildCount() - 1) : nullptr);
    return *object;
  }

  static void AddAutoStartEvent(VORGraphicalObject &object) {
    VORGraphicalObject::VORGraphicalObjectProperties &properties = object.GetGraphicalProperties();
    auto *event = new VOREvent(1);
    auto *action = new VORObjectAction(VORObjectAction::kClassKey, 0);
    action->SetActionCode(kAutoStarted);
    action->SetTarget(TestPageObject::Reference(kRecorderId));
    event->CreateActionList().Add(0, action);
    properties.events.Add(event);
    properties.eventMap.Add(new VORAutoStartTrigger(), 0);
  }

  VORPlayerAnimationController &AddController(VORGraphicalObject &object, int32_t id) {
    auto *controller = new VORPlayerAnimationController(VORAnimationController::kClassKey, id);
    object.InsertAfter(controller, nullptr);
    return *controller;
  }

  void ShowPage(BufferView &in) {
    VORPageInstance &instance = page.GetMasterInstance();
    instance.SetRect(kPage);
    in.buffer = std::make_unique<VORScreenBuffer>(&in, kPage);
    in.page = &instance;
    shownIn = &in;
    instance.Show(in);
    VORGraphicalObject::UpdatePageDrawFlags(instance);
    VORGraphicalObject::RebuildPageObjectSurfaces(instance);
    in.buffer->FlushDirtyRects();
    instance.OnShown();
    Paint();
  }
  void ShowPage() { ShowPage(view); }
  void Leave() {
    if (shownIn != nullptr)
      page.GetMasterInstance().Hide();
    shownIn = nullptr;
  }

  // The whole page composed: every visible object with surfaces checks
  // whether its transition has ended.
  void Paint() {
    shownIn->buffer->AddDirtyRect(kPage);
    shownIn->buffer->FlushDirtyRects();
  }

  // One pass of the main loop at now: queued actions, animations, painting.
  void Pass(uint32_t now) {
    clock.Set(now);
    player.OnTick(now);
    player.GetUpdateController()->Run();
    if (shownIn != nullptr)
      Paint();
  }
  // Passes every step ms up to end; onPass after each.
  template <class Check>
  void RunUntil(uint32_t end, Check onPass, uint32_t step = 5) {
    for (uint32_t now = clock.GetMilliseconds() + step; now <= end; now += step) {
      Pass(now);
      onPass(now);
    }
  }
  void RunUntil(uint32_t end) {
    RunUntil(end, [](uint32_t) {});
  }

  int AutoStarts() const {
    int count = 0;
    for (const int32_t code : recorder->receivedCodes)
      count += code == kAutoStarted ? 1 : 0;
    return count;
  }

  bool Send(VORGraphicalObject &object, int32_t code, const VORObjectCode &target) {
    VORGraphicalObjectAction action;
    action.SetActionCode(code);
    action.SetTarget(target);
    action.SetOriginObject(object.GetViewReference());
    action.SetOriginPage(object.GetPageReference());
    ActionContext context = ActionContext::FromAction(action);
    return object.ReceiveAction(action, context);
  }
  bool Send(VORGraphicalObject &object, int32_t code) { return Send(object, code, object.GetObjectCode()); }

  FakeClock clock;
  TestPlayer player{clock};
  BufferView view{24, kPage};
  VORPlayerPage page{VORPlayerPage::kClassKey, 1};
  TestPageObject *recorder = nullptr;
  BufferView *shownIn = nullptr;
};

// --- Entering and the page shown ---------------------------------------------

TEST_F(ShowHideTest, AnObjectWithAShowEffectStartsHiddenAndAutoStartsOnlyOnceTheEffectEnds) {
  EffectObject &object = Add(1, VORRect(10, 10, 50, 50));
  object.GetGraphicalProperties().showTransition.effectName = VORString("fade");
  VORPageInstance &instance = page.GetMasterInstance();
  instance.Show(view);
  EXPECT_FALSE(object.IsVisible()) << "hidden while the page is entered";
  instance.Hide();
  ShowPage();
  ASSERT_NE(object.effect, nullptr);
  EXPECT_TRUE(object.effect->started);
  EXPECT_FALSE(object.effect->closing);
  EXPECT_TRUE(object.IsVisible());
  EXPECT_TRUE(object.IsShowRunning());
  RunUntil(kStart + 500);
  EXPECT_EQ(AutoStarts(), 0) << "not while the effect runs";
  object.effect->finished = true;
  RunUntil(kStart + 1000);
  EXPECT_FALSE(object.IsShowRunning());
  EXPECT_EQ(object.GetEffect(), nullptr) << "a finished show effect is deleted";
  EXPECT_EQ(AutoStarts(), 1);
}

// However the show ends (no effect, an effect that was not made, an effect
// that ends), the auto-start trigger fires once and the timed hide is
// posted once, also when the page is painted many times before the end's
// action runs.
void ShowsOnce(ShowHideTest &test, EffectObject &object, const char *effect, bool makesEffect) {
  object.makesEffects = makesEffect;
  object.GetGraphicalProperties().showTransition.effectName = VORString(effect);
  object.GetGraphicalProperties().hideDelay = 60000;
  test.ShowPage();
  if (object.effect != nullptr)
    object.effect->finished = true;
  for (int i = 0; i < 5; ++i)
    test.Paint();
  test.RunUntil(kStart + 300);
  EXPECT_TRUE(object.IsVisible());
  EXPECT_FALSE(object.IsShowRunning());
  EXPECT_EQ(test.AutoStarts(), 1);
  EXPECT_EQ(test.player.GetEventQueue()->GetCount(), 1u) << "one timed hide";
  // A show-finished action that comes once the show is over runs nothing.
  EXPECT_TRUE(test.Send(object, VORGraphicalObjectAction::kShowFinished));
  EXPECT_EQ(test.player.GetEventQueue()->GetCount(), 1u) << "no second auto-start or timed hide";
}

TEST_F(ShowHideTest, AShowWithoutEffectAutoStartsOnce) { ShowsOnce(*this, Add(1, VORRect(10, 10, 50, 50)), "", true); }

TEST_F(ShowHideTest, AShowWhoseEffectWasNotMadeAutoStartsOnce) {
  ShowsOnce(*this, Add(1, VORRect(10, 10, 50, 50)), "fade", false);
}

TEST_F(ShowHideTest, AShowWhoseEffectEndsAutoStartsOnce) {
  ShowsOnce(*this, Add(1, VORRect(10, 10, 50, 50)), "fade", true);
}

// Not visible at start, shown 2000 ms after the page and hidden 3000 ms
// after that, each on the queue's 55 ms grid: the show falls due at
// (1000 + 2000) / 55 * 55 = 2970, the hide at (2970 + 3000) / 55 * 55 = 5940.
TEST_F(ShowHideTest, TimedShowAndHideFallOnTheQueuesGrid) {
  EffectObject &object = Add(1, VORRect(10, 10, 50, 50));
  object.GetGraphicalProperties().visibleAtStart = 0;
  object.GetGraphicalProperties().showDelay = 2000;
  object.GetGraphicalProperties().hideDelay = 3000;
  ShowPage();
  EXPECT_FALSE(object.IsVisible());
  uint32_t shownAt = 0, hiddenAt = 0;
  RunUntil(8000, [&](uint32_t now) {
    if (object.IsVisible() && shownAt == 0)
      shownAt = now;
    if (!object.IsVisible() && shownAt != 0 && hiddenAt == 0)
      hiddenAt = now;
  });
  EXPECT_EQ(shownAt, 2970u);
  EXPECT_EQ(hiddenAt, 5940u);
  EXPECT_EQ(AutoStarts(), 1);
}

TEST_F(ShowHideTest, AHideDuringAShowEffectIsDroppedAndAHideAtOnceHides) {
  EffectObject &object = Add(1, VORRect(10, 10, 50, 50));
  object.GetGraphicalProperties().showTransition.effectName = VORString("fade");
  object.GetGraphicalProperties().hideTransition.effectName = VORString("fade");
  ShowPage();
  ASSERT_TRUE(object.IsShowRunning());
  FakeEffect *showing = object.effect;
  EXPECT_TRUE(Send(object, VORGraphicalObjectAction::kHide));
  EXPECT_TRUE(object.IsVisible());
  EXPECT_FALSE(object.IsHideRunning());
  EXPECT_EQ(object.effect, showing) << "no hide effect started";
  EXPECT_TRUE(Send(object, VORGraphicalObjectAction::kHideAtOnce));
  EXPECT_FALSE(object.IsVisible());
  EXPECT_FALSE(object.HasSurfaces());
}

// A hide effect runs to its end; the object is hidden by the action its
// end posts, once.
TEST_F(ShowHideTest, AHideEffectHidesTheObjectWhenItEnds) {
  EffectObject &object = Add(1, VORRect(10, 10, 50, 50));
  object.GetGraphicalProperties().hideTransition.effectName = VORString("fade");
  ShowPage();
  ASSERT_TRUE(object.IsVisible());
  EXPECT_TRUE(Send(object, VORGraphicalObjectAction::kHide));
  ASSERT_NE(object.effect, nullptr);
  EXPECT_TRUE(object.effect->closing);
  EXPECT_TRUE(object.IsHideRunning());
  RunUntil(kStart + 300);
  EXPECT_TRUE(object.IsVisible());
  object.effect->finished = true;
  Paint();
  EXPECT_NE(object.GetEffect(), nullptr) << "kept until hidden: it paints nothing";
  RunUntil(kStart + 600);
  EXPECT_FALSE(object.IsVisible());
  EXPECT_FALSE(object.IsHideRunning());
}

TEST_F(ShowHideTest, ActionsForAnotherObjectAreNotHandled) {
  EffectObject &object = Add(1, VORRect(10, 10, 50, 50));
  EffectObject &other = Add(2, VORRect(60, 10, 90, 50));
  object.GetGraphicalProperties().visibleAtStart = 0;
  ShowPage();
  for (const int32_t code : {12, 13, 18, 19, 20, 21})
    EXPECT_FALSE(Send(object, code, other.GetObjectCode())) << code;
  EXPECT_FALSE(object.IsVisible());
  EXPECT_TRUE(Send(object, VORGraphicalObjectAction::kShow));
  EXPECT_TRUE(object.IsVisible());
  EXPECT_FALSE(Send(object, 17)) << "the end of a drag is no graphical object's";
}

// Printing shows every object as it stands: no effect, no trigger, no
// timed show or hide.
TEST_F(ShowHideTest, InAPrintingViewEveryObjectIsVisibleWithoutEffectOrTrigger) {
  EffectObject &hidden = Add(1, VORRect(10, 10, 50, 50));
  hidden.GetGraphicalProperties().visibleAtStart = 0;
  hidden.GetGraphicalProperties().showDelay = 100;
  EffectObject &faded = Add(2, VORRect(60, 10, 90, 50));
  faded.GetGraphicalProperties().showTransition.effectName = VORString("fade");
  faded.GetGraphicalProperties().hideDelay = 100;
  PrintingView printing(24, kPage);
  ShowPage(printing);
  RunUntil(kStart + 500);
  EXPECT_TRUE(hidden.IsVisible());
  EXPECT_TRUE(faded.IsVisible());
  EXPECT_EQ(faded.effect, nullptr);
  EXPECT_EQ(AutoStarts(), 0);
  EXPECT_EQ(player.GetEventQueue()->GetCount(), 0u);
}

// The parent shows its children after its own show: one visible at start
// with it, one with a delay later, one without a delay only when asked.
TEST_F(ShowHideTest, ChildrenFollowTheirParentsShow) {
  EffectObject &parent = Add(1, VORRect(0, 0, 200, 100));
  parent.GetGraphicalProperties().showTransition.effectName = VORString("fade");
  EffectObject &withParent = Add(2, VORRect(10, 10, 20, 20), &parent);
  EffectObject &delayed = Add(3, VORRect(30, 10, 40, 20), &parent);
  delayed.GetGraphicalProperties().visibleAtStart = 0;
  delayed.GetGraphicalProperties().showDelay = 500;
  EffectObject &asked = Add(4, VORRect(50, 10, 60, 20), &parent);
  asked.GetGraphicalProperties().visibleAtStart = 0;
  ShowPage();
  EXPECT_TRUE(withParent.IsVisible()) << "shown with its parent, under the parent's effect";
  EXPECT_FALSE(delayed.IsVisible());
  RunUntil(kStart + 100);
  EXPECT_EQ(AutoStarts(), 1) << "the child's own, once";
  parent.effect->finished = true;
  RunUntil(kStart + 200);
  EXPECT_EQ(AutoStarts(), 2) << "the parent's; the child's not again";
  EXPECT_FALSE(delayed.IsVisible());
  RunUntil(kStart + 1000);
  EXPECT_TRUE(delayed.IsVisible()) << "500 ms after the parent's show ended";
  RunUntil(kStart + 5000);
  EXPECT_FALSE(asked.IsVisible()) << "show delay -1: until asked";
  EXPECT_TRUE(Send(asked, VORGraphicalObjectAction::kShow));
  EXPECT_TRUE(asked.IsVisible());
  RunUntil(kStart + 5100);
  EXPECT_EQ(AutoStarts(), 4);
}

// --- Children go with their parent -------------------------------------------

// A child lies over its parent wherever the parent goes: moved, resized,
// dragged or walked along a path, the parent carries its children and
// theirs.
struct Family {
  EffectObject &parent;
  EffectObject &child;
  EffectObject &grandchild;

  explicit Family(ShowHideTest &test)
      : parent(test.Add(1, VORRect(10, 10, 50, 40))), child(test.Add(2, VORRect(0, 0, 5, 5), &parent)),
        grandchild(test.Add(3, VORRect(1, 1, 2, 2), &child)) {
    // Placed as the page's layout places it once its children are read.
    parent.SetRect(parent.GetLayoutRect());
  }

  void ExpectAllAt(const VORRect &expected) const {
    EXPECT_EQ(parent.GetRect(), expected);
    EXPECT_EQ(child.GetRect(), expected);
    EXPECT_EQ(grandchild.GetRect(), expected);
  }
};

TEST_F(ShowHideTest, AMovedOrResizedParentCarriesItsChildren) {
  Family family(*this);
  ShowPage();
  family.ExpectAllAt(VORRect(10, 10, 50, 40));
  family.parent.SetRect(VORRect(60, 30, 100, 60));
  family.ExpectAllAt(VORRect(60, 30, 100, 60));
  family.parent.SetRect(VORRect(10, 10, 90, 70));
  family.ExpectAllAt(VORRect(10, 10, 90, 70));
}

TEST_F(ShowHideTest, ADraggedParentCarriesItsChildren) {
  Family family(*this);
  family.parent.GetGraphicalProperties().draggable = 1;
  ShowPage();
  family.parent.BeginDrag(20, 20);
  family.parent.DragTo(70, 45, 1);
  family.ExpectAllAt(VORRect(60, 35, 100, 65));
}

TEST_F(ShowHideTest, AParentWalkingItsPathCarriesItsChildren) {
  Family family(*this);
  VORPlayerAnimationController &path = AddController(family.parent, 7);
  path.GetControllerProperties().path = {{30, 25, 0, 0}, {130, 25, 1000, 0}};
  family.parent.GetGraphicalProperties().pathAnimation = path.GetObjectCode();
  ShowPage();
  RunUntil(kStart + 500);
  family.ExpectAllAt(VORRect(60, 10, 100, 40));
}

// An object inside a frame that was moved while hidden takes its place by
// the frame's guides again before it shows, as one on the page does.
TEST_F(ShowHideTest, AnObjectMovedWhileHiddenInAFrameShowsOnItsPlace) {
  auto &frame = Add<VORPlayerFrame>(1, VORRect(20, 20, 120, 70));
  EffectObject &child = Add(2, VORRect(10, 5, 30, 25), &frame);
  child.GetGraphicalProperties().visibleAtStart = 0;
  frame.GetFrameLayout().SetBounds(frame.GetLayoutRect());
  ShowPage();
  EXPECT_EQ(child.GetRect(), VORRect(30, 25, 50, 45));
  frame.SetRect(VORRect(40, 30, 140, 80));
  child.SetRect(VORRect(0, 0, 20, 20));
  EXPECT_TRUE(Send(child, VORGraphicalObjectAction::kShow));
  EXPECT_TRUE(child.IsVisible());
  EXPECT_EQ(child.GetRect(), VORRect(50, 35, 70, 55)) << "by its guides, in the frame where it stands now";
}

// --- Animation ---------------------------------------------------------------

// A 40 x 20 object flying in from above over 1000 ms: it starts hidden,
// appears above the page, moves down, ends exactly on its place, and only
// then does its show end.
TEST_F(ShowHideTest, AFlyInShowsTheObjectAndEndsOnItsPlace) {
  const VORRect place(60, 30, 100, 50);
  EffectObject &object = Add(1, place);
  VORPlayerAnimationController &flyIn = AddController(object, 7);
  flyIn.GetControllerProperties().kind = VORAnimationController::kFlyIn;
  flyIn.GetControllerProperties().entryTime = 1000;
  object.GetGraphicalProperties().showAnimation = flyIn.GetObjectCode();
  VORPageInstance &instance = page.GetMasterInstance();
  instance.Show(view);
  EXPECT_FALSE(object.IsVisible());
  instance.Hide();
  ShowPage();
  EXPECT_TRUE(object.IsVisible());
  EXPECT_TRUE(object.IsShowRunning());
  EXPECT_EQ(object.GetAnimationDriver(), &flyIn);
  EXPECT_EQ(object.GetRect(), VORRect(60, -20, 100, 0)) << "wholly above the page";
  RunUntil(kStart + 500);
  EXPECT_EQ(object.GetRect(), VORRect(60, 5, 100, 25));
  EXPECT_EQ(AutoStarts(), 0);
  RunUntil(kStart + 1200);
  EXPECT_EQ(object.GetRect(), place);
  EXPECT_FALSE(flyIn.IsActive());
  EXPECT_EQ(object.GetAnimationDriver(), nullptr);
  EXPECT_FALSE(object.IsShowRunning());
  EXPECT_EQ(AutoStarts(), 1);
}

TEST_F(ShowHideTest, AFlyOutHidesTheObjectAtItsEnd) {
  EffectObject &object = Add(1, VORRect(60, 30, 100, 50));
  VORPlayerAnimationController &flyOut = AddController(object, 7);
  flyOut.GetControllerProperties().kind = VORAnimationController::kFlyOut;
  flyOut.GetControllerProperties().exitAngle = 270;
  flyOut.GetControllerProperties().exitTime = 400;
  object.GetGraphicalProperties().hideAnimation = flyOut.GetObjectCode();
  ShowPage();
  EXPECT_TRUE(Send(object, VORGraphicalObjectAction::kHide));
  EXPECT_TRUE(object.IsHideRunning());
  RunUntil(kStart + 200);
  EXPECT_TRUE(object.IsVisible());
  EXPECT_EQ(object.GetRect(), VORRect(10, 30, 50, 50)) << "half way to the left";
  RunUntil(kStart + 500);
  EXPECT_FALSE(object.IsVisible());
  EXPECT_EQ(object.GetRect(), VORRect(-40, 30, 0, 50)) << "wholly off the page";
}

// A path starts once the object is shown and walks its points by time.
TEST_F(ShowHideTest, APathAnimationMovesTheObjectAlongItsPoints) {
  EffectObject &object = Add(1, VORRect(0, 0, 20, 20));
  VORPlayerAnimationController &path = AddController(object, 7);
  path.GetControllerProperties().path = {{10, 10, 0, 0}, {110, 10, 1000, 0}, {110, 60, 500, 0}};
  object.GetGraphicalProperties().pathAnimation = path.GetObjectCode();
  ShowPage();
  EXPECT_EQ(object.GetRect(), VORRect(0, 0, 20, 20));
  RunUntil(kStart + 500);
  EXPECT_EQ(object.GetRect(), VORRect(50, 0, 70, 20));
  RunUntil(kStart + 1250);
  EXPECT_EQ(object.GetRect(), VORRect(100, 25, 120, 45));
  RunUntil(kStart + 2000);
  EXPECT_EQ(object.GetRect(), VORRect(100, 50, 120, 70)) << "on the last point";
  EXPECT_FALSE(path.IsActive());
  EXPECT_TRUE(object.IsVisible());
}

// An animation that is still running when the page goes leaves the update
// controller, and a hide stops the path first.
TEST_F(ShowHideTest, AnAnimationLeavesTheUpdateControllerWithItsPage) {
  EffectObject &object = Add(1, VORRect(0, 0, 20, 20));
  VORPlayerAnimationController &path = AddController(object, 7);
  path.GetControllerProperties().kind = VORAnimationController::kVelocity;
  object.GetGraphicalProperties().pathAnimation = path.GetObjectCode();
  ShowPage();
  RunUntil(kStart + 100);
  EXPECT_TRUE(path.IsActive());
  EXPECT_TRUE(player.GetUpdateController()->IsScheduled(&path));
  EXPECT_TRUE(Send(object, VORGraphicalObjectAction::kHide));
  EXPECT_FALSE(path.IsActive()) << "the hide stops the path";
  EXPECT_FALSE(object.IsVisible());
  EXPECT_TRUE(Send(object, VORGraphicalObjectAction::kShow));
  EXPECT_TRUE(path.IsActive());
  Leave();
  EXPECT_FALSE(path.IsActive());
  EXPECT_FALSE(player.GetUpdateController()->IsScheduled(&path));
  player.GetUpdateController()->Run();
}

// A controller whose parent is not a graphical object has nothing to move.
TEST_F(ShowHideTest, AControllerWithoutAGraphicalParentDoesNothing) {
  auto *controller = new VORPlayerAnimationController(VORAnimationController::kClassKey, 7);
  page.GetMasterInstance().InsertAfter(controller, nullptr);
  ShowPage();
  controller->Start();
  EXPECT_FALSE(controller->IsActive());
}

} // namespace
