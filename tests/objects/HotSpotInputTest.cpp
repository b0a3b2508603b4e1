#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "OnePagePublication.h"
#include "display/VORKeyboardObjectAction.h"
#include "model/ActionContext.h"
#include "model/VORActionList.h"
#include "model/VOREvent.h"
#include "model/VORPageInstance.h"
#include "model/VORPlayerPage.h"
#include "model/VORPublication.h"
#include "model/VORTrigger.h"
#include "objects/VORGraphicalObjectAction.h"
#include "objects/VORSimpleHotSpot.h"
#include "support/FakeApp.h"
#include "support/HeadlessView.h"

namespace {

// A hotspot that writes down the mouse triggers it fires.
class LoggingHotSpot : public VORPlayerSimpleHotSpot {
public:
  LoggingHotSpot(int32_t id, VORRect rect, std::vector<std::string> *log)
      : VORPlayerSimpleHotSpot(VORObjectCode::MakeClassKey(kCategory, kCode), id), m_log(log) {
    GetGraphicalProperties().layoutRect = rect;
    SetRect(rect);
  }
  void FireLButtonDown(uint16_t bits) override {
    Note("down", bits);
    VORPlayerSimpleHotSpot::FireLButtonDown(bits);
  }
  void FireLButtonUp(uint16_t bits) override {
    Note("up", bits);
    VORPlayerSimpleHotSpot::FireLButtonUp(bits);
  }
  void FireLButtonDblClk(uint16_t bits) override {
    Note("double", bits);
    VORPlayerSimpleHotSpot::FireLButtonDblClk(bits);
  }
  void FireRButtonDown(uint16_t bits) override {
    Note("right down", bits);
    VORPlayerSimpleHotSpot::FireRButtonDown(bits);
  }
  void FireRButtonUp(uint16_t bits) override {
    Note("right up", bits);
    VORPlayerSimpleHotSpot::FireRButtonUp(bits);
  }
  void FireRButtonDblClk(uint16_t bits) override {
    Note("right double", bits);
    VORPlayerSimpleHotSpot::FireRButtonDblClk(bits);
  }
  void FireMouseEnter(uint16_t bits) override {
    Note("enter", bits);
    VORPlayerSimpleHotSpot::FireMouseEnter(bits);
  }
  void FireMouseLeave(uint16_t bits) override {
    Note("leave", bits);
    VORPlayerSimpleHotSpot::FireMouseLeave(bits);
  }
  void FireKeyDown(uint16_t key) override {
    Note("key", key);
    VORPlayerSimpleHotSpot::FireKeyDown(key);
  }

private:
  void Note(const char *what, uint16_t value) {
    m_log->push_back(std::to_string(GetObjectCode().id) + " " + what + (value != 0 ? std::to_string(value) : ""));
  }
  std::vector<std::string> *m_log;
};

// Input reaches a page of two overlapping hotspots: 1 (10, 10, 60, 60) below
// 2 (40, 40, 100, 100), shown in a view without a window.
class HotSpotInputTest : public ::testing::Test {
protected:
  HotSpotInputTest() : m_onePage(m_app, VORRect(0, 0, 200, 200)), m_page(&m_onePage.Page()), m_view(1) {
    VORPageInstance &instance = m_page->GetMasterInstance();
    m_lower = new LoggingHotSpot(1, VORRect(10, 10, 60, 60), &m_log);
    instance.InsertAfter(m_lower, nullptr);
    m_upper = new LoggingHotSpot(2, VORRect(40, 40, 100, 100), &m_log);
    instance.InsertAfter(m_upper, m_lower);
    instance.Show(m_view);
    m_view.ShowPageInstance(instance);
    m_lower->Show(0);
    m_upper->Show(0);
  }
  ~HotSpotInputTest() override { m_page->GetMasterInstance().Hide(); }

  void Click(int32_t x, int32_t y) {
    m_view.GetInput().SetLastPosition(VORPoint{x, y});
    m_view.GetInput().DispatchMouseEvent(VORInput::kLeftDown);
    m_view.GetInput().DispatchMouseEvent(VORInput::kLeftUp);
  }

