#include "support/ProgramDriver.h"
#include "support/PublicationRecords.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace E2e;
constexpr DWORD kBoxTimeoutMs = 20000;

const char *const kPrograms[] = {"vorplayer.exe", "vorcompact.exe", "VORPLAY.scr"};

std::string Program(const char *name) { return ProgramDriver::ProgramFolder() + name; }

constexpr const char *kTimerWindowClass = "VOR_TIMER_CLASS";
// Bits of the publication's flags: the closing page, Escape ends the run.
constexpr uint32_t kClosingPageFlag = 1u << 2;
constexpr uint32_t kEscapeExitsFlag = 1u << 4;

using PublicationRecords::FileText;

// A publication of one chapter with pages 1 and 2, written as the compiled
// file stores it, in which Escape ends the run.
PublicationRecords::Publication TwoPages() {
  PublicationRecords::Publication publication;
  PublicationRecords::Chapter chapter;
  chapter.pages = {VORObjectKey{0, 4, 1}, VORObjectKey{0, 4, 2}};
  publication.chapters = {chapter};
  publication.properties.flags = kEscapeExitsFlag;
  return publication;
}

std::string WrittenPublication() { return FileText(TwoPages()); }

// A publication whose page cannot be shown: its record is missing.
std::string NothingToShow() {
  PublicationRecords::Publication publication = TwoPages();
  publication.chapters[0].pages.resize(1);
  publication.chapters[0].pages[0].withoutRecord = true;
  return FileText(publication);
}

// The program shows its first page and waits in its main loop; Escape, which
// the publication lets end the run, ends it.
void ExpectPlaysUntilEscape(ProgramDriver &driver, const std::string &what) {
  HWND timer = driver.WaitForWindow(kTimerWindowClass, kWindowTimeoutMs);
  ASSERT_NE(timer, nullptr) << what << ": no main loop";
  EXPECT_FALSE(driver.WaitForExit(500)) << what << ": it ended by itself";
  EXPECT_EQ(driver.WaitForBox(0), nullptr) << what;
  PostMessageA(timer, WM_KEYDOWN, VK_ESCAPE, 0);
  ASSERT_TRUE(driver.WaitForExit(kExitTimeoutMs)) << what << ": Escape did not end it";
  EXPECT_EQ(driver.ExitCode(), 0u) << what;
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
    // The screen saver's run (/s) looks for the publication beside itself,
    // here in a folder without one.
    const bool saver = std::string(name) == "VORPLAY.scr";
    const std::string copy = folder.File(name);
    if (saver)
      CopyFileA(Program(name).c_str(), copy.c_str(), FALSE);
    ASSERT_TRUE(saver ? driver.Start(copy, "/s") : driver.Start(Program(name), folder.File("missing.vor"))) << name;
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
      ExpectPlaysUntilEscape(driver, c.what);
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
  // A publication there plays; a file that holds none is reported.
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
      ExpectPlaysUntilEscape(driver, c.what);
    else
      ExpectMissingPublicationBox(driver, c.what);
  }
}

// Both players run their main loop on a publication and end as it says:
// through the closing page, whose delay of 0 ends the run by itself once
// Escape has shown it.
TEST(StartupTest, ThePlayersEndThroughTheClosingPage) {
  PublicationRecords::Publication publication = TwoPages();
  publication.properties.flags = kEscapeExitsFlag | kClosingPageFlag;
  publication.properties.closingPage = VORObjectKey{0, 4, 2};
  publication.properties.closingDelay = 0;
  ScratchFolder folder;
  folder.WriteFile("demo.vor", FileText(publication));
  for (const char *name : {"vorplayer.exe", "vorcompact.exe"}) {
    ProgramDriver driver;
    ASSERT_TRUE(driver.Start(Program(name), folder.File("demo.vor"))) << name;
    ExpectPlaysUntilEscape(driver, name);
  }
}

// Without the publication's exit bit Escape is a key like any other: the
// program plays on until it is ended.
TEST(StartupTest, EscapeWithoutTheExitBitPlaysOn) {
  PublicationRecords::Publication publication = TwoPages();
  publication.properties.flags = 0;
  ScratchFolder folder;
  folder.WriteFile("demo.vor", FileText(publication));
  ProgramDriver driver;
  ASSERT_TRUE(driver.Start(Program("vorplayer.exe"), folder.File("demo.vor")));
  HWND timer = driver.WaitForWindow(kTimerWindowClass, kWindowTimeoutMs);
  ASSERT_NE(timer, nullptr);
  PostMessageA(timer, WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_FALSE(driver.WaitForExit(1000)) << "Escape ended the run";
  EXPECT_TRUE(driver.IsRunning());
  driver.Kill();
}

// A publication with nothing that can be shown ends at once, without a box.
TEST(StartupTest, NothingToShowEndsAtOnce) {
  ScratchFolder folder;
  folder.WriteFile("demo.vor", NothingToShow());
  ProgramDriver driver;
  ASSERT_TRUE(driver.Start(Program("vorplayer.exe"), folder.File("demo.vor")));
  ExpectEndsWithoutBox(driver, "nothing to show");
}

} // namespace
