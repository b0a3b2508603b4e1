#include "support/ProgramDriver.h"
#include "support/PublicationRecords.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <string>
#include <vector>

namespace {

using namespace PublicationRecords;

constexpr DWORD kTimeoutMs = 20000;
constexpr DWORD kPollMs = 50;
constexpr uint32_t kSeveralBookmarksFlag = 1u << 8;
constexpr uint32_t kEscapeExitsFlag = 1u << 4;
constexpr int kBookmarkDialog = 102;
constexpr int kBookmarkList = 1276;
constexpr const char *kBookmarkCaption = "Segnalibri";

std::string Program(const char *name) { return ProgramDriver::ProgramFolder() + name; }

// The child program inherits the environment: the variable has the value
// given while the object lives.
class EnvironmentVariable {
public:
  EnvironmentVariable(const char *name, const std::string &value) : m_name(name) {
    m_had = GetEnvironmentVariableA(name, m_old, sizeof m_old) > 0;
    SetEnvironmentVariableA(name, value.c_str());
  }
  ~EnvironmentVariable() { SetEnvironmentVariableA(m_name, m_had ? m_old : nullptr); }
  EnvironmentVariable(const EnvironmentVariable &) = delete;
  EnvironmentVariable &operator=(const EnvironmentVariable &) = delete;

private:
  const char *m_name;
  char m_old[MAX_PATH] = {};
  bool m_had = false;
};

// A class entry under the classes root, put back as it was afterwards.
class ClassEntry {
public:
  ClassEntry(const std::string &key, const std::string &value) : m_key(key) {
    char old[1024] = {};
    LONG size = sizeof old;
    m_had = RegQueryValueA(HKEY_CLASSES_ROOT, key.c_str(), old, &size) == ERROR_SUCCESS;
    m_old = old;
    RegSetValueA(HKEY_CLASSES_ROOT, key.c_str(), REG_SZ, value.c_str(), static_cast<DWORD>(value.size()));
  }
  ~ClassEntry() {
    if (m_had)
      RegSetValueA(HKEY_CLASSES_ROOT, m_key.c_str(), REG_SZ, m_old.c_str(), static_cast<DWORD>(m_old.size()));
    else
      RegDeleteKeyA(HKEY_CLASSES_ROOT, m_key.c_str());
  }
  ClassEntry(const ClassEntry &) = delete;
  ClassEntry &operator=(const ClassEntry &) = delete;

private:
  std::string m_key;
  std::string m_old;
  bool m_had = false;
};

// Page 1 runs the event's actions when it is shown.
Publication OnePage(const std::string &title, const std::vector<ListedObject> &actions, uint32_t flags) {
  Publication publication;
  publication.properties.flags = flags;
  Chapter chapter;
  Page page(VORObjectKey{0, 4, 1});
  page.properties.title = title;
  Event event;
  event.objects = actions;
  event.delays.assign(actions.size(), 0);
  page.properties.events.list = {event.Object()};
  page.properties.events.triggers = {AutoStartTrigger(1)};
  page.properties.events.indexes = {0};
  chapter.pages = {page};
  publication.chapters = {chapter};
  return publication;
}

ListedObject Quit(uint32_t id) { return Action(1, id, ActionFields{VORObjectKey{0, 0, 1}, 103}); }

std::vector<std::string> WaitForLines(const ScratchFolder &folder, const char *name, size_t count) {
  std::vector<std::string> lines;
  const DWORD start = GetTickCount();
  do {
    lines.clear();
    const std::string text = folder.ReadFile(name);
    size_t at = 0, end = 0;
    while ((end = text.find('\n', at)) != std::string::npos) {
      lines.push_back(text.substr(at, end - at));
      at = end + 1;
    }
    if (lines.size() >= count)
      return lines;
    Sleep(kPollMs);
  } while (GetTickCount() - start < kTimeoutMs);
  return lines;
}

bool Contains(const std::vector<std::string> &lines, const std::string &part) {
  for (const std::string &line : lines)
    if (line.find(part) != std::string::npos)
      return true;
  return false;
}

// A page's launch actions reach their programs: a program started with its
// parameters, a document opened with the program its class names, and an
// address handed to the browser the ".htm" class names (a program in a
// folder whose name has blanks and a dash), cut at its first blank. The
// last launch asks the player to quit, and it does.
TEST(LaunchTest, APagesLaunchActionsReachTheirPrograms) {
  ScratchFolder folder;
  const std::string browserFolder = folder.File("Web-Browser Files");
  ASSERT_TRUE(CreateDirectoryA(browserFolder.c_str(), nullptr));
  const std::string browser = browserFolder + "\\browse.exe";
  ASSERT_TRUE(CopyFileA(Program("vor_launch_logger.exe").c_str(), browser.c_str(), FALSE));
  EnvironmentVariable log("VOR_LAUNCH_LOG", folder.File("launch.log"));
  ClassEntry htm(".htm", "VORTestPage");
  ClassEntry htmCommand("VORTestPage\\shell\\open\\command", "\"" + browser + "\" -nohome \"%1\"");
  ClassEntry document(".vorlog", "VORTestLog");
  ClassEntry documentCommand("VORTestLog\\shell\\open\\command",
                             "\"" + Program("vor_launch_logger.exe") + "\" document \"%1\"");
  folder.WriteFile("notes.vorlog", "notes");

  LaunchAction program;
  program.id = 1;
  program.fileName = "vor_launch_logger.exe";
  std::string programFolder = ProgramDriver::ProgramFolder();
  programFolder.pop_back(); // the directory and the name are joined with one separator
  program.directory = programFolder;
  program.parameters = "alpha beta";
  LaunchAction address;
  address.id = 2;
  address.fields.code = 1001;
  address.fileName = "http://example.org/page.htm and more";
  LaunchAction notes;
  notes.id = 3;
  notes.fileName = "notes.vorlog";
  notes.location = "PUBDIR";
  notes.exitAfter = 1;
  folder.WriteFile("launch.vor", FileText(OnePage("Launch", {program.Object(), address.Object(), notes.Object()}, 0)));

  ProgramDriver driver;
  ASSERT_TRUE(driver.Start(Program("vorplayer.exe"), folder.File("launch.vor")));
  EXPECT_TRUE(driver.WaitForExit(kTimeoutMs)) << "the last launch did not quit";
  const std::vector<std::string> lines = WaitForLines(folder, "launch.log", 3);
  ASSERT_EQ(lines.size(), 3u) << folder.ReadFile("launch.log");
  EXPECT_TRUE(Contains(lines, "alpha beta")) << folder.ReadFile("launch.log");
  EXPECT_TRUE(Contains(lines, "browse.exe\" http://example.org/page.htm")) << folder.ReadFile("launch.log");
  EXPECT_FALSE(Contains(lines, "and more")) << folder.ReadFile("launch.log");
  EXPECT_TRUE(Contains(lines, "document")) << folder.ReadFile("launch.log");
  EXPECT_TRUE(Contains(lines, "notes.vorlog")) << folder.ReadFile("launch.log");
  driver.Kill();
}

// Another process's list box is read in wide characters: the system passes
// LB_GETTEXT between processes as Unicode (the texts here are ASCII).
std::vector<std::string> ListEntries(HWND list) {
  std::vector<std::string> entries;
  const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    wchar_t text[256] = {};
    SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
    std::string narrow;
    for (const wchar_t *c = text; *c; ++c)
      narrow += static_cast<char>(*c);
    entries.push_back(narrow);
  }
  return entries;
}

