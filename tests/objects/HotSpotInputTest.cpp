#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "display/VORKeyboardObjectAction.h"
#include "model/ActionContext.h"
#include "model/VORChapter.h"
#include "model/VORPageInstance.h"
#include "model/VORPlayerPage.h"
#include "model/VORPublication.h"
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
  HotSpotInputTest() : m_publication(VORPublication::kClassKey, -1), m_view(1) {
    m_publication.GetPublicationProperties().flags = 0;
    auto *chapter = new VORChapter(VORChapter::kClassKey, 1);
    m_publication.InsertAfter(chapter, nullptr);
    m_page = new VORPlayerPage(VORPlayerPage::kClassKey, 1);
    chapter->InsertAfter(m_page, nullptr);
    m_page->GetPageProperties().rect = VORRect(0, 0, 200, 200);
    m_app.SetPublication(&m_publication);
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
  VORPublication m_publication;
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
  m_publication.GetPublicationProperties().flags = VORPublication::kEscapeExitsFlag;
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

} // namespace
