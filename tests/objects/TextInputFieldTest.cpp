#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "OnePagePublication.h"
#include "display/VORInputDispatcher.h"
#include "display/VORKeyboardObjectAction.h"
#include "engine/VORVariableChangedAction.h"
#include "model/ActionContext.h"
#include "model/VORActionList.h"
#include "model/VOREvent.h"
#include "model/VORPageInstance.h"
#include "model/VORPlayerPage.h"
#include "model/VORPublication.h"
#include "model/VORSynchronizationObjectAction.h"
#include "model/VORTrigger.h"
#include "objects/TextInputEditor.h"
#include "objects/VORText.h"
#include "support/FakeApp.h"
#include "support/HeadlessView.h"

namespace {

using Editor = TextInputEditor;

constexpr int32_t kEnterNotice = 9001;
const VORObjectCode kSound(2, 1, 77);

// A page of two input fields shown in a view without a window: NAME (0, 0,
// 200, 30) takes letters and digits, moves the focus on Tab and fires its
// Enter trigger when it loses the focus; AGE (0, 50, 200, 80) takes digits.
// The Enter trigger of NAME posts an action of code 9001.
class TextInputFieldTest : public ::testing::Test {
protected:
  TextInputFieldTest() : m_publication(m_app, VORRect(0, 0, 400, 200)), m_page(&m_publication.Page()), m_view(1) {
    m_app.SetVariableValue(XQString("NAME"), XQString("Ann"));
    m_name = AddField(1, VORRect(0, 0, 200, 30), "NAME",
                      Editor::kInputField | Editor::kLetters | Editor::kDigits | Editor::kTabMovesFocus |
                          Editor::kEnterOnFocusLoss);
    m_age = AddField(2, VORRect(0, 50, 200, 80), "AGE", Editor::kInputField | Editor::kDigits);
    AddEnterEvent(*m_name);
    VORPageInstance &instance = m_page->GetMasterInstance();
    instance.Show(m_view);
    m_view.ShowPageInstance(instance);
    m_name->Show(0);
    m_age->Show(0);
  }
  ~TextInputFieldTest() override { m_page->GetMasterInstance().Hide(); }

  VORPlayerText *AddField(int32_t id, VORRect rect, const char *variable, uint32_t flags) {
    auto *text = new VORPlayerText(VORObjectCode::MakeClassKey(VORText::kCategory, VORText::kCode), id);
    text->GetGraphicalProperties().layoutRect = rect;
    text->SetRect(rect);
    VORText::VORTextProperties &properties = text->GetTextProperties();
    properties.inputFlags = flags;
    properties.inputVariable = variable;
    VORPageInstance &instance = m_page->GetMasterInstance();
    instance.InsertAfter(text, instance.GetChildCount() > 0 ? instance.ChildAt(instance.GetChildCount() - 1) : nullptr);
    return text;
  }
  static void AddEnterEvent(VORText &text) {
    VORText::VORTextProperties &properties = text.GetTextProperties();
    auto *event = new VOREvent(1);
    auto *action = new VORObjectAction(VORObjectAction::kClassKey, 0);
    action->SetActionCode(kEnterNotice);
    action->SetTarget(VORObjectCode(0, 0, 1));
    event->CreateActionList().Add(0, action);
    properties.events.Add(event);
    properties.eventMap.Add(new VORKeyboardTrigger(Editor::kEnter), 0);
  }

