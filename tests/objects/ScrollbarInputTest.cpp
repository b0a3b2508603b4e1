#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "OnePagePublication.h"
#include "ScrolledText.h"
#include "display/VORInputDispatcher.h"
#include "model/VORChapter.h"
#include "model/VORClassRegistry.h"
#include "model/VORPageInstance.h"
#include "model/VORPlayerPage.h"
#include "model/VORPublication.h"
#include "objects/VORButton.h"
#include "objects/VORImage.h"
#include "objects/VORScrollbar.h"
#include "objects/VORScrollbarObjectAction.h"
#include "objects/VORSimpleHotSpot.h"
#include "objects/VORText.h"
#include "support/FakeApp.h"
#include "support/HeadlessView.h"

namespace {

constexpr VORObjectCode kTextCode = ScrolledText::kTextCode;
constexpr VORObjectCode kBarCode = ScrolledText::kBarCode;

// A scrollbar that writes down the button triggers it fires.
class LoggingScrollbar : public VORPlayerScrollbar {
public:
  LoggingScrollbar() : VORPlayerScrollbar(kBarCode.GetClassKey(), kBarCode.id) {}
  void FireLButtonDown(uint16_t bits) override {
    log.push_back("left down");
    VORPlayerScrollbar::FireLButtonDown(bits);
  }
  void FireRButtonDown(uint16_t bits) override {
    log.push_back("right down");
    VORPlayerScrollbar::FireRButtonDown(bits);
  }
  std::vector<std::string> log;
};

// The scrolled text on a page shown in a view without a window.
class ScrollbarInputTest : public ::testing::Test {
protected:
  ScrollbarInputTest() : m_publication(m_app, VORRect(0, 0, 400, 300)), m_view(1) {
    m_bar = new LoggingScrollbar();
    VORPageInstance &instance = m_publication.Instance();
    const ScrolledText parts(instance, m_bar);
    m_text = parts.text;
    m_up = parts.up;
    m_down = parts.down;
    m_track = parts.track;
    m_thumb = parts.thumb;
    instance.Show(m_view);
    m_view.ShowPageInstance(instance);
    m_text->Show(0);
    m_bar->Show(0);
  }
  ~ScrollbarInputTest() override { m_publication.Instance().Hide(); }

  void Press(int32_t code, int32_t x, int32_t y) {
    m_view.GetInput().SetLastPosition(VORPoint{x, y});
    m_view.GetInput().DispatchMouseEvent(code);
  }
  // What the event queue would run, in order, until nothing is left
  // (auto-repeats are left waiting: they would repeat for ever).
  std::vector<int32_t> RunQueue() {
    std::vector<int32_t> codes;
    auto &queue = m_app.ScheduledActions();
    for (size_t i = 0; i < queue.size(); ++i) {
      if (queue[i].action->GetActionCode() == VORHotSpot::VORHotspotAutoRepeatObjectAction::kActionCode)
        continue;
      codes.push_back(queue[i].action->GetActionCode());
      std::unique_ptr<VORObjectAction> action = std::move(queue[i].action);
      m_app.ExecuteAction(*action);
    }
    queue.erase(std::remove_if(queue.begin(), queue.end(), [](const FakeApp::Scheduled &s) { return !s.action; }),
                queue.end());
    return codes;
  }
  int32_t TextOffset() {
    int32_t x = 0;
    int32_t y = 0;
    m_text->GetScrollOffset(x, y);
    return y;
  }
  void Answer(uint16_t kind, double position, double size) {
    VORScrollbarObjectAction answer(VORScrollbarObjectAction::kClassKey, 0);
    answer.SetActionCode(600);
    answer.SetTarget(kBarCode);
    answer.SetOriginObject(m_bar->GetViewReference());
    answer.SetOriginPage(m_bar->GetPageReference());
    answer.kind = kind;
    answer.position = position;
    answer.size = size;
    m_app.ExecuteAction(answer);
  }

