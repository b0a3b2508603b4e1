#include "engine/VORExceptionHandlers.h"

#include <gtest/gtest.h>

#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "engine/FontInstaller.h"
#include "engine/VORDisplayMode.h"
#include "foundation/VORException.h"
#include "support/ProgramDriver.h"
#include "support/PublicationRecords.h"

namespace {

// A request no heap can satisfy, in either target's address space: just
// under half of it (2 GiB on the 32-bit target).
constexpr size_t kImpossibleSize = std::numeric_limits<size_t>::max() / 2 - 15;

void *volatile g_keep = nullptr; // stops the compiler from eliding the allocation

TEST(VORExceptionHandlersTest, AllocationFailureThrowsWithTheRequestedSize) {
  VORNewFailureHandler previous = VORSetNewFailureHandler(OnNewFailure);
  bool thrown = false;
  try {
    g_keep = new char[kImpossibleSize];
  } catch (const VORNewFailException &failure) {
    thrown = true;
    EXPECT_EQ(failure.GetRequestedSize(), kImpossibleSize);
    EXPECT_EQ(failure.Text(), "New failed : " + std::to_string(kImpossibleSize) + " bytes");
  }
  VORSetNewFailureHandler(previous);
  EXPECT_TRUE(thrown);
  delete[] static_cast<char *>(g_keep);
}

TEST(VORExceptionHandlersTest, WithoutTheHandlerAllocationFailureIsBadAlloc) {
  VORNewFailureHandler previous = VORSetNewFailureHandler(nullptr);
  EXPECT_THROW(g_keep = new char[kImpossibleSize], std::bad_alloc);
  VORSetNewFailureHandler(previous);
}

TEST(VORExceptionHandlersTest, ZeroByteRequestsGetDistinctBlocks) {
  char *first = new char[0];
  char *second = new char[0];
  EXPECT_NE(first, nullptr);
  EXPECT_NE(first, second);
  delete[] first;
  delete[] second;
}

TEST(VORExceptionHandlersTest, StructuredExceptionIsFormattedAndEndsTheProcess) {
  EXCEPTION_RECORD record = {};
  record.ExceptionCode = EXCEPTION_ACCESS_VIOLATION;
  EXCEPTION_POINTERS pointers = {&record, nullptr};
  testing::internal::CaptureStderr();
  const LONG answer = TranslateStructuredException(&pointers);
  const std::string printed = testing::internal::GetCapturedStderr();
  EXPECT_EQ(answer, EXCEPTION_EXECUTE_HANDLER);
  EXPECT_EQ(printed, "Structured exception : c0000005\n");
}

// A small font from Wine's own (the package fonts-wine), copied beside a
// publication.
constexpr const char *kFontSource = "Z:\\usr\\share\\wine\\fonts\\marlett.ttf";
constexpr const char *kFontName = "pubfont.ttf";

std::vector<DWORD> g_displayChanges; // widths; 0 for a restore

LONG WINAPI RecordDisplayChange(DEVMODEA *mode, DWORD flags) {
  if (flags != CDS_TEST)
    g_displayChanges.push_back(mode ? mode->dmPelsWidth : 0);
  return DISP_CHANGE_SUCCESSFUL;
}

std::vector<BOOL> g_fontRemovals; // the system's answers

BOOL WINAPI RecordFontRemoval(LPCSTR path) {
  const BOOL removed = RemoveFontResourceA(path);
  g_fontRemovals.push_back(removed);
  return removed;
}

// What a crashed run changed outside the process is given back on the way
// out: the screen's own mode, when the run changed it, and the fonts added
// from the publication's folder, really removed (the system's count of the
// font goes back to none).
TEST(VORExceptionHandlersTest, RestoreAfterFaultGivesBackTheScreenAndTheFonts) {
  for (const bool changed : {true, false}) {
    ScratchFolder folder;
    ASSERT_TRUE(CopyFileA(kFontSource, folder.File(kFontName).c_str(), FALSE)) << kFontSource;
    g_displayChanges.clear();
    g_fontRemovals.clear();
    const VORDisplayMode::ChangeFunction previousChange = VORDisplayMode::SetChangeFunction(RecordDisplayChange);
    const FontInstaller::RemoveFunction previousRemove = FontInstaller::SetRemoveFunction(RecordFontRemoval);
    {
      FontInstaller fonts;
      fonts.InstallFrom(folder.Path().c_str());
      ASSERT_EQ(fonts.GetInstalled().GetCount(), 1u);
      if (changed)
        VORDisplayMode::Set(1);
      VORRestoreAfterFault();
      EXPECT_EQ(g_displayChanges, changed ? std::vector<DWORD>({800, 0}) : std::vector<DWORD>()) << changed;
      EXPECT_EQ(g_fontRemovals, std::vector<BOOL>({TRUE})) << changed;
      EXPECT_FALSE(RemoveFontResourceA(folder.File(kFontName).c_str())) << changed << ": the font is still there";
      // Once given back, nothing is given back twice.
      VORRestoreAfterFault();
      EXPECT_EQ(g_displayChanges.size(), changed ? 2u : 0u) << changed;
      EXPECT_EQ(g_fontRemovals.size(), 1u) << changed;
      g_fontRemovals.clear();
    }
    VORDisplayMode::SetChangeFunction(previousChange);
    FontInstaller::SetRemoveFunction(previousRemove);
  }
}

std::vector<std::string> Lines(const std::string &text) {
  std::vector<std::string> lines;
  std::istringstream stream(text);
  for (std::string line; std::getline(stream, line);)
    lines.push_back(line);
  return lines;
}

// A real crash: a player that changed the display mode and added a font
// from its publication's folder faults after its start-up. The process
// ends with the fault's code, and on its way out the screen got its mode
// back and the font was removed.
TEST(VORExceptionHandlersTest, ACrashGivesBackTheScreenAndTheFonts) {
  ScratchFolder folder;
  ASSERT_TRUE(CopyFileA(kFontSource, folder.File(kFontName).c_str(), FALSE)) << kFontSource;
  PublicationRecords::Publication publication;
  PublicationRecords::Chapter chapter;
  chapter.pages = {VORObjectKey{0, 4, 1}};
  publication.chapters = {chapter};
  publication.properties.changeDisplayMode = 1;
  publication.properties.displayMode = 2;
  folder.WriteFile("demo.vor", PublicationRecords::FileText(publication));

  ProgramDriver driver;
  ASSERT_TRUE(driver.Start(ProgramDriver::ProgramFolder() + "vor_fault_child.exe",
                           "\"" + folder.File("demo.vor") + "\" \"" + folder.File("record.txt") + "\""));
  ASSERT_TRUE(driver.WaitForExit(20000));
  EXPECT_EQ(driver.ExitCode(), static_cast<DWORD>(EXCEPTION_ACCESS_VIOLATION));
  const std::vector<std::string> expected = {
      "display 1024",
      "fault",
      "display restore",
      "font 1 " + folder.File(kFontName),
  };
  EXPECT_EQ(Lines(folder.ReadFile("record.txt")), expected);
}

} // namespace
