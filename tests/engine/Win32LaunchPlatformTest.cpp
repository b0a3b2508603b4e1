#include "engine/Win32LaunchPlatform.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <deque>
#include <memory>
#include <string>

#include "engine/SystemBrowser.h"
#include "engine/VORLaunchManager.h"
#include "engine/VORPasswordDlg.h"
#include "foundation/XQDialog.h"
#include "foundation/XQMessageBox.h"
#include "model/VORLaunchAction.h"
#include "model/VORPublication.h"
#include "support/FakeLaunchPlatform.h"
#include "support/ProgramDriver.h"
#include "support/PublicationRecords.h"
#include "support/TestPlayerApp.h"

namespace {

// Class keys of this test's own, so that tests running beside it that look
// at ".htm" see nothing change.
std::string KeyName(const char *what) {
  return std::string(".vortest-") + what + "-" + std::to_string(GetCurrentProcessId());
}

bool KeyExists(const std::string &name) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CLASSES_ROOT, name.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
    return false;
  RegCloseKey(key);
  return true;
}

// A key under the classes root with a default value, deleted afterwards.
class ClassKey {
public:
  ClassKey(std::string name, const std::string &value) : m_name(std::move(name)) {
    RegSetValueA(HKEY_CLASSES_ROOT, m_name.c_str(), REG_SZ, value.c_str(), static_cast<DWORD>(value.size()));
  }
  ~ClassKey() { RegDeleteKeyA(HKEY_CLASSES_ROOT, m_name.c_str()); }
  ClassKey(const ClassKey &) = delete;
  ClassKey &operator=(const ClassKey &) = delete;

private:
  std::string m_name;
};

// A look-up reads what is there and creates nothing that is not.
TEST(Win32LaunchPlatformTest, LookUpsLeaveTheRegistryAlone) {
  Win32LaunchPlatform platform;
  const std::string missing = KeyName("missing");
  EXPECT_EQ(platform.ReadClassesRootDefault(missing), "");
  EXPECT_FALSE(KeyExists(missing));
  const std::string command = missing + "\\shell\\open\\command";
  EXPECT_EQ(platform.ReadClassesRootDefault(command), "");
  EXPECT_FALSE(KeyExists(missing));

  ClassKey present(KeyName("present"), "\"C:\\Program Files\\B\\b.exe\" -nohome \"%1\"");
  EXPECT_EQ(platform.ReadClassesRootDefault(KeyName("present")), "\"C:\\Program Files\\B\\b.exe\" -nohome \"%1\"");
}

// The shell's "open" starts the program with the parameters; its answer
// says whether it did.
TEST(Win32LaunchPlatformTest, TheShellStartsTheProgram) {
  ScratchFolder folder;
  const std::string log = folder.File("launch.log");
  SetEnvironmentVariableA("VOR_LAUNCH_LOG", log.c_str());
  Win32LaunchPlatform platform;
  const std::string logger = ProgramDriver::ProgramFolder() + "vor_launch_logger.exe";
  EXPECT_GT(platform.ShellOpen(logger, "alpha \"two words\"", LaunchPlatform::kShowNormal),
            LaunchPlatform::kShellSuccessAbove);
  EXPECT_LE(platform.ShellOpen(folder.File("missing.exe"), "", LaunchPlatform::kShowNormal),
            LaunchPlatform::kShellSuccessAbove);
  std::string text;
  for (int i = 0; i < 200 && (text = folder.ReadFile("launch.log")).find('\n') == std::string::npos; ++i)
    Sleep(25);
  EXPECT_NE(text.find("alpha \"two words\""), std::string::npos) << text;
  SetEnvironmentVariableA("VOR_LAUNCH_LOG", nullptr);
}

