#include "support/ProgramDriver.h"
#include "support/PublicationRecords.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr DWORD kBoxTimeoutMs = 20000;
constexpr DWORD kExitTimeoutMs = 20000;

const char *const kPrograms[] = {"vorplayer.exe", "vorcompact.exe", "VORPLAY.scr"};

std::string Program(const char *name) { return ProgramDriver::ProgramFolder() + name; }

// A publication of one chapter with one page, written as the compiled file
// stores it.
std::string WrittenPublication() {
  PublicationRecords::Publication publication;
  PublicationRecords::Chapter chapter;
  chapter.pages = {VORObjectKey{0, 4, 1}};
  publication.chapters = {chapter};
  const std::vector<uint8_t> bytes = publication.Bytes();
  return std::string(bytes.begin(), bytes.end());
}

// Expects the missing-publication warning, answers it, and expects the
// program to end normally.
void ExpectMissingPublicationBox(ProgramDriver &driver, const std::string &what) {
  HWND box = driver.WaitForBox(kBoxTimeoutMs);
  ASSERT_NE(box, nullptr) << what << ": no box appeared";
  EXPECT_EQ(ProgramDriver::WindowText(box), "VOR") << what;
  EXPECT_EQ(ProgramDriver::BoxMessage(box), "Cannot find publication file!!") << what;
  EXPECT_TRUE(ProgramDriver::HasChild(box, ProgramDriver::kIconId)) << what << ": a warning box shows an icon";
  ProgramDriver::PressButton(box, IDOK);
  ASSERT_TRUE(driver.WaitForExit(kExitTimeoutMs)) << what << ": still running after the box was answered";
  EXPECT_EQ(driver.ExitCode(), 0u) << what;
}

void ExpectEndsWithoutBox(ProgramDriver &driver, const std::string &what) {
  ASSERT_EQ(driver.WaitForBox(kBoxTimeoutMs), nullptr) << what << ": unexpected box";
  ASSERT_TRUE(driver.WaitForExit(kExitTimeoutMs)) << what;
  EXPECT_EQ(driver.ExitCode(), 0u) << what;
}

TEST(StartupTest, EveryProgramWarnsAboutAMissingPublication) {
  ScratchFolder folder;
  for (const char *name : kPrograms) {
    ProgramDriver driver;
    ASSERT_TRUE(driver.Start(Program(name), folder.File("missing.vor"))) << name;
    ExpectMissingPublicationBox(driver, name);
  }
}

TEST(StartupTest, QuotedPathIsOpenedWithoutItsQuotes) {
  ScratchFolder folder;
  folder.WriteFile("with space.vor", WrittenPublication());
  struct Case {
    const char *what;
    std::string arguments;
    bool exists;
  } cases[] = {
      {"quoted existing path", "\"" + folder.File("with space.vor") + "\"", true},
      {"plain existing path with a space", folder.File("with space.vor"), true},
      {"quoted missing path", "\"" + folder.File("absent.vor") + "\"", false},
  };
  for (const Case &c : cases) {
    ProgramDriver driver;
    ASSERT_TRUE(driver.Start(Program("vorplayer.exe"), c.arguments)) << c.what;
    if (c.exists)
      ExpectEndsWithoutBox(driver, c.what);
    else
      ExpectMissingPublicationBox(driver, c.what);
  }
}

// Without a command line the program looks for its own path with "vor" for
// the last three characters: C:\X\PLAY.EXE looks for C:\X\PLAY.vor.
TEST(StartupTest, WithoutCommandLineThePublicationIsBesideTheProgram) {
  ScratchFolder folder;
  ASSERT_TRUE(CopyFileA(Program("vorplayer.exe").c_str(), folder.File("PLAY.EXE").c_str(), FALSE));
  {
    ProgramDriver driver;
    ASSERT_TRUE(driver.Start(folder.File("PLAY.EXE"), ""));
    ExpectMissingPublicationBox(driver, "no PLAY.vor yet");
  }
  // A publication there plays (there is nothing to show yet, so the program
  // ends on its own); a file that holds none is reported.
  const std::string publication = WrittenPublication();
  struct Case {
    const char *what;
    std::string bytes;
    bool playable;
  } cases[] = {
      {"PLAY.vor present", publication, true},
      {"PLAY.vor truncated", publication.substr(0, publication.size() / 2), false},
      {"PLAY.vor of garbage", "any bytes", false},
  };
  for (const Case &c : cases) {
    folder.WriteFile("PLAY.vor", c.bytes);
    ProgramDriver driver;
    ASSERT_TRUE(driver.Start(folder.File("PLAY.EXE"), "")) << c.what;
    if (c.playable)
      ExpectEndsWithoutBox(driver, c.what);
    else
      ExpectMissingPublicationBox(driver, c.what);
  }
}

} // namespace
