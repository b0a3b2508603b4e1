#include "engine/VORLaunchManager.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "engine/SystemBrowser.h"
#include "model/ActionContext.h"
#include "model/VORLaunchAction.h"
#include "support/FakeClock.h"
#include "support/FakeFileManager.h"
#include "support/FakeLaunchPlatform.h"
#include "support/TestPlayer.h"

namespace {

using TestPublications::Chapter;
using TestPublications::Page;

VORLaunchAction Launch(const char *file, const char *directory, const char *location, const char *parameters = "",
                       uint8_t exitAfter = 0) {
  VORLaunchAction action(VORLaunchAction::kClassKey, 1);
  action.SetTarget(VORPlayer::kLaunchManagerReference);
  action.SetActionCode(VORLaunchManager::kLaunch);
  action.fileName = VORString(file);
  action.directory = VORString(directory);
  action.location = VORString(location);
  action.parameters = VORString(parameters);
  action.exitAfter = exitAfter;
  return action;
}

// A player with a publication whose launch manager records on a fake
// platform; the publication lives in C:\pub\, the disc is E:.
class VORLaunchManagerTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(m_player.Load(TestPublications::Of({Chapter(1, {Page(1)})})));
    m_files.SetPublicationFolder("C:\\pub\\");
    m_files.SetCDROMRoot("E:");
    m_player.fileManager = &m_files;
    auto platform = std::make_unique<FakeLaunchPlatform>();
    m_platform = platform.get();
    m_player.GetPublication()->SetLaunchManager(
        std::make_unique<VORLaunchManager>(std::move(platform), "C:\\pub\\demo.vor"));
  }

  VORLaunchManager &Manager() {
    return *static_cast<VORLaunchManager *>(m_player.GetPublication()->GetLaunchManager());
  }

  FakeClock m_clock;
  TestPlayer m_player{m_clock};
  FakeFileManager m_files;
  FakeLaunchPlatform *m_platform = nullptr;
};

// Where a launch looks: the directory and the name with one separator
// between them (never run together), the disc's own drive in place of the
// author's, and the publication's folder.
TEST_F(VORLaunchManagerTest, ResolvesTheLaunchPath) {
  struct Case {
    const char *file;
    const char *directory;
    const char *location;
    const char *path;
  } cases[] = {
      {"A.EXE", "C:\\DIR", "", "C:\\DIR\\A.EXE"},
      {"A.EXE", "C:\\DIR\\", "", "C:\\DIR\\A.EXE"},
      {"A.EXE", "", "", "\\A.EXE"},
      {"A.EXE", "C:", "", "C:A.EXE"},
      {"A.EXE", "C:\\DIR", "cdrom", "C:\\DIR\\A.EXE"},
      {"A.AVI", "D:\\MOVIES", "CDROM", "E:\\MOVIES\\A.AVI"},
      {"A.AVI", "D:\\MOVIES\\", "CDROM", "E:\\MOVIES\\A.AVI"},
      {"A.AVI", "", "CDROM", "E:\\A.AVI"},
      {"readme.txt", "docs", "PUBDIR", "C:\\pub\\docs\\readme.txt"},
      {"readme.txt", "docs\\", "PUBDIR", "C:\\pub\\docs\\readme.txt"},
      {"readme.txt", "", "PUBDIR", "C:\\pub\\readme.txt"},
      {"", "C:\\DIR", "", ""},
      {"", "docs", "PUBDIR", ""},
  };
  for (const Case &c : cases)
    EXPECT_EQ(Manager().ResolvePath(Launch(c.file, c.directory, c.location)), c.path) << c.file << " " << c.directory;
}

// A disc path with no disc in the machine resolves to nothing, and nothing
// starts.
TEST_F(VORLaunchManagerTest, NoDiscNoLaunch) {
  FakeFileManager noDisc;
  m_player.fileManager = &noDisc;
  VORLaunchAction action = Launch("A.AVI", "D:\\MOVIES", "CDROM");
  EXPECT_TRUE(m_player.DispatchAction(action));
  EXPECT_TRUE(m_platform->opens.empty());
}