// A page bookmarked in one run is offered by the bookmark dialog in the
// next; the file between them lies in the temporary folder, named after
// the publication.
TEST(LaunchTest, ABookmarkAddedInOneRunIsOfferedInTheNext) {
  ScratchFolder folder;
  std::string temporary = folder.Path();
  temporary.pop_back();
  EnvironmentVariable temp("TEMP", temporary);
  const std::string publication = folder.File("bookmarks.vor");
  {
    folder.WriteFile("bookmarks.vor",
                     FileText(OnePage("Bookmarked page", {BookmarkAction(1, 950, VORObjectKey{0, 4, 1}), Quit(2)},
                                      kSeveralBookmarksFlag)));
    ProgramDriver driver;
    ASSERT_TRUE(driver.Start(Program("vorplayer.exe"), publication));
    ASSERT_TRUE(driver.WaitForExit(kTimeoutMs));
  }
  const std::string saved = folder.ReadFile("bookmarks.bmk");
  EXPECT_EQ(saved, std::string("\x01\x00\x00\x00\x00\x00\x04\x00\x01\x00\x00\x00", 12));

  folder.WriteFile("bookmarks.vor", FileText(OnePage("Bookmarked page", {BookmarkAction(1, 951, VORObjectKey{0, 4, 1})},
                                                     kSeveralBookmarksFlag | kEscapeExitsFlag)));
  ProgramDriver driver;
  ASSERT_TRUE(driver.Start(Program("vorplayer.exe"), publication));
  HWND dialog = driver.WaitForWindow("#32770", kTimeoutMs, kBookmarkCaption, true);
  ASSERT_NE(dialog, nullptr) << "dialog " << kBookmarkDialog << " did not show";
  HWND list = GetDlgItem(dialog, kBookmarkList);
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(ListEntries(list), std::vector<std::string>{"Bookmarked page"});
  ProgramDriver::PressButton(dialog, IDOK);
  const HWND window = driver.WaitForWindow("VOR_VIEW_CLASS", kTimeoutMs, nullptr, true);
  ASSERT_NE(window, nullptr);
  PostMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_TRUE(driver.WaitForExit(kTimeoutMs));
  driver.Kill();
}

BOOL CALLBACK FindPane(HWND window, LPARAM found) {
  char name[64] = {};
  GetClassNameA(window, name, sizeof name);
  if (std::string(name) != "VOR_VIEW_CHILD")
    return TRUE;
  *reinterpret_cast<HWND *>(found) = window;
  return FALSE;
}