  FakeApp m_app;
  OnePagePublication m_publication;
  HeadlessView m_view;
  VORPlayerText *m_text;
  LoggingScrollbar *m_bar;
  VORPlayerButton *m_up;
  VORPlayerButton *m_down;
  VORPlayerSimpleHotSpot *m_track;
  VORPlayerButton *m_thumb;
};

TEST_F(ScrollbarInputTest, ButtonsTrackAndThumbAreLaidOutFromTheTargetsAnswer) {
  EXPECT_EQ(m_up->GetRect(), VORRect(200, 0, 220, 20));
  EXPECT_EQ(m_down->GetRect(), VORRect(200, 80, 220, 100));
  EXPECT_EQ(m_track->GetRect(), VORRect(200, 20, 220, 80));
  // The text told its share: the visible 100 pixels of its whole height.
  const double share = 100.0 / m_text->GetTextHeight();
  EXPECT_DOUBLE_EQ(m_bar->GetScrollbarProperties().thumbSize, share);
  const int32_t height = std::max(static_cast<int32_t>(60 * share), 10);
  EXPECT_EQ(m_thumb->GetRect(), VORRect(200, 20, 220, 20 + height));
}

TEST_F(ScrollbarInputTest, AnAnswerOutOfRangePutsATenPixelThumbAtTheBottom) {
  Answer(VORScrollbarObjectAction::kReport, 1.5, -0.2);
  EXPECT_EQ(m_bar->GetScrollbarProperties().position, 1.0);
  EXPECT_EQ(m_bar->GetScrollbarProperties().thumbSize, 0.0);
  EXPECT_EQ(m_thumb->GetRect(), VORRect(200, 70, 220, 80));
  // Kind 0 keeps the values and places the thumb again.
  Answer(VORScrollbarObjectAction::kNone, 0.0, 0.5);
  EXPECT_EQ(m_thumb->GetRect(), VORRect(200, 70, 220, 80));
}

TEST_F(ScrollbarInputTest, PressesBelowAndAboveTheTrackScrollTheTargetAndMoveTheThumb) {
  const VORRect top = m_thumb->GetRect();
  Press(VORInput::kLeftDown, 210, 90);
  Press(VORInput::kLeftUp, 210, 90);
  ASSERT_EQ(m_app.ScheduledActions().size(), 1u);
  const auto *sent = dynamic_cast<VORScrollbarObjectAction *>(m_app.ScheduledActions()[0].action.get());
  ASSERT_NE(sent, nullptr);
  EXPECT_EQ(sent->GetActionCode(), VORScrollbar::kRegionDown);
  EXPECT_EQ(sent->kind, VORScrollbarObjectAction::kDownRegion);
  EXPECT_EQ(sent->GetTarget(), kTextCode);
  EXPECT_EQ(m_app.ScheduledActions()[0].delay, 0u);
  EXPECT_EQ(RunQueue(), std::vector<int32_t>{VORScrollbar::kRegionDown});
  EXPECT_GT(TextOffset(), 0) << "the text scrolled a page";
  EXPECT_GT(m_thumb->GetRect().top, top.top) << "and told the scrollbar";
  EXPECT_EQ(m_bar->log, std::vector<std::string>{"left down"}) << "the press fires its trigger";

  Press(VORInput::kLeftDown, 210, 5);
  Press(VORInput::kLeftUp, 210, 5);
  EXPECT_EQ(RunQueue(), std::vector<int32_t>{VORScrollbar::kRegionUp});
  EXPECT_EQ(TextOffset(), 0);
  EXPECT_EQ(m_thumb->GetRect(), top);

  // On the track beside the thumb nothing is sent.
  Press(VORInput::kLeftDown, 210, 70);
  Press(VORInput::kLeftUp, 210, 70);
  EXPECT_TRUE(RunQueue().empty());
}

TEST_F(ScrollbarInputTest, ADraggedThumbScrollsTheTextAndStopsAtTheTrackEnds) {
  const int32_t height = static_cast<int32_t>(m_thumb->GetRect().Height());
  Press(VORInput::kLeftDown, 210, 22);
  EXPECT_TRUE(m_bar->IsDragging());
  EXPECT_TRUE(m_bar->log.empty()) << "a press on the thumb fires no trigger";
  EXPECT_EQ(m_view.GetInput().GetMouseHolder(), m_bar);
  m_view.GetInput().DispatchMouseMove(VORPoint{210, 500});
  EXPECT_EQ(m_thumb->GetRect(), VORRect(200, 80 - height, 220, 80));
  EXPECT_EQ(m_bar->GetScrollbarProperties().position, 1.0);
  EXPECT_EQ(TextOffset(), m_text->GetTextHeight() - 100) << "607 went to the text at once";
  m_view.GetInput().DispatchMouseMove(VORPoint{210, -300});
  EXPECT_EQ(m_thumb->GetRect(), VORRect(200, 20, 220, 20 + height));
  EXPECT_EQ(m_bar->GetScrollbarProperties().position, 0.0);
  EXPECT_EQ(TextOffset(), 0);
  Press(VORInput::kLeftUp, 210, 40);
  EXPECT_FALSE(m_bar->IsDragging());
  EXPECT_EQ(m_view.GetInput().GetMouseHolder(), nullptr);
  EXPECT_TRUE(RunQueue().empty()) << "a drag posts nothing";
}

// The thumb's picture lies over the thumb and goes with it, whether the
// target's answer or a drag moves the thumb.
TEST_F(ScrollbarInputTest, TheThumbsPictureGoesWithTheThumb) {
  auto *picture = new VORPlayerImage(VORObjectCode::MakeClassKey(1, 3), 7);
  picture->GetGraphicalProperties().layoutRect = VORRect(0, 0, 20, 10);
  picture->SetRect(picture->GetLayoutRect());
  m_thumb->InsertAfter(picture, nullptr);
  const VORRect before = m_thumb->GetRect();
  Answer(VORScrollbarObjectAction::kThumbPosition, 0.5, 0.2);
  const VORRect answered = m_thumb->GetRect();
  EXPECT_NE(answered, before) << "the answer moved the thumb";
  EXPECT_EQ(picture->GetRect(), answered);
  Press(VORInput::kLeftDown, 210, answered.top + 1);
  m_view.GetInput().DispatchMouseMove(VORPoint{210, 500});
  EXPECT_EQ(m_thumb->GetRect().bottom, 80) << "dragged to the track's end";
  EXPECT_EQ(picture->GetRect(), m_thumb->GetRect());
  Press(VORInput::kLeftUp, 210, 500);
}

// A right press on the thumb would start a drag that only a left release
// ends: it is a press like any other.
TEST_F(ScrollbarInputTest, ARightPressOnTheThumbStartsNoDrag) {
  const VORRect thumb = m_thumb->GetRect();
  Press(VORInput::kRightDown, 210, 22);
  EXPECT_FALSE(m_bar->IsDragging());
  EXPECT_EQ(m_bar->log, std::vector<std::string>{"right down"});
  m_view.GetInput().DispatchMouseMove(VORPoint{210, 60});
  EXPECT_EQ(m_thumb->GetRect(), thumb);
  Press(VORInput::kRightUp, 210, 60);
}

// A text no taller than its box shows all of itself: the thumb fills the
// track and has nowhere to go.
TEST_F(ScrollbarInputTest, AThumbAsTallAsTheTrackDragsToPositionZero) {
  m_text->GetTextProperties().rtfText = "{\\rtf1 short}";
  m_text->GetTextProperties().needsPush = true;
  m_text->PushProperties();
  m_text->Layout();
  m_text->ScrollToLine(0);
  EXPECT_EQ(m_bar->GetScrollbarProperties().thumbSize, 1.0);
  EXPECT_EQ(m_thumb->GetRect().Height(), 60);
  Press(VORInput::kLeftDown, 210, 50);
  m_view.GetInput().DispatchMouseMove(VORPoint{210, 70});
  EXPECT_EQ(m_bar->GetScrollbarProperties().position, 0.0);
  EXPECT_EQ(m_thumb->GetRect(), VORRect(200, 20, 220, 80));
  Press(VORInput::kLeftUp, 210, 70);
}

TEST_F(ScrollbarInputTest, HoldingTheDownRegionRepeatsAtTheKeyboardSpeedUntilReleased) {
  m_bar->GetHotSpotProperties().autoRepeat = 1;
  Press(VORInput::kLeftDown, 210, 90);
  auto &queue = m_app.ScheduledActions();
  ASSERT_EQ(queue.size(), 2u);
  EXPECT_EQ(queue[0].action->GetActionCode(), VORScrollbar::kRegionDown);
  EXPECT_EQ(queue[1].delay, VORHotSpot::kFirstRepeatDelay);
  std::unique_ptr<VORObjectAction> repeat = std::move(queue[1].action);
  queue.clear();
  m_app.ExecuteAction(*repeat);
  DWORD speed = 0;
  ASSERT_TRUE(SystemParametersInfoA(SPI_GETKEYBOARDSPEED, 0, &speed, 0));
  ASSERT_EQ(queue.size(), 2u);
  EXPECT_EQ(queue[0].action->GetActionCode(), VORScrollbar::kRegionDown);
  EXPECT_EQ(queue[1].delay, speed);
  EXPECT_EQ(m_bar->log, std::vector<std::string>{"left down"}) << "the repeat is the scrollbar's, not a trigger";
  Press(VORInput::kLeftUp, 210, 90);
  queue.clear();
  m_app.ExecuteAction(*repeat);
  EXPECT_TRUE(queue.empty()) << "released: the sequence is over";
}

TEST_F(ScrollbarInputTest, DegenerateRectanglesLayOutWithoutFailing) {
  const VORRect rects[] = {VORRect(200, 0, 200, 0), VORRect(200, 0, 220, -10), VORRect(200, 0, 190, 100),
                           VORRect(200, 0, 220, 3)};
  for (const bool buttons : {true, false}) {
    m_up->GetGraphicalProperties().visibleAtStart = buttons ? 1 : 0;
    m_down->GetGraphicalProperties().visibleAtStart = buttons ? 1 : 0;
    for (const VORRect &rect : rects) {
      m_bar->SetRect(rect);
      EXPECT_GE(m_thumb->GetRect().Height(), 10);
    }
  }
  m_bar->SetRect(VORRect(200, 0, 220, 100));
  EXPECT_EQ(m_track->GetRect(), VORRect(200, 0, 220, 100)) << "without buttons the track takes it all";
}

TEST_F(ScrollbarInputTest, TheTextPassesShowAndHideOnToItsScrollbar) {
  VORObjectAction hide(VORObjectAction::kClassKey, 0);
  hide.SetActionCode(VORGraphicalObjectAction::kHide);
  hide.SetTarget(kTextCode);
  hide.SetOriginObject(m_text->GetViewReference());
  hide.SetOriginPage(m_text->GetPageReference());
  m_app.ExecuteAction(hide);
  auto &queue = m_app.ScheduledActions();
  const bool forwarded = std::any_of(queue.begin(), queue.end(), [](const FakeApp::Scheduled &s) {
    return s.action->GetTarget() == kBarCode && s.action->GetActionCode() == VORGraphicalObjectAction::kHide;
  });
  EXPECT_TRUE(forwarded);
}

TEST(ScrollbarClassTableTest, TheTableMakesScrollbarsAndTheirActions) {
  const uint32_t bar = VORObjectCode::MakeClassKey(VORScrollbar::kCategory, VORScrollbar::kCode);
  std::unique_ptr<VORCodedObject> made(VORClassRegistry::Instance().Create(bar, 3));
  ASSERT_NE(dynamic_cast<VORPlayerScrollbar *>(made.get()), nullptr);
  EXPECT_EQ(made->GetClassKey(), bar);
  const uint32_t action = VORScrollbarObjectAction::kClassKey;
  made.reset(VORClassRegistry::Instance().Create(action, 4));
  ASSERT_NE(dynamic_cast<VORScrollbarObjectAction *>(made.get()), nullptr);
  EXPECT_EQ(made->GetId(), 4);
}

} // namespace