// A launch runs in the publication's folder and passes the parameters on;
// the player quits after it only when the shell's answer is above 32 and the
// action asks.
TEST_F(VORLaunchManagerTest, QuitsOnlyAfterALaunchThatWorked) {
  struct Case {
    intptr_t shellResult;
    uint8_t exitAfter;
    int quits;
  } cases[] = {{42, 1, 1}, {33, 1, 1}, {32, 1, 0}, {2, 1, 0}, {42, 0, 0}};
  for (const Case &c : cases) {
    m_player.quitRequests = 0;
    m_platform->opens.clear();
    m_platform->directories.clear();
    m_platform->shellResult = c.shellResult;
    VORLaunchAction action = Launch("A.EXE", "C:\\DIR", "", "/q x", c.exitAfter);
    action.SetOriginObject(VORObjectCode(0, 3, 1));
    action.SetOriginPage(VORObjectCode(0, 4, 1));
    ASSERT_TRUE(m_player.DispatchAction(action)) << c.shellResult;
    ASSERT_EQ(m_platform->opens.size(), 1u);
    EXPECT_EQ(m_platform->opens[0].file, "C:\\DIR\\A.EXE");
    EXPECT_EQ(m_platform->opens[0].parameters, "/q x");
    EXPECT_EQ(m_platform->opens[0].show, LaunchPlatform::kShowNormal);
    EXPECT_EQ(m_platform->directories, std::vector<std::string>{"C:\\pub\\"});
    EXPECT_EQ(m_player.quitRequests, c.quits) << c.shellResult << " " << int(c.exitAfter);
    EXPECT_TRUE(Manager().GetLastPath().empty());
  }
}

// The browser's program from the open command: quoted (with blanks and
// dashes in the path), unquoted, or nothing usable.
TEST(SystemBrowserTest, FindsTheProgramOfTheOpenCommand) {
  struct Case {
    const char *command;
    const char *program;
  } cases[] = {
      {"\"C:\\Browser\\b.exe\" -nohome \"%1\"", "C:\\Browser\\b.exe"},
      {"\"C:\\Program Files\\Web-Browser\\b.exe\" -nohome \"%1\"", "C:\\Program Files\\Web-Browser\\b.exe"},
      {"C:\\Browser\\b.exe %1", "C:\\Browser\\b.exe"},
      {"C:\\Browser\\b.exe", "C:\\Browser\\b.exe"},
      {"C:\\Program Files\\Web-Browser\\b.EXE -nohome %1", "C:\\Program Files\\Web-Browser\\b.EXE"},
      {"C:\\tools\\viewer -x %1", "C:\\tools\\viewer"},
      {"C:\\Browser\\b.exe%1", "C:\\Browser\\b.exe"},
      {"\"%1\"", ""},
      {"%1", ""},
      {"\"", ""},
      {"\"C:\\open ended.exe", "C:\\open ended.exe"},
      {"", ""},
      {"   ", ""},
  };
  for (const Case &c : cases)
    EXPECT_EQ(SystemBrowser::ProgramOfOpenCommand(c.command), c.program) << c.command;
}

// 1001: the address, up to its first blank, goes to the ".htm" class's
// program; without a registered class nothing starts.
TEST_F(VORLaunchManagerTest, OpensTheAddressInTheRegisteredBrowser) {
  VORLaunchAction action = Launch("http://example.org/a.htm more words", "", "");
  action.SetActionCode(VORLaunchManager::kOpenURL);
  EXPECT_TRUE(m_player.DispatchAction(action));
  EXPECT_TRUE(m_platform->opens.empty());
  EXPECT_EQ(m_platform->lookups, std::vector<std::string>{".htm"});

  m_platform->RegisterBrowser("\"C:\\Program Files\\Browser\\b.exe\" -nohome \"%1\"");
  EXPECT_TRUE(m_player.DispatchAction(action));
  ASSERT_EQ(m_platform->opens.size(), 1u);
  EXPECT_EQ(m_platform->opens[0].file, "C:\\Program Files\\Browser\\b.exe");
  EXPECT_EQ(m_platform->opens[0].parameters, "http://example.org/a.htm");
  EXPECT_EQ(m_platform->opens[0].show, LaunchPlatform::kShow);
}

// Only launch actions of 1000 and 1001 are the manager's.
TEST_F(VORLaunchManagerTest, AnswersOnlyItsOwnActions) {
  VORLaunchAction other = Launch("A.EXE", "", "");
  other.SetActionCode(1002);
  EXPECT_FALSE(m_player.DispatchAction(other));
  VORObjectAction plain(VORObjectAction::kClassKey, 1);
  plain.SetTarget(VORPlayer::kLaunchManagerReference);
  plain.SetActionCode(VORLaunchManager::kLaunch);
  EXPECT_FALSE(m_player.DispatchAction(plain));
  EXPECT_TRUE(m_platform->opens.empty());
}

} // namespace
