#include "engine/VORPasswordDlg.h"

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "engine/VORPlayerApp.h"
#include "foundation/XQMessageBox.h"
#include "support/ProgramDriver.h"
#include "support/PublicationRecords.h"
#include "support/TestPlayerApp.h"

namespace {

constexpr uint32_t kExitPasswordFlag = 1u << 6;
// This test program carries no string 1800: the box shows our own text.
constexpr const char *kWrongPasswordText = "The password is not correct.";

struct ShownBox {
  std::string text;
  std::string caption;
  UINT style;
};
std::vector<ShownBox> g_boxes;

int RecordBox(HWND, const char *text, const char *caption, UINT style) {
  g_boxes.push_back({text, caption, style});
  return IDOK;
}

// The answers the password dialog gives, in turn; a null answer cancels.
std::deque<const char *> g_answers;
int g_questions = 0;
VORPlayerApp *g_app = nullptr;
bool g_nestedQuitRefused = false;

INT_PTR AnswerPassword(XQDialog &dialog) {
  ++g_questions;
  EXPECT_EQ(dialog.GetTemplateId(), VORPasswordDlg::kTemplateId);
  // Asking to quit while the dialog is open is refused at once.
  if (g_app)
    g_nestedQuitRefused = !g_app->RequestQuit();
  const char *answer = g_answers.empty() ? nullptr : g_answers.front();
  if (!g_answers.empty())
    g_answers.pop_front();
  if (!answer)
    return XQDialog::kCancel;
  static_cast<VORPasswordDlg &>(dialog).SetPassword(answer);
  return XQDialog::kOk;
}

bool QuitWasPosted() {
  MSG message;
  return PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE;
}

using PublicationRecords::FileText;

// Chapter 1 opens with "Gold".
PublicationRecords::Publication Protected() {
  PublicationRecords::Publication publication;
  PublicationRecords::Chapter chapter;
  chapter.pages = {VORObjectKey{0, 4, 1}};
  publication.chapters = {chapter};
  publication.properties.exitPassword = "Gold";
  publication.properties.passwords = {{"Gold", {VORObjectKey{0, 2, 1}}}};
  return publication;
}

class VORPasswordTest : public ::testing::Test {
protected:
  void SetUp() override {
    g_boxes.clear();
    g_answers.clear();
    g_questions = 0;
    g_app = nullptr;
    g_nestedQuitRefused = false;
    m_previousBox = XQMessageBox::SetHandler(RecordBox);
    m_previousDialog = XQDialog::SetModalHandler(AnswerPassword);
  }
  void TearDown() override {
    XQMessageBox::SetHandler(m_previousBox);
    XQDialog::SetModalHandler(m_previousDialog);
    while (QuitWasPosted()) {
    }
  }

  bool Start(TestPlayerApp &app, const PublicationRecords::Publication &publication) {
    folder.WriteFile("demo.vor", FileText(publication));
    return app.StartUp(folder.File("demo.vor").c_str(), nullptr);
  }

  ScratchFolder folder;

private:
  XQMessageBox::Handler m_previousBox = nullptr;
  XQDialog::ModalHandler m_previousDialog = nullptr;
};

TEST_F(VORPasswordTest, AskPasswordGivesWhatWasTypedOrNothing) {
  VORPlayerApp app(GetModuleHandleA(nullptr));
  g_answers = {"typed", nullptr};
  EXPECT_STREQ(app.AskPassword().CStr(), "typed");
  EXPECT_TRUE(app.AskPassword().IsEmpty()) << "cancelled";
  EXPECT_EQ(g_questions, 2);
}

// The exit password counts letter case; a wrong answer shows the box, an
// empty one refuses silently; the right one ends the main loop.
TEST_F(VORPasswordTest, TheExitPassword) {
  PublicationRecords::Publication publication = Protected();
  publication.properties.flags = kExitPasswordFlag;
  TestPlayerApp app;
  ASSERT_TRUE(Start(app, publication));
  g_app = &app;
  struct Case {
    const char *answer;
    bool quits;
    size_t boxes;
  } cases[] = {
      {"gold", false, 1},
      {"", false, 0},
      {nullptr, false, 0},
      {"Gold", true, 0},
  };
  for (const Case &c : cases) {
    g_boxes.clear();
    g_answers = {c.answer};
    EXPECT_EQ(app.RequestQuit(), c.quits) << (c.answer ? c.answer : "(cancel)");
    EXPECT_EQ(QuitWasPosted(), c.quits) << (c.answer ? c.answer : "(cancel)");
    ASSERT_EQ(g_boxes.size(), c.boxes) << (c.answer ? c.answer : "(cancel)");
    if (c.boxes) {
      EXPECT_EQ(g_boxes[0].text, kWrongPasswordText);
      EXPECT_EQ(g_boxes[0].caption, "");
      EXPECT_EQ(g_boxes[0].style, static_cast<UINT>(MB_ICONWARNING));
    }
  }
  EXPECT_TRUE(g_nestedQuitRefused);
  g_app = nullptr;
  app.Teardown();
}

TEST_F(VORPasswordTest, WithoutTheFlagQuittingAsksNothing) {
  TestPlayerApp app;
  ASSERT_TRUE(Start(app, Protected()));
  EXPECT_TRUE(app.RequestQuit());
  EXPECT_TRUE(QuitWasPosted());
  EXPECT_EQ(g_questions, 0);
  app.Teardown();
}

// The start-up asks before the first page: a wrong answer shows the box
// and asks again; the right one is kept in "CHAPTER_PASSWORD".
TEST_F(VORPasswordTest, TheStartupPassword) {
  PublicationRecords::Publication publication = Protected();
  publication.properties.passwordsOn = 1;
  publication.properties.askUser = 0;
  {
    TestPlayerApp app;
    g_answers = {"tin", "GOLD"};
    ASSERT_TRUE(Start(app, publication));
    EXPECT_EQ(g_questions, 2);
    ASSERT_EQ(g_boxes.size(), 1u);
    EXPECT_EQ(g_boxes[0].text, kWrongPasswordText);
    EXPECT_STREQ(app.GetVariableValue("CHAPTER_PASSWORD").CStr(), "GOLD");
    ASSERT_NE(app.MainView(), nullptr);
    app.Teardown();
  }
  {
    TestPlayerApp app;
    g_answers = {nullptr};
    EXPECT_FALSE(Start(app, publication)) << "cancelled: the run ends";
    EXPECT_EQ(app.GetViewCount(), 0u);
    app.Teardown();
  }
}

} // namespace
