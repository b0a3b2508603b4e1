#include "engine/VORWin32StoreInfoPlatform.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "engine/VORScoreManager.h"
#include "engine/VORStoreInfoObjectAction.h"
#include "support/ProgramDriver.h"
#include "support/TestPlayerApp.h"

namespace {

// Keeps the current directory and an environment variable as they were.
class KeptState {
public:
  explicit KeptState(const char *variable) : m_variable(variable) {
    GetCurrentDirectoryA(sizeof m_directory, m_directory);
    const char *value = std::getenv(variable);
    m_had = value != nullptr;
    m_value = value ? value : "";
  }
  ~KeptState() {
    SetCurrentDirectoryA(m_directory);
    _putenv((m_variable + "=" + m_value).c_str());
  }
  KeptState(const KeptState &) = delete;
  KeptState &operator=(const KeptState &) = delete;

private:
  std::string m_variable;
  char m_directory[MAX_PATH] = {};
  bool m_had;
  std::string m_value;
};

// The test programs run from the build folder; the temporary folder is on
// another drive under Wine. Relative names resolve in the folder entered,
// drive included, and the runtime's text mode writes CR LF.
TEST(VORWin32StoreInfoPlatformTest, TextFilesAreWrittenInTextMode) {
  KeptState kept("TMP");
  ScratchFolder folder;
  VORWin32StoreInfoPlatform platform;
  ASSERT_TRUE(platform.ChangeDirectory(folder.Path().c_str()));
  ASSERT_TRUE(platform.WriteTextFile("out.txt", "one\ntwo\n", true));
  EXPECT_EQ(folder.ReadFile("out.txt"), "one\r\ntwo\r\n");
  ASSERT_TRUE(platform.WriteTextFile("out.txt", "three", false));
  ASSERT_TRUE(platform.WriteTextFile("out.txt", "four\n", false));
  EXPECT_EQ(folder.ReadFile("out.txt"), "one\r\ntwo\r\nthreefour\r\n");
  ASSERT_TRUE(platform.WriteTextFile("out.txt", "", true));
  EXPECT_EQ(folder.ReadFile("out.txt"), "");
  EXPECT_FALSE(platform.WriteTextFile("no such folder\\out.txt", "x", true));
}

TEST(VORWin32StoreInfoPlatformTest, TextFilesAreReadInTextMode) {
  KeptState kept("TMP");
  ScratchFolder folder;
  folder.WriteFile("in.txt", "first\r\nsecond\r\n");
  VORWin32StoreInfoPlatform platform;
  ASSERT_TRUE(platform.ChangeDirectory(folder.Path().c_str()));
  XQString text;
  ASSERT_TRUE(platform.ReadTextFile("in.txt", text));
  EXPECT_STREQ(text.CStr(), "first\nsecond\n");
  folder.WriteFile("empty.txt", "");
  ASSERT_TRUE(platform.ReadTextFile("empty.txt", text));
  EXPECT_TRUE(text.IsEmpty());
  EXPECT_FALSE(platform.ReadTextFile("missing.txt", text));
}

TEST(VORWin32StoreInfoPlatformTest, TheEnvironment) {
  KeptState kept("VOR_STORE_TEST");
  _putenv("VOR_STORE_TEST=C:\\somewhere");
  VORWin32StoreInfoPlatform platform;
  XQString value;
  ASSERT_TRUE(platform.GetEnvironment("VOR_STORE_TEST", value));
  EXPECT_STREQ(value.CStr(), "C:\\somewhere");
  EXPECT_FALSE(platform.GetEnvironment("VOR_NO_SUCH_VARIABLE", value));
}

OPENFILENAMEA g_seen = {};
std::string g_seenFilter;
std::string g_seenName;
const char *g_choice = nullptr;

// Looks at the dialog's record as the dialog would, and answers.
BOOL AnswerSaveDialog(OPENFILENAMEA *record) {
  g_seen = *record;
  // The filter is a list of NUL-ended texts ended by an empty one.
  const char *end = record->lpstrFilter;
  while (*end)
    end += std::strlen(end) + 1;
  g_seenFilter.assign(record->lpstrFilter, static_cast<size_t>(end - record->lpstrFilter + 1));
  g_seenName = record->lpstrFile;
  if (!g_choice)
    return FALSE;
  lstrcpynA(record->lpstrFile, g_choice, static_cast<int>(record->nMaxFile));
  return TRUE;
}

TEST(VORWin32StoreInfoPlatformTest, TheSaveDialog) {
  VORWin32StoreInfoPlatform::SaveDialogHandler previous =
      VORWin32StoreInfoPlatform::SetSaveDialogHandler(AnswerSaveDialog);
  VORWin32StoreInfoPlatform platform;
  XQString chosen;
  g_choice = "C:\\chosen\\answers.txt";
  ASSERT_TRUE(platform.AskSaveFileName("answers.txt", chosen));
  EXPECT_STREQ(chosen.CStr(), "C:\\chosen\\answers.txt");
  EXPECT_EQ(g_seenName, "answers.txt");
  EXPECT_EQ(g_seenFilter, std::string("*.TXT\0*.TXT\0\0", 13)) << "a description and a pattern, then the end";
  EXPECT_EQ(g_seen.nMaxFile, 200u);
  EXPECT_EQ(g_seen.hwndOwner, nullptr);
  EXPECT_STREQ(g_seen.lpstrTitle, "Saving information to file");
  EXPECT_EQ(g_seen.Flags, static_cast<DWORD>(OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT));

  // A name longer than the buffer is cut to fit it.
  const std::string longName(300, 'n');
  ASSERT_TRUE(platform.AskSaveFileName(longName.c_str(), chosen));
  EXPECT_EQ(g_seenName, longName.substr(0, 199));

  g_choice = nullptr;
  EXPECT_FALSE(platform.AskSaveFileName("answers.txt", chosen)) << "cancelled";
  VORWin32StoreInfoPlatform::SetSaveDialogHandler(previous);
}

// The score manager of the program stores through the system: a value
// computed by an expression into a file in the temporary folder (TMP),
// then a literal appended; the file's bytes on disk.
TEST(VORWin32StoreInfoPlatformTest, StoreInformationWritesIntoTheTemporaryFolder) {
  KeptState kept("TMP");
  ScratchFolder folder;
  _putenv(("TMP=" + folder.Path()).c_str());
  TestPlayerApp app;
  app.SetVariableValue("name", "Ada");
  VORStoreInfoObjectAction action;
  action.SetActionCode(VORScoreManager::kStoreInformation);
  action.sourceKind = VORStoreInfoObjectAction::kExpression;
  action.text = VORString("\"Hello \" & name");
  action.targetFile = VORString("answers.txt");
  action.targetInTemporaryFolder = 1;
  action.replace = 1;
  app.GetScoreManager().StoreInformation(action);
  action.sourceKind = VORStoreInfoObjectAction::kLiteral;
  action.text = VORString("\nline two\nend");
  action.replace = 0;
  app.GetScoreManager().StoreInformation(action);
  EXPECT_EQ(folder.ReadFile("answers.txt"), "Hello Ada\r\nline two\r\nend");
}

} // namespace
