#include "support/DemoPublication.h"
#include "support/ProgramDriver.h"
#include "support/PublicationRecords.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace E2e;
constexpr DWORD kExitTimeoutMs = 10000;
// How long a saver that must stay up is watched.
constexpr DWORD kStaysUpMs = 1500;
constexpr DWORD kPollMs = 20;
constexpr COLORREF kPageColour = RGB(30, 160, 60);
constexpr const char *kSaverClass = "WindowsScreenSaverClass";

// The saver plays the publication beside itself, named after it.
std::string CopySaverInto(const ScratchFolder &folder, const PublicationRecords::Publication &publication) {
  const std::string saver = folder.File("VORPLAY.scr");
  CopyFileA((ProgramDriver::ProgramFolder() + "VORPLAY.scr").c_str(), saver.c_str(), FALSE);
  folder.WriteFile("VORPLAY.vor", PublicationRecords::FileText(publication));
  return saver;
}

PublicationRecords::Publication OnePage() {
  return PublicationRecords::SmallPagesInAWindow("Saver", 0, {PublicationRecords::ColouredPage(1, kPageColour)});
}

template <class Condition>
bool WaitFor(Condition condition, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  while (!condition()) {
    if (GetTickCount() - start > timeoutMs)
      return false;
    // The preview's child window belongs to another process: its creation
    // and painting send messages to this thread's windows.
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
    Sleep(kPollMs);
  }
  return true;
}

struct SaverRun {
  ScratchFolder folder;
  ProgramDriver driver;
  HWND window = nullptr;

  // Starts the saver's full run and waits until its page shows.
  bool Start() {
    if (!driver.Start(CopySaverInto(folder, OnePage()), "/s"))
      return false;
    window = driver.WaitForWindow(kSaverClass, kWindowTimeoutMs, nullptr, true);
    if (window == nullptr)
      return false;
    // A page smaller than the screen is centred in margins of its colour.
    return WaitFor([&] { return (ProgramDriver::ClientPixel(window, 1, 1) & 0xFFFFFF) == kPageColour; },
                   kWindowTimeoutMs);
  }
  bool StaysUp() {
    return !WaitFor([&] { return !driver.IsRunning(); }, kStaysUpMs);
  }
};

