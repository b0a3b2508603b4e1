#include "support/ProgramDriver.h"
#include "support/PublicationRecords.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr DWORD kBoxTimeoutMs = 20000;
using namespace E2e;
constexpr int kPasswordDialog = 101;
constexpr int kPasswordEdit = 1128;
constexpr uint32_t kEscapeExitsFlag = 1u << 4;
constexpr const char *kTimerWindowClass = "VOR_TIMER_CLASS";

std::string Program(const char *name) { return ProgramDriver::ProgramFolder() + name; }

using PublicationRecords::FileText;

// Chapter 1 opens with "Gold"; the start-up asks for it, and Escape ends
// the run.
std::string ProtectedPublication() {
  PublicationRecords::Publication publication;
  PublicationRecords::Chapter chapter;
  chapter.pages = {VORObjectKey{0, 4, 1}};
  publication.chapters = {chapter};
  publication.properties.flags = kEscapeExitsFlag;
  publication.properties.passwordsOn = 1;
  publication.properties.askUser = 0;
  publication.properties.passwords = {{"Gold", {VORObjectKey{0, 2, 1}}}};
  return FileText(publication);
}

// Every program carries dialog 101: a password field 1128 that hides what
// is typed, OK and Cancel.
TEST(PasswordDialogTest, EveryProgramCarriesDialog101) {
  for (const char *name : {"vorplayer.exe", "vorcompact.exe", "VORPLAY.scr"}) {
    HMODULE module = LoadLibraryExA(Program(name).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module, nullptr) << name;
    HWND dialog = CreateDialogParamA(module, MAKEINTRESOURCEA(kPasswordDialog), nullptr, nullptr, 0);
    ASSERT_NE(dialog, nullptr) << name;
    HWND edit = GetDlgItem(dialog, kPasswordEdit);
    ASSERT_NE(edit, nullptr) << name;
    EXPECT_NE(GetWindowLongA(edit, GWL_STYLE) & ES_PASSWORD, 0) << name;
    EXPECT_TRUE(ProgramDriver::HasChild(dialog, IDOK)) << name;
    EXPECT_TRUE(ProgramDriver::HasChild(dialog, IDCANCEL)) << name;
    DestroyWindow(dialog);
    FreeLibrary(module);
  }
}

// The real program asks in dialog 101 before its first page: a wrong
// password shows the program's warning and asks again; the right one (in
// any letter case) lets it play.
TEST(PasswordDialogTest, TheStartupPasswordIsAskedInTheProgramsDialog) {
  ScratchFolder folder;
  folder.WriteFile("demo.vor", ProtectedPublication());
  ProgramDriver driver;
  ASSERT_TRUE(driver.Start(Program("vorplayer.exe"), folder.File("demo.vor")));

  HWND dialog = driver.WaitForBox(kBoxTimeoutMs);
  ASSERT_NE(dialog, nullptr) << "no password dialog";
  ASSERT_TRUE(ProgramDriver::HasChild(dialog, kPasswordEdit));
  ProgramDriver::SetChildText(dialog, kPasswordEdit, "Tin");
  ProgramDriver::PressButton(dialog, IDOK);

  // The password dialog, while it is being destroyed, has lost its edit but
  // is no message box: the warning is known by its message text.
  HWND warning = nullptr;
  for (DWORD waited = 0; waited < kBoxTimeoutMs && !warning; waited += 100) {
    HWND box = driver.WaitForBox(kBoxTimeoutMs);
    if (box && ProgramDriver::HasChild(box, ProgramDriver::kMessageId) && !ProgramDriver::HasChild(box, kPasswordEdit))
      warning = box;
    else
      Sleep(100);
  }
  ASSERT_NE(warning, nullptr) << "no wrong-password box";
  EXPECT_EQ(ProgramDriver::WideBoxMessage(warning), L"La password non \u00e8 corretta.");
  EXPECT_EQ(ProgramDriver::WindowText(warning), "");
  ProgramDriver::PressButton(warning, IDOK);

  HWND again = nullptr;
  for (DWORD waited = 0; waited < kBoxTimeoutMs && !again; waited += 100) {
    HWND box = driver.WaitForBox(kBoxTimeoutMs);
    if (box && ProgramDriver::HasChild(box, kPasswordEdit))
      again = box;
    else
      Sleep(100);
  }
  ASSERT_NE(again, nullptr) << "not asked again";
  ProgramDriver::SetChildText(again, kPasswordEdit, "GOLD");
  ProgramDriver::PressButton(again, IDOK);

  HWND timer = driver.WaitForWindow(kTimerWindowClass, kBoxTimeoutMs);
  ASSERT_NE(timer, nullptr);
  EXPECT_FALSE(driver.WaitForExit(500)) << "it ended instead of playing";
  EXPECT_EQ(driver.WaitForBox(0), nullptr);
  PostMessageA(timer, WM_KEYDOWN, VK_ESCAPE, 0);
  ASSERT_TRUE(driver.WaitForExit(kExitTimeoutMs));
  EXPECT_EQ(driver.ExitCode(), 0u);
}

TEST(PasswordDialogTest, CancellingTheStartupPasswordEndsTheRun) {
  ScratchFolder folder;
  folder.WriteFile("demo.vor", ProtectedPublication());
  ProgramDriver driver;
  ASSERT_TRUE(driver.Start(Program("vorplayer.exe"), folder.File("demo.vor")));
  HWND dialog = driver.WaitForBox(kBoxTimeoutMs);
  ASSERT_NE(dialog, nullptr);
  ProgramDriver::PressButton(dialog, IDCANCEL);
  ASSERT_TRUE(driver.WaitForExit(kExitTimeoutMs)) << "still running after Cancel";
  EXPECT_EQ(driver.ExitCode(), 0u);
}

} // namespace