  void Click(int32_t x, int32_t y) {
    m_view.GetInput().SetLastPosition(VORPoint{x, y});
    m_view.GetInput().DispatchMouseEvent(VORInput::kLeftDown);
    m_view.GetInput().DispatchMouseEvent(VORInput::kLeftUp);
  }
  void Type(const std::string &typed) {
    for (char c : typed)
      m_view.GetInput().DispatchKeyEvent(VORKeyboardObjectAction::kCharacter, static_cast<uint8_t>(c), 0);
  }
  void PressKey(uint16_t key) {
    m_view.GetInput().DispatchKeyEvent(VORKeyboardObjectAction::kKeyDown, key, 0);
    m_view.GetInput().DispatchKeyEvent(VORKeyboardObjectAction::kKeyUp, key, 0);
  }
  static std::string TextOf(VORText &text) {
    std::string all = text.GetText();
    all.pop_back();
    return all;
  }
  std::string Variable(const char *name) { return m_app.GetVariableValue(XQString(name)).CStr(); }
  int ScheduledWithCode(int32_t code) {
    int count = 0;
    for (const FakeApp::Scheduled &scheduled : m_app.ScheduledActions())
      count += scheduled.action->GetActionCode() == code ? 1 : 0;
    return count;
  }
  bool Deliver(VORText &text, VORObjectAction &action) {
    action.SetTarget(text.GetObjectCode());
    ActionContext context = ActionContext::FromView(&m_view);
    return text.ReceiveAction(action, context);
  }