  FakeApp m_app;
  OnePagePublication m_onePage;
  VORPlayerPage *m_page;
  HeadlessView m_view;
  LoggingHotSpot *m_lower;
  LoggingHotSpot *m_upper;
  std::vector<std::string> m_log;
};

TEST_F(HotSpotInputTest, TheUpperObjectHearsFirstAndPassesOnWhenItsFlagsSaySo) {
  // Both pass every event on (flags 255): the lower one hears it too.
  Click(50, 50);
  EXPECT_EQ(m_log, (std::vector<std::string>{"2 down", "1 down", "2 up", "1 up"}));
  // The upper one keeps button events: the lower one hears nothing.
  m_log.clear();
  m_upper->GetHotSpotProperties().flags = 0;
  Click(50, 50);
  EXPECT_EQ(m_log, (std::vector<std::string>{"2 down", "2 up"}));
  // Where only the lower one lies, it hears the click.
  m_log.clear();
  Click(20, 20);
  EXPECT_EQ(m_log, (std::vector<std::string>{"1 down", "1 up"}));
}

TEST_F(HotSpotInputTest, MovesVisitEveryObjectAndTrackEnterAndLeave) {
  m_view.GetInput().DispatchMouseMove(VORPoint{50, 50});
  m_view.GetInput().DispatchMouseMove(VORPoint{150, 150});
  EXPECT_EQ(m_log, (std::vector<std::string>{"2 enter", "1 enter", "2 leave", "1 leave"}));
  EXPECT_EQ(m_upper->GetState(), VORHotSpot::kOutside);
}

// ---- One hotspot's state machine ---------------------------------------------

// The mouse actions the view sends, straight to the upper hotspot, which
// starts with the pointer outside. Each step gives the answer the hotspot
// owes when it keeps every event (no pass-through flag); with every flag
// set it must answer "pass on" every time and fire the same triggers.
const VORPoint kIn{50, 50};
const VORPoint kOut{150, 150};

struct MouseStep {
  int32_t code;
  VORPoint point;
  bool keptAnswer;
  uint32_t modifiers = 0;
};

struct MouseSequence {
  const char *name;
  std::vector<MouseStep> steps;
  std::vector<std::string> fired;
  int32_t state;
};

class HotSpotSequenceTest : public HotSpotInputTest {
protected:
  bool Send(const MouseStep &step) {
    VORGraphicalObjectAction action;
    action.SetActionCode(step.code);
    action.SetTarget(m_upper->GetObjectCode());
    action.SetPoint(step.point);
    action.SetModifiers(step.modifiers);
    ActionContext context = ActionContext::FromView(&m_view);
    return m_upper->ReceiveAction(action, context);
  }
  // Hidden and shown again: the pointer is outside and nothing is held.
  void StartAfresh() {
    m_upper->Hide(0);
    m_upper->Show(0);
    m_log.clear();
  }
};

TEST_F(HotSpotSequenceTest, EventSequencesFireTriggersAndAnswerByThePassThroughFlags) {
  using namespace VORInput;
  const MouseSequence sequences[] = {
      {"enter, press, release",
       {{kPointerMoved, kIn, true}, {kLeftDown, kIn, true}, {kLeftUp, kIn, true}},
       {"2 enter", "2 down", "2 up"},
       VORHotSpot::kInside},
      {"released outside, it leaves",
       {{kLeftDown, kIn, true}, {kLeftUp, kOut, false}},
       {"2 down", "2 leave"},
       VORHotSpot::kOutside},
      {"moved out while held, it leaves",
       {{kLeftDown, kIn, true}, {kPointerMoved, kOut, false}},
       {"2 down", "2 leave"},
       VORHotSpot::kOutside},
      {"a move outside while outside", {{kPointerMoved, kOut, false}}, {}, VORHotSpot::kOutside},
      {"a press outside", {{kLeftDown, kOut, false}}, {}, VORHotSpot::kOutside},
      {"a release outside while outside", {{kLeftUp, kOut, false}}, {}, VORHotSpot::kOutside},
      {"a release inside without a press fires nothing",
       {{kPointerMoved, kIn, true}, {kLeftUp, kIn, true}},
       {"2 enter"},
       VORHotSpot::kInside},
      {"the left release of a right press fires nothing",
       {{kRightDown, kIn, true}, {kLeftUp, kIn, true}, {kRightUp, kIn, true}},
       {"2 right down", "2 right up"},
       VORHotSpot::kInside},
      {"the right release of a left press fires nothing",
       {{kLeftDown, kIn, true}, {kRightUp, kIn, true}, {kLeftUp, kIn, true}},
       {"2 down", "2 up"},
       VORHotSpot::kInside},
      {"double clicks fire only where they hit but always answer",
       {{kLeftDoubleClick, kIn, true},
        {kLeftDoubleClick, kOut, true},
        {kRightDoubleClick, kIn, true},
        {kRightDoubleClick, kOut, true}},
       {"2 double", "2 right double"},
       VORHotSpot::kOutside},
      {"Ctrl, Alt and Shift become trigger bits",
       {{kLeftDown, kIn, true, kCtrl | kShift}, {kLeftUp, kIn, true, kAlt}},
       {"2 down80", "2 up32"},
       VORHotSpot::kInside},
  };
  for (const uint32_t flags : {0u, VORHotSpot::VORHotSpotProperties::kAllPass}) {
    m_upper->GetHotSpotProperties().flags = flags;
    for (const MouseSequence &sequence : sequences) {
      StartAfresh();
      for (size_t i = 0; i < sequence.steps.size(); ++i) {
        const bool expected = flags == 0 && sequence.steps[i].keptAnswer;
        EXPECT_EQ(Send(sequence.steps[i]), expected) << sequence.name << ", step " << i << ", flags " << flags;
      }
      EXPECT_EQ(m_log, sequence.fired) << sequence.name << ", flags " << flags;
      EXPECT_EQ(m_upper->GetState(), sequence.state) << sequence.name << ", flags " << flags;
    }
  }
}

// Each flag lets exactly its own events pass: the last step answers "pass
// on" with only its flag set and "handled" with every other flag set.
TEST_F(HotSpotSequenceTest, EachPassThroughFlagGovernsItsOwnEvents) {
  using namespace VORInput;
  using Pass = VORHotSpot::VORHotSpotProperties;
  const struct {
    uint32_t flag;
    std::vector<MouseStep> steps;
  } cases[] = {
      {Pass::kPassButtonDown, {{kLeftDown, kIn, true}}},
      {Pass::kPassButtonDown, {{kRightDown, kIn, true}}},
      {Pass::kPassButtonUp, {{kLeftDown, kIn, true}, {kLeftUp, kIn, true}}},
      {Pass::kPassButtonUp, {{kRightDown, kIn, true}, {kRightUp, kIn, true}}},
      {Pass::kPassMouseMove, {{kPointerMoved, kIn, true}}},
      {Pass::kPassMouseMove, {{kLeftDown, kIn, true}, {kPointerMoved, kIn, true}}},
      {Pass::kPassLeftDoubleClick, {{kLeftDoubleClick, kIn, true}}},
      {Pass::kPassRightDoubleClick, {{kRightDoubleClick, kIn, true}}},
  };
  for (const auto &c : cases) {
    for (const bool onlyItsOwn : {true, false}) {
      m_upper->GetHotSpotProperties().flags = onlyItsOwn ? c.flag : Pass::kAllPass & ~c.flag;
      StartAfresh();
      bool answer = false;
      for (const MouseStep &step : c.steps)
        answer = Send(step);
      EXPECT_EQ(answer, !onlyItsOwn) << "flag " << c.flag << ", last code " << c.steps.back().code;
    }
  }
}

TEST_F(HotSpotSequenceTest, AHiddenHotSpotFiresNothingAndPassesEverythingOn) {
  m_upper->GetHotSpotProperties().flags = 0;
  m_upper->Hide(0);
  for (const int32_t code : {VORInput::kPointerMoved, VORInput::kLeftDown, VORInput::kLeftUp,
                             VORInput::kLeftDoubleClick, VORInput::kRightDown, VORInput::kRightUp})
    EXPECT_FALSE(Send({code, kIn, true})) << "code " << code;
  EXPECT_TRUE(m_log.empty());
}

TEST_F(HotSpotInputTest, TheMouseHolderAloneGetsClicks) {
  m_view.SetDraggedObject(m_lower);
  Click(90, 90);
  // Outside the lower hotspot: it answers nothing and fires nothing.
  EXPECT_TRUE(m_log.empty());
  m_view.EndDrag(*m_lower);
  Click(90, 90);
  EXPECT_EQ(m_log, (std::vector<std::string>{"2 down", "2 up"}));
}

TEST_F(HotSpotInputTest, EscapeExitsWithoutReachingObjectsWhenThePublicationAllowsIt) {
  m_view.SetFocusObject(m_upper);
  m_view.GetInput().DispatchKeyEvent(VORKeyboardObjectAction::kKeyDown, 27, 0);
  EXPECT_EQ(m_log, (std::vector<std::string>{"2 key27", "1 key27"}));
  m_log.clear();
  m_onePage.Publication().GetPublicationProperties().flags = VORPublication::kEscapeExitsFlag;
  m_view.GetInput().DispatchKeyEvent(VORKeyboardObjectAction::kKeyDown, 27, 0);
  EXPECT_TRUE(m_log.empty());
}

TEST_F(HotSpotInputTest, AutoRepeatFiresAfter400ThenEvery100UntilReleased) {
  m_upper->GetHotSpotProperties().autoRepeat = 1;
  m_upper->GetHotSpotProperties().flags = 0;
  m_view.GetInput().SetLastPosition(VORPoint{90, 90});
  m_view.GetInput().DispatchMouseEvent(VORInput::kLeftDown);
  auto &scheduled = m_app.ScheduledActions();
  ASSERT_EQ(scheduled.size(), 1u);
  EXPECT_EQ(scheduled[0].delay, 400u);
  std::unique_ptr<VORObjectAction> first(scheduled[0].action.release());
  scheduled.clear();
  ActionContext context = ActionContext::FromView(&m_view);
  m_log.clear();
  m_upper->ReceiveAction(*first, context);
  ASSERT_EQ(scheduled.size(), 1u);
  EXPECT_EQ(scheduled[0].delay, 100u);
  // A new press starts a new sequence: the old one's action is dropped.
  std::unique_ptr<VORObjectAction> old(scheduled[0].action.release());
  scheduled.clear();
  m_view.GetInput().DispatchMouseEvent(VORInput::kLeftUp);
  m_view.GetInput().DispatchMouseEvent(VORInput::kLeftDown);
  scheduled.clear();
  m_upper->ReceiveAction(*old, context);
  EXPECT_TRUE(scheduled.empty());
}

TEST_F(HotSpotInputTest, HidingForgetsThePressAndTheHold) {
  m_view.GetInput().SetLastPosition(VORPoint{90, 90});
  m_view.GetInput().DispatchMouseEvent(VORInput::kLeftDown);
  m_view.SetDraggedObject(m_upper);
  EXPECT_EQ(m_upper->GetState(), VORHotSpot::kLeftPressed);
  m_upper->Hide(0);
  EXPECT_EQ(m_upper->GetState(), VORHotSpot::kOutside);
  EXPECT_EQ(m_view.GetInput().GetMouseHolder(), nullptr);
}

// A page left with the button held and entered again starts with the
// pointer outside: a plain move neither drags nor counts as a press.
TEST_F(HotSpotInputTest, APageEnteredAgainForgetsAPressLeftOnIt) {
  m_upper->GetGraphicalProperties().draggable = 1;
  m_upper->GetHotSpotProperties().autoRepeat = 1;
  m_view.GetInput().SetLastPosition(VORPoint{90, 90});
  m_view.GetInput().DispatchMouseEvent(VORInput::kLeftDown);
  ASSERT_EQ(m_upper->GetState(), VORHotSpot::kLeftPressed);
  std::unique_ptr<VORObjectAction> repeat(m_app.ScheduledActions().at(0).action.release());
  VORPageInstance &instance = m_page->GetMasterInstance();
  instance.Hide();
  instance.Show(m_view);
  m_view.ShowPageInstance(instance);
  m_upper->Show(0);
  EXPECT_EQ(m_upper->GetState(), VORHotSpot::kOutside);
  m_app.ScheduledActions().clear();
  ActionContext context = ActionContext::FromView(&m_view);
  m_upper->ReceiveAction(*repeat, context);
  EXPECT_TRUE(m_app.ScheduledActions().empty()) << "the old repetition ended";
  m_log.clear();
  m_view.GetInput().DispatchMouseMove(VORPoint{95, 95});
  m_view.GetInput().DispatchMouseMove(VORPoint{97, 97});
  EXPECT_FALSE(m_upper->IsBeingDragged());
  EXPECT_EQ(m_upper->GetRect(), VORRect(40, 40, 100, 100));
  EXPECT_EQ(m_log, (std::vector<std::string>{"2 enter"}));
}

// ---- Drag and drop ----------------------------------------------------------

constexpr int32_t kDropped = 4343;

// A drop on the object sends kDropped (the action is scheduled, so the
// fake application keeps it).
void AddDropEvent(VORGraphicalObject &object, const VORObjectCode &dropped) {
  VORGraphicalObject::VORGraphicalObjectProperties &properties = object.GetGraphicalProperties();
  auto *event = new VOREvent(1);
  auto *action = new VORObjectAction(VORObjectAction::kClassKey, 0);
  action->SetActionCode(kDropped);
  action->SetTarget(object.GetObjectCode());
  event->CreateActionList().Add(0, action);
  properties.events.Add(event);
  properties.eventMap.Add(new VORDropTrigger(dropped), static_cast<uint16_t>(properties.events.GetCount() - 1));
}

int DropsFired(FakeApp &app) {
  int count = 0;
  for (const auto &scheduled : app.ScheduledActions())
    count += scheduled.action->GetActionCode() == kDropped ? 1 : 0;
  return count;
}

TEST_F(HotSpotInputTest, DropsAreAcceptedByTheirListsTheirFlagAndTheWholeRectangle) {
  const VORObjectCode target = m_lower->GetObjectCode();
  const VORObjectCode dropped = m_upper->GetObjectCode();
  const VORObjectCode other(1, 7, 77);
  struct Case {
    const char *name;
    VORRect droppedRect;
    std::vector<VORObjectCode> dropTargets;
    uint8_t acceptsDrops;
    std::vector<VORObjectCode> acceptedObjects;
    bool accepted;
  } cases[] = {
      {"no lists, accepts drops", VORRect(20, 20, 30, 30), {}, 1, {}, true},
      {"the whole target", VORRect(10, 10, 60, 60), {}, 1, {}, true},
      {"bottom-right pixel outside", VORRect(20, 20, 61, 30), {}, 1, {}, false},
      {"top-left pixel outside", VORRect(9, 20, 30, 30), {}, 1, {}, false},
      {"does not accept drops", VORRect(20, 20, 30, 30), {}, 0, {}, false},
      {"drop targets name it", VORRect(20, 20, 30, 30), {other, target}, 1, {}, true},
      {"drop targets name another", VORRect(20, 20, 30, 30), {other}, 1, {}, false},
      {"accepted objects name it", VORRect(20, 20, 30, 30), {}, 1, {dropped}, true},
      {"accepted objects name another", VORRect(20, 20, 30, 30), {}, 1, {other}, false},
      {"both lists admit", VORRect(20, 20, 30, 30), {target}, 1, {dropped}, true},
  };
  AddDropEvent(*m_lower, dropped);
  for (const Case &c : cases) {
    m_app.ScheduledActions().clear();
    m_upper->SetRect(c.droppedRect);
    m_upper->GetGraphicalProperties().dropTargets = c.dropTargets;
    m_lower->GetGraphicalProperties().acceptsDrops = c.acceptsDrops;
    m_lower->GetGraphicalProperties().acceptedObjects = c.acceptedObjects;
    EXPECT_EQ(m_lower->TryAcceptDrop(*m_upper), c.accepted) << c.name;
    EXPECT_EQ(DropsFired(m_app), c.accepted ? 1 : 0) << c.name;
  }
  m_upper->SetRect(VORRect(20, 20, 30, 30));
  m_upper->GetGraphicalProperties().acceptsDrops = 1;
  EXPECT_FALSE(m_upper->TryAcceptDrop(*m_upper)) << "never itself";
}

// The upper hotspot, made small and draggable, dragged with the mouse by
// a button press at (95, 95), moves and let go at the point given.
class DragTest : public HotSpotInputTest {
protected:
  DragTest() {
    m_upper->GetGraphicalProperties().draggable = 1;
    m_upper->GetGraphicalProperties().layoutRect = VORRect(90, 90, 100, 100);
    m_upper->SetRect(VORRect(90, 90, 100, 100));
    m_lower->GetGraphicalProperties().acceptsDrops = 1;
    AddDropEvent(*m_lower, m_upper->GetObjectCode());
  }
  void DragTo(int32_t x, int32_t y) {
    VORInputDispatcher &input = m_view.GetInput();
    input.SetLastPosition(VORPoint{95, 95});
    input.DispatchMouseEvent(VORInput::kLeftDown);
    input.DispatchMouseMove(VORPoint{96, 96});
    input.DispatchMouseMove(VORPoint{x, y});
    input.SetLastPosition(VORPoint{x, y});
    input.DispatchMouseEvent(VORInput::kLeftUp);
  }
};

TEST_F(DragTest, AnAcceptedDropStaysAndTheObjectCannotBeDraggedUntilShownAnew) {
  DragTo(30, 30);
  EXPECT_EQ(m_upper->GetRect(), VORRect(24, 24, 34, 34)) << "held where it was grabbed";
  EXPECT_EQ(DropsFired(m_app), 1);
  EXPECT_FALSE(m_upper->IsBeingDragged());
  EXPECT_EQ(m_view.GetInput().GetMouseHolder(), nullptr) << "the drag is over";
  EXPECT_FALSE(m_upper->CanStartDrag());
  // Pressed and moved again, it stays.
  m_view.GetInput().SetLastPosition(VORPoint{28, 28});
  m_view.GetInput().DispatchMouseEvent(VORInput::kLeftDown);
  m_view.GetInput().DispatchMouseMove(VORPoint{29, 29});
  m_view.GetInput().DispatchMouseMove(VORPoint{150, 150});
  EXPECT_FALSE(m_upper->IsBeingDragged());
  EXPECT_EQ(m_upper->GetRect(), VORRect(24, 24, 34, 34));
  m_view.GetInput().DispatchMouseEvent(VORInput::kLeftUp);
  m_upper->Hide(0);
  m_upper->Show(0);
  EXPECT_TRUE(m_upper->CanStartDrag()) << "shown anew";
}

TEST_F(DragTest, ARefusedDropGlidesBack) {
  m_app.ScheduledActions().clear();
  DragTo(150, 150);
  EXPECT_EQ(DropsFired(m_app), 0);
  EXPECT_TRUE(m_upper->IsBeingDragged()) << "gliding back";
  EXPECT_TRUE(m_upper->CanStartDrag());
  EXPECT_EQ(m_view.GetInput().GetMouseHolder(), nullptr);
}

TEST_F(DragTest, AnObjectThatAcceptsDropsIsNotItsOwnTarget) {
  m_upper->GetGraphicalProperties().acceptsDrops = 1;
  AddDropEvent(*m_upper, m_upper->GetObjectCode());
  DragTo(150, 150);
  EXPECT_EQ(DropsFired(m_app), 0);
  EXPECT_TRUE(m_upper->IsBeingDragged()) << "refused, it glides back";
}

// A child of the dragged object that accepts drops and covers wherever the
// object goes is no target either: it travels with it.
TEST_F(DragTest, NothingInsideTheDraggedObjectTakesIt) {
  auto *inside = new LoggingHotSpot(3, VORRect(0, 0, 200, 200), &m_log);
  m_upper->InsertAfter(inside, nullptr);
  inside->Show(0);
  inside->GetGraphicalProperties().acceptsDrops = 1;
  AddDropEvent(*inside, m_upper->GetObjectCode());
  m_app.ScheduledActions().clear();
  DragTo(150, 150);
  EXPECT_EQ(DropsFired(m_app), 0);
  EXPECT_TRUE(m_upper->IsBeingDragged()) << "refused, it glides back";
}

} // namespace