// A page's web-browser pane without the OLE container: the pane is there,
// and the start address goes to the system's browser.
TEST(LaunchTest, ABrowserPaneWithoutTheContainerUsesTheSystemBrowser) {
  ScratchFolder folder;
  EnvironmentVariable log("VOR_LAUNCH_LOG", folder.File("launch.log"));
  ClassEntry htm(".htm", "VORTestPage");
  ClassEntry htmCommand("VORTestPage\\shell\\open\\command",
                        "\"" + Program("vor_launch_logger.exe") + "\" -nohome \"%1\"");
  BrowserRecord browser;
  browser.graphical.Place(20, 20, 300, 200);
  browser.startUrl = "http://example.org/start.htm";
  browser.systemBrowserFallback = 1;
  Publication publication = OnePage("Browser", {}, kEscapeExitsFlag);
  publication.chapters[0].pages[0].properties.events = Events();
  publication.chapters[0].pages[0].objects = {BrowserObject(1, browser)};
  folder.WriteFile("browser.vor", FileText(publication));

  ProgramDriver driver;
  ASSERT_TRUE(driver.Start(Program("vorplayer.exe"), folder.File("browser.vor")));
  const HWND window = driver.WaitForWindow("VOR_VIEW_CLASS", kTimeoutMs, nullptr, true);
  ASSERT_NE(window, nullptr);
  const std::vector<std::string> lines = WaitForLines(folder, "launch.log", 1);
  ASSERT_EQ(lines.size(), 1u) << folder.ReadFile("launch.log");
  EXPECT_TRUE(Contains(lines, "\" http://example.org/start.htm")) << lines[0];
  HWND pane = nullptr;
  EnumChildWindows(window, FindPane, reinterpret_cast<LPARAM>(&pane));
  EXPECT_NE(pane, nullptr) << "no pane";
  PostMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_TRUE(driver.WaitForExit(kTimeoutMs));
  driver.Kill();
}

// With the container beside the program (the stand-in here), the pane
// attaches it at page entry, navigates to the start address, which the
// stand-in's browser shows in its window, and polls until it is idle.
TEST(LaunchTest, ABrowserPaneWithTheContainerNavigates) {
  ScratchFolder folder;
  EnvironmentVariable log("VOR_LAUNCH_LOG", folder.File("launch.log"));
  ASSERT_TRUE(CopyFileA(Program("vorplayer.exe").c_str(), folder.File("vorplayer.exe").c_str(), FALSE));
  ASSERT_TRUE(
      CopyFileA(Program("standin\\VOROleContainer.dll").c_str(), folder.File("VOROleContainer.dll").c_str(), FALSE));
  BrowserRecord browser;
  browser.graphical.Place(20, 20, 300, 200);
  browser.startUrl = "http://example.org/start.htm";
  Publication publication = OnePage("Browser", {}, kEscapeExitsFlag);
  publication.oleContainer = 1;
  publication.chapters[0].pages[0].properties.events = Events();
  publication.chapters[0].pages[0].objects = {BrowserObject(1, browser)};
  folder.WriteFile("browser.vor", FileText(publication));

  ProgramDriver driver;
  ASSERT_TRUE(driver.Start(folder.File("vorplayer.exe"), folder.File("browser.vor")));
  const HWND window = driver.WaitForWindow("VOR_VIEW_CLASS", kTimeoutMs, nullptr, true);
  ASSERT_NE(window, nullptr);
  std::vector<std::string> lines;
  const DWORD start = GetTickCount();
  while (!Contains(lines = WaitForLines(folder, "launch.log", 1), "Busy 0") && GetTickCount() - start < kTimeoutMs)
    Sleep(kPollMs);
  const std::vector<std::string> expected = {"DllRegisterServer",
                                             "AttachToWebInterface",
                                             "GetWebDispatchPtr",
                                             "m_HWND",
                                             "Navigate http://example.org/start.htm",
                                             "Busy 1",
                                             "Busy 1",
                                             "Busy 0"};
  ASSERT_GE(lines.size(), expected.size()) << folder.ReadFile("launch.log");
  EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + static_cast<std::ptrdiff_t>(expected.size())),
            expected);
  HWND pane = nullptr;
  EnumChildWindows(window, FindPane, reinterpret_cast<LPARAM>(&pane));
  ASSERT_NE(pane, nullptr);
  HWND control = FindWindowExA(pane, nullptr, "STATIC", nullptr);
  ASSERT_NE(control, nullptr);
  EXPECT_EQ(ProgramDriver::WindowText(control), "http://example.org/start.htm");
  PostMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_TRUE(driver.WaitForExit(kTimeoutMs));
  driver.Kill();
  const std::string classKey = "CLSID\\{5E0B1A72-9C4D-4F8B-A6E3-2D71C08B4F15}";
  RegDeleteKeyA(HKEY_CLASSES_ROOT, (classKey + "\\InprocServer32").c_str());
  RegDeleteKeyA(HKEY_CLASSES_ROOT, classKey.c_str());
}

} // namespace