// The run covers the screen, topmost, and plays the publication's page in
// the saver window itself.
TEST(ScreenSaverTest, TheRunCoversTheScreenWithThePage) {
  SaverRun run;
  ASSERT_TRUE(run.Start()) << "no saver window showing the page";
  const SIZE size = ProgramDriver::ClientSize(run.window);
  EXPECT_EQ(size.cx, GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(size.cy, GetSystemMetrics(SM_CYSCREEN));
  EXPECT_TRUE(GetWindowLongA(run.window, GWL_EXSTYLE) & WS_EX_TOPMOST);
  // No window of the player's own: the view plays in the saver's.
  EXPECT_EQ(run.driver.WaitForWindow(kViewClass, 0), nullptr);
  EXPECT_EQ(run.driver.WaitForWindow("VORCOVER", 0), nullptr);
  run.driver.Kill();
}

// The pointer resting, or twitching by a pixel, leaves the saver up; a move
// across the screen ends it.
TEST(ScreenSaverTest, MovingThePointerEndsTheRun) {
  SaverRun run;
  ASSERT_TRUE(run.Start());
  ASSERT_TRUE(ProgramDriver::Xdotool("mousemove_relative 1 1 sleep 0.1 mousemove_relative -- -1 -1"));
  EXPECT_TRUE(run.StaysUp()) << "a twitch ended the saver";

  ASSERT_TRUE(ProgramDriver::Xdotool("mousemove_relative 20 10 sleep 0.1 mousemove_relative 30 20 sleep 0.1 "
                                     "mousemove_relative 40 30 sleep 0.1 mousemove_relative 50 40"));
  EXPECT_TRUE(run.driver.WaitForExit(kExitTimeoutMs)) << "the saver stays after the pointer moved";
  EXPECT_EQ(run.driver.ExitCode(), 0u);
}

// Input that comes without any pointer move ends the run as well.
TEST(ScreenSaverTest, AClickOrAKeyWithoutAMoveEndsTheRun) {
  const char *inputs[] = {"click 1", "click 3", "key alt", "key a", "key Escape"};
  for (const char *input : inputs) {
    SCOPED_TRACE(input);
    SaverRun run;
    ASSERT_TRUE(run.Start());
    ASSERT_TRUE(ProgramDriver::Xdotool(input));
    EXPECT_TRUE(run.driver.WaitForExit(kExitTimeoutMs)) << "the saver stays";
  }
}

// A parent window as the desktop's settings give one to the preview.
class PreviewParent {
public:
  static constexpr int kWidth = 320, kHeight = 200;

  PreviewParent() {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszClassName = "VORPreviewParent";
    RegisterClassA(&windowClass);
    m_window = CreateWindowExA(0, "VORPreviewParent", "Preview parent", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 40, 40,
                               kWidth, kHeight, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  }
  ~PreviewParent() { DestroyWindow(m_window); }
  HWND Window() const { return m_window; }
  HWND Preview() const { return FindWindowExA(m_window, nullptr, kSaverClass, nullptr); }

private:
  HWND m_window = nullptr;
};

// The preview is a child filling the window it is given, and ends with
// it. (What it paints is checked in the saver's own tests: a child window
// of another process shows nothing on this screen.)
TEST(ScreenSaverTest, ThePreviewFillsTheGivenWindowAndEndsWithIt) {
  ScratchFolder folder;
  PublicationRecords::Publication publication = OnePage();
  publication.internalResources[DemoPublication::kCoverResource] = DemoPublication::Cover();
  const std::string saver = CopySaverInto(folder, publication);
  ProgramDriver driver;
  {
    PreviewParent parent;
    ASSERT_NE(parent.Window(), nullptr);
    const auto number = static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(parent.Window()));
    ASSERT_TRUE(driver.Start(saver, "/p " + std::to_string(number)));
    // The child is found as soon as it is made, and shows once made.
    ASSERT_TRUE(
        WaitFor([&] { return parent.Preview() != nullptr && IsWindowVisible(parent.Preview()); }, kWindowTimeoutMs))
        << "no preview child showing";
    const SIZE size = ProgramDriver::ClientSize(parent.Preview());
    EXPECT_EQ(size.cx, PreviewParent::kWidth);
    EXPECT_EQ(size.cy, PreviewParent::kHeight);
    // Input in the desktop's settings is theirs: the preview stays.
    ASSERT_TRUE(ProgramDriver::Xdotool("mousemove 100 100 sleep 0.1 mousemove 150 120 sleep 0.1 click 1"));
    EXPECT_FALSE(WaitFor([&] { return !driver.IsRunning(); }, kStaysUpMs)) << "input ended the preview";
  }
  EXPECT_TRUE(WaitFor([&] { return !driver.IsRunning(); }, kExitTimeoutMs)) << "the preview outlives its parent";
}

// The settings show their note; Enter (OK) and Escape both close it and end
// the program.
TEST(ScreenSaverTest, TheSettingsNoteClosesWithEnterOrEscape) {
  const char *keys[] = {"Return", "Escape"};
  for (const char *key : keys) {
    SCOPED_TRACE(key);
    ScratchFolder folder;
    ProgramDriver driver;
    ASSERT_TRUE(driver.Start(CopySaverInto(folder, OnePage()), "/c"));
    HWND note = driver.WaitForBox(kWindowTimeoutMs);
    ASSERT_NE(note, nullptr) << "no settings note";
    EXPECT_EQ(ProgramDriver::WindowText(note), "Salvaschermo");
    EXPECT_TRUE(ProgramDriver::HasChild(note, IDOK));
    ASSERT_TRUE(ProgramDriver::Xdotool(std::string("key ") + key));
    EXPECT_TRUE(driver.WaitForExit(kExitTimeoutMs)) << "the note stays";
  }
}

// No argument asks for the settings too; a preview without a window to draw
// in ends at once.
TEST(ScreenSaverTest, NoArgumentShowsTheSettingsAndAPreviewWithoutWindowEnds) {
  {
    ScratchFolder folder;
    ProgramDriver driver;
    ASSERT_TRUE(driver.Start(CopySaverInto(folder, OnePage()), ""));
    HWND note = driver.WaitForBox(kWindowTimeoutMs);
    ASSERT_NE(note, nullptr);
    ProgramDriver::PressButton(note, IDOK);
    EXPECT_TRUE(driver.WaitForExit(kExitTimeoutMs));
  }
  ScratchFolder folder;
  ProgramDriver driver;
  ASSERT_TRUE(driver.Start(CopySaverInto(folder, OnePage()), "/p"));
  EXPECT_TRUE(driver.WaitForExit(kExitTimeoutMs));
}

} // namespace