// After a launch that asks for it the player quits, through the exit
// password when the publication has one.
std::deque<const char *> g_answers;
INT_PTR AnswerPassword(XQDialog &dialog) {
  auto &password = static_cast<VORPasswordDlg &>(dialog);
  const char *answer = g_answers.empty() ? nullptr : g_answers.front();
  if (!g_answers.empty())
    g_answers.pop_front();
  if (!answer)
    return XQDialog::kCancel;
  password.SetPassword(answer);
  return XQDialog::kOk;
}

int SilentBox(HWND, const char *, const char *, UINT) { return IDOK; }

bool QuitWasPosted() {
  MSG message;
  return PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE;
}

TEST(Win32LaunchPlatformTest, QuitsAfterALaunchThroughTheExitPassword) {
  constexpr uint32_t kExitPasswordFlag = 1u << 6;
  PublicationRecords::Publication publication;
  PublicationRecords::Chapter chapter;
  chapter.pages = {VORObjectKey{0, 4, 1}};
  publication.chapters = {chapter};
  publication.properties.exitPassword = "Gold";
  publication.properties.flags = kExitPasswordFlag;
  ScratchFolder folder;
  folder.WriteFile("demo.vor", PublicationRecords::FileText(publication));
  const XQDialog::ModalHandler previousDialog = XQDialog::SetModalHandler(AnswerPassword);
  const XQMessageBox::Handler previousBox = XQMessageBox::SetHandler(SilentBox);
  {
    TestPlayerApp app;
    ASSERT_TRUE(app.StartUp(folder.File("demo.vor").c_str(), nullptr));
    ASSERT_NE(app.GetPublication()->GetLaunchManager(), nullptr);
    auto platform = std::make_unique<FakeLaunchPlatform>();
    FakeLaunchPlatform &fake = *platform;
    app.GetPublication()->SetLaunchManager(std::make_unique<VORLaunchManager>(std::move(platform), "C:\\p\\demo.vor"));
    VORLaunchAction action(VORLaunchAction::kClassKey, 1);
    action.SetTarget(VORObjectCode(0, 0, 13));
    action.SetActionCode(VORLaunchManager::kLaunch);
    action.fileName = VORString("A.EXE");
    action.exitAfter = 1;
    action.SetOriginObject(VORObjectCode(0, 3, 1));
    action.SetOriginPage(VORObjectCode(0, 4, 1));
    g_answers = {"wrong"};
    EXPECT_TRUE(app.ExecuteAction(action));
    EXPECT_EQ(fake.opens.size(), 1u);
    EXPECT_FALSE(QuitWasPosted());
    g_answers = {"Gold"};
    EXPECT_TRUE(app.ExecuteAction(action));
    EXPECT_TRUE(QuitWasPosted());
    fake.shellResult = 2;
    g_answers = {"Gold"};
    EXPECT_TRUE(app.ExecuteAction(action));
    EXPECT_FALSE(QuitWasPosted());
    EXPECT_EQ(g_answers.size(), 1u) << "no password is asked after a launch that failed";
    app.Teardown();
  }
  XQDialog::SetModalHandler(previousDialog);
  XQMessageBox::SetHandler(previousBox);
}

// The player asks about connecting once per run: a No refuses that one
// connection, and later ones go ahead unasked.
int g_questions = 0;
int AnswerNo(HWND, const char *, const char *caption, UINT style) {
  ++g_questions;
  EXPECT_STREQ(caption, "");
  EXPECT_EQ(style, static_cast<UINT>(MB_ICONQUESTION | MB_YESNO));
  return IDNO;
}

TEST(Win32LaunchPlatformTest, TheConnectionQuestionIsAskedOnce) {
  const XQMessageBox::Handler previous = XQMessageBox::SetHandler(AnswerNo);
  {
    TestPlayerApp app;
    EXPECT_FALSE(app.ConfirmInternetConnection());
    EXPECT_TRUE(app.ConfirmInternetConnection());
    EXPECT_EQ(g_questions, 1);
  }
  XQMessageBox::SetHandler(previous);
}

} // namespace