  FakeApp m_app;
  OnePagePublication m_publication;
  VORPlayerPage *m_page;
  HeadlessView m_view;
  VORPlayerText *m_name;
  VORPlayerText *m_age;
};

TEST_F(TextInputFieldTest, AFieldShowsItsVariableAndAClickElsewhereCommitsWhatWasTyped) {
  EXPECT_EQ(TextOf(*m_name), "Ann");
  EXPECT_EQ(TextOf(*m_age), "");
  Click(20, 50 + 10);
  ASSERT_TRUE(m_age->HasInputFocus());
  Type("4x2");
  EXPECT_EQ(TextOf(*m_age), "42");
  EXPECT_EQ(Variable("AGE"), ""); // nothing commits on every change
  Click(350, 150);                // on no object at all
  EXPECT_FALSE(m_age->HasInputFocus());
  EXPECT_EQ(m_view.GetInput().GetFocusObject(), nullptr);
  EXPECT_EQ(Variable("AGE"), "42");
}

TEST_F(TextInputFieldTest, EnterFiresTheEnterTriggerOnceAndLeavingByAClickFiresItToo) {
  Click(199, 10); // behind "Ann"
  ASSERT_TRUE(m_name->HasInputFocus());
  Type("e");
  PressKey(Editor::kEnter);
  EXPECT_EQ(Variable("NAME"), "Anne");
  EXPECT_FALSE(m_name->HasInputFocus());
  // The key's own trigger; the focus the key gave up fired none.
  EXPECT_EQ(ScheduledWithCode(kEnterNotice), 1);

  m_app.ScheduledActions().clear();
  Click(199, 10);
  Type("s");
  Click(350, 150);
  EXPECT_EQ(Variable("NAME"), "Annes");
  EXPECT_EQ(ScheduledWithCode(kEnterNotice), 1);
}

TEST_F(TextInputFieldTest, TabMovesTheFocusToTheNextFieldAndBackspaceStopsAtTheStart) {
  Click(199, 10);
  Type("\t");
  EXPECT_FALSE(m_name->HasInputFocus());
  EXPECT_TRUE(m_age->HasInputFocus());
  EXPECT_EQ(m_view.GetInput().GetFocusObject(), m_age);
  EXPECT_EQ(Variable("NAME"), "Ann");
  // The focus comes with the caret at the start: Backspace there erases
  // nothing.
  Type("7");
  PressKey(Editor::kLeft);
  PressKey(Editor::kBackspace);
  EXPECT_EQ(TextOf(*m_age), "7");
}

TEST_F(TextInputFieldTest, AVariableChangedElsewhereReloadsTheField) {
  m_app.SetVariableValue(XQString("AGE"), XQString("99"));
  VORVariableChangedAction changed(XQString("AGE"));
  changed.SetActionCode(VORVariableChangedAction::kActionCode);
  EXPECT_TRUE(Deliver(*m_age, changed));
  EXPECT_EQ(TextOf(*m_age), "99");
  // Another variable's change leaves it alone.
  m_app.SetVariableValue(XQString("AGE"), XQString("1"));
  VORVariableChangedAction other(XQString("NAME"));
  other.SetActionCode(VORVariableChangedAction::kActionCode);
  Deliver(*m_age, other);
  EXPECT_EQ(TextOf(*m_age), "99");
}

TEST_F(TextInputFieldTest, HidingAFieldGivesUpTheFocusAndCommits) {
  Click(20, 60);
  Type("5");
  m_age->Hide(0);
  EXPECT_FALSE(m_age->HasInputFocus());
  EXPECT_EQ(m_view.GetInput().GetFocusObject(), nullptr);
  EXPECT_EQ(Variable("AGE"), "5");
}

// A text reading along with sound 77: "one" (tag 1) until 1000 ms, "two"
// (tag 2) until 2500 ms.
class TextReadAlongObjectTest : public TextInputFieldTest {
protected:
  TextReadAlongObjectTest() {
    VORText::VORTextProperties &properties = m_age->GetTextProperties();
    properties.inputFlags = 0;
    properties.rtfText = "{\\rtf1 {\\id1 one} {\\id2 two}}";
    properties.needsPush = true;
    properties.segmentTags = {1, 2};
    properties.segmentEnds = {1000, 2500};
    properties.readAlongSound = kSound;
    m_age->PushProperties();
  }
  std::vector<int32_t> Highlighted() const {
    std::vector<int32_t> ids;
    for (const XQRichText::TagEffectStyle &effect : m_age->GetTagEffects())
      ids.push_back(effect.tagId);
    return ids;
  }
  void SoundStarts(uint32_t now) {
    m_app.SetTickTime(now);
    VORSynchronizationObjectAction started(VORSynchronizationObjectAction::kStarted, kSound);
    Deliver(*m_age, started);
  }
  // Takes the step posted last and runs it at now.
  uint32_t RunPostedStep(uint32_t now) {
    auto &scheduled = m_app.ScheduledActions();
    EXPECT_FALSE(scheduled.empty());
    if (scheduled.empty())
      return 0;
    const uint32_t delay = scheduled.back().delay;
    std::unique_ptr<VORObjectAction> step(scheduled.back().action.release());
    scheduled.clear();
    m_app.SetTickTime(now);
    Deliver(*m_age, *step);
    return delay;
  }
  void Send(int32_t code) {
    VORObjectAction action(VORObjectAction::kClassKey, 0);
    action.SetActionCode(code);
    Deliver(*m_age, action);
  }
};

TEST_F(TextReadAlongObjectTest, SegmentsAreHighlightedInTimeWithTheSound) {
  Send(200);
  ASSERT_EQ(m_app.ScheduledActions().size(), 1u);
  EXPECT_EQ(m_app.ScheduledActions()[0].action->GetActionCode(), 200);
  EXPECT_TRUE(m_app.ScheduledActions()[0].action->GetTarget().Equals(kSound));
  m_app.ScheduledActions().clear();
  SoundStarts(5000);
  EXPECT_EQ(Highlighted(), std::vector<int32_t>{1});
  EXPECT_EQ(RunPostedStep(6000), 1000u);
  EXPECT_EQ(Highlighted(), std::vector<int32_t>{2});
  EXPECT_EQ(RunPostedStep(7500), 1500u);
  EXPECT_TRUE(Highlighted().empty());
  EXPECT_TRUE(m_app.ScheduledActions().empty());
}

TEST_F(TextReadAlongObjectTest, StoppingClearsAtOnceAndARestartDropsTheOldSteps) {
  Send(200);
  m_app.ScheduledActions().clear();
  SoundStarts(0);
  ASSERT_EQ(Highlighted(), std::vector<int32_t>{1});
  std::unique_ptr<VORObjectAction> oldStep(m_app.ScheduledActions().back().action.release());
  m_app.ScheduledActions().clear();
  Send(201);
  EXPECT_TRUE(Highlighted().empty());
  EXPECT_EQ(ScheduledWithCode(201), 1);

  // Started again and the sound begins: the step of the first run falls
  // due and must not move the new one on.
  Send(200);
  SoundStarts(3000);
  m_app.ScheduledActions().clear();
  m_app.SetTickTime(3100);
  Deliver(*m_age, *oldStep);
  EXPECT_EQ(Highlighted(), std::vector<int32_t>{1});
  EXPECT_TRUE(m_app.ScheduledActions().empty());
}

} // namespace
