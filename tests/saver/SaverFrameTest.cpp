#include "saver/SaverFrame.h"
#include "display/VORPlayerView.h"
#include "engine/VORPlayerApp.h"
#include "saver/ScreenSaverLibrary.h"
#include "support/DemoPublication.h"
#include "support/ProgramDriver.h"
#include "support/PublicationRecords.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

constexpr DWORD kTimeoutMs = 20000;
constexpr UINT kStepMs = 100;
constexpr COLORREF kPageColour = RGB(30, 160, 60);
const VORObjectCode kFirstPage(0, 4, 1);

PublicationRecords::Publication TwoPages() {
  return PublicationRecords::SmallPagesInAWindow(
      "Saver", 0,
      {PublicationRecords::ColouredPage(1, kPageColour), PublicationRecords::ColouredPage(2, RGB(200, 40, 40))});
}

// The frame runs in this process, in a saver window of the library, with
// this thread's message loop as the library's.
class SaverFrameTest : public ::testing::Test {
protected:
  void SetUp() override {
    m_publication = m_folder.File("saver.vor");
    SaverFrame::SetPublication(m_publication.c_str());
  }
  void TearDown() override {
    SaverFrame::SetMode(0);
    SaverFrame::SetPublication(nullptr);
    ScreenSaverLibrary::SetPasswordCheck(nullptr);
    s_step = nullptr;
  }

  void Write(const PublicationRecords::Publication &publication) {
    m_folder.WriteFile("saver.vor", PublicationRecords::FileText(publication));
  }

  // The library's loop until WM_QUIT, with step called every 100 ms from a
  // thread timer (the player's own loop runs it while the player plays).
  // False when the loop had to be given up.
  bool RunLibraryLoop(std::function<void()> step) {
    s_step = std::move(step);
    const UINT_PTR timer = SetTimer(nullptr, 0, kStepMs, Step);
    const DWORD start = GetTickCount();
    MSG message;
    bool quit = false;
    while (GetTickCount() - start < kTimeoutMs) {
      if (!PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        Sleep(5);
        continue;
      }
      if (message.message == WM_QUIT) {
        quit = true;
        break;
      }
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
    KillTimer(nullptr, timer);
    return quit;
  }

  static VORObjectCode ShownPage() {
    VORPlayerApp *app = SaverFrame::GetApplication();
    VORRunView *view = app ? app->GetFirstView() : nullptr;
    return view && view->HasPageInstance() ? view->GetPageReference() : VORObjectCode::Zero();
  }

  ScratchFolder m_folder;
  std::string m_publication;

private:
  static void CALLBACK Step(HWND, UINT, UINT_PTR, DWORD) {
    if (s_step)
      s_step();
  }
  static std::function<void()> s_step;
};

std::function<void()> SaverFrameTest::s_step;

// The window going while the player runs inside it (the desktop ending the
// saver) ends the run; the application object goes once the run is over,
// and the library's loop still gets its quit.
TEST_F(SaverFrameTest, TheWindowDestroyedMidRunEndsTheRunSafely) {
  Write(TwoPages());
  SaverFrame::SetMode('S');
  HWND window = ScreenSaverLibrary::CreateSaverWindow(GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(window, nullptr);
  bool destroyed = false;
  const bool quit = RunLibraryLoop([&] {
    if (!destroyed && ShownPage() == kFirstPage) {
      destroyed = true;
      DestroyWindow(window);
    }
  });
  EXPECT_TRUE(destroyed) << "the page never showed";
  EXPECT_TRUE(quit) << "the library's loop got no quit";
  EXPECT_EQ(SaverFrame::GetApplication(), nullptr);
  EXPECT_FALSE(IsWindow(window));
}

// While the player runs the pointer is hidden and the saver window is the
// loop's: a key there ends the run (it never reaches a page object, and
// Escape is no exit request of the player's), the pointer shows again and
// the window closes.
TEST_F(SaverFrameTest, AKeyEndsTheRunAndThePointerComesBack) {
  // Escape would show a closing page that never quits, were it the
  // player's exit request.
  constexpr uint32_t kEscapeExits = 0x10, kClosingPageFlag = 0x04;
  PublicationRecords::Publication publication = TwoPages();
  publication.properties.flags = kEscapeExits | kClosingPageFlag;
  publication.properties.closingPage = VORObjectKey{0, 4, 2};
  publication.properties.closingDelay = -1;
  Write(publication);
  SaverFrame::SetMode('S');
  HWND window = ScreenSaverLibrary::CreateSaverWindow(GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(window, nullptr);
  bool pressed = false, hidden = false, saverWindow = false;
  const bool quit = RunLibraryLoop([&] {
    if (!pressed && ShownPage() == kFirstPage) {
      pressed = true;
      hidden = SaverFrame::GetApplication()->IsPointerHidden();
      saverWindow = SaverFrame::GetApplication()->GetSaverWindow() == window;
      PostMessageA(window, WM_KEYDOWN, VK_ESCAPE, 0);
    }
  });
  EXPECT_TRUE(pressed);
  EXPECT_TRUE(hidden);
  EXPECT_TRUE(saverWindow);
  EXPECT_TRUE(quit);
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(SaverFrame::GetApplication(), nullptr);
  CURSORINFO cursor = {};
  cursor.cbSize = sizeof cursor;
  ASSERT_TRUE(GetCursorInfo(&cursor));
  EXPECT_TRUE(cursor.flags & CURSOR_SHOWING);
}

int g_refusals = 0;
bool RefuseOnce(HWND) { return g_refusals++ > 0; }

// A refused password keeps the saver up: the player starts again at its
// first page, and the next input ends it for good.
TEST_F(SaverFrameTest, ARefusedPasswordStartsThePlayerAgain) {
  Write(TwoPages());
  SaverFrame::SetMode('S');
  g_refusals = 0;
  ScreenSaverLibrary::SetPasswordCheck(RefuseOnce);
  const int runsBefore = SaverFrame::GetRunCount();
  HWND window = ScreenSaverLibrary::CreateSaverWindow(GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(window, nullptr);
  int lastRunPressed = 0;
  const bool quit = RunLibraryLoop([&] {
    const int run = SaverFrame::GetRunCount() - runsBefore;
    if (run > lastRunPressed && ShownPage() == kFirstPage) {
      lastRunPressed = run;
      PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    }
  });
  EXPECT_TRUE(quit);
  EXPECT_EQ(lastRunPressed, 2) << "the second run did not show the first page";
  EXPECT_EQ(g_refusals, 2);
  EXPECT_FALSE(IsWindow(window));
}

// The preview paints the cover stretched over the whole window given, or
// black without a cover, and goes with its parent.
TEST_F(SaverFrameTest, ThePreviewStretchesTheCoverOrPaintsBlack) {
  struct Case {
    const char *name;
    bool withCover;
    COLORREF upper, lower;
  };
  // The cover's colours are written as GDI reads them back (0x00BBGGRR).
  const Case cases[] = {
      {"cover", true, DemoPublication::kCoverTop, DemoPublication::kCoverBottom},
      {"no cover", false, RGB(0, 0, 0), RGB(0, 0, 0)},
  };
  constexpr int kWidth = 300, kHeight = 160;
  WNDCLASSA parentClass = {};
  parentClass.lpfnWndProc = DefWindowProcA;
  parentClass.hInstance = GetModuleHandleA(nullptr);
  parentClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  parentClass.lpszClassName = "SaverPreviewParent";
  RegisterClassA(&parentClass);
  SaverFrame::SetMode('P');
  for (const Case &test : cases) {
    SCOPED_TRACE(test.name);
    PublicationRecords::Publication publication = TwoPages();
    if (test.withCover)
      publication.internalResources[DemoPublication::kCoverResource] = DemoPublication::Cover();
    Write(publication);
    HWND parent = CreateWindowExA(0, "SaverPreviewParent", "", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 30, 30, kWidth,
                                  kHeight, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(parent, nullptr);
    HWND preview = ScreenSaverLibrary::CreateSaverWindow(GetModuleHandleA(nullptr), parent);
    ASSERT_NE(preview, nullptr);
    const POINT upper[] = {{1, 1}, {kWidth - 2, 1}, {kWidth / 2, kHeight / 4}};
    const POINT lower[] = {{1, kHeight - 2}, {kWidth - 2, kHeight - 2}, {kWidth / 2, kHeight * 3 / 4}};
    bool painted = false;
    RunLibraryLoop([&] {
      if (!painted && ProgramDriver::ClientPixel(parent, 1, 1) == test.upper) {
        painted = true;
        for (const POINT &point : upper)
          EXPECT_EQ(ProgramDriver::ClientPixel(parent, point.x, point.y), test.upper) << point.x << "," << point.y;
        for (const POINT &point : lower)
          EXPECT_EQ(ProgramDriver::ClientPixel(parent, point.x, point.y), test.lower) << point.x << "," << point.y;
        DestroyWindow(parent);
      }
    });
    EXPECT_TRUE(painted) << std::hex << ProgramDriver::ClientPixel(parent, 1, 1);
    EXPECT_FALSE(IsWindow(preview));
    EXPECT_EQ(SaverFrame::GetApplication(), nullptr);
    if (IsWindow(parent))
      DestroyWindow(parent);
  }
}

// Only the saver window's owner sees its closing, keys and pointer: the
// view on an adopted window leaves them; its painting and scrolling stay.
TEST(SaverViewTest, TheAdoptedViewLeavesInputAndClosingToTheSaver) {
  HWND window = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  VORPlayerView adopted(1, window);
  for (UINT message : {WM_CLOSE, WM_KEYDOWN, WM_SYSKEYDOWN, WM_CHAR, WM_KEYUP, WM_MOUSEMOVE, WM_LBUTTONDOWN,
                       WM_RBUTTONUP, WM_LBUTTONDBLCLK}) {
    bool handled = true;
    adopted.HandleMessage(window, message, 0, 0, handled);
    EXPECT_FALSE(handled) << std::hex << message;
  }
  for (UINT message : {WM_SETFOCUS, WM_KILLFOCUS, WM_TIMER}) {
    bool handled = false;
    adopted.HandleMessage(window, message, 0, 0, handled);
    EXPECT_TRUE(handled) << std::hex << message;
  }
  DestroyWindow(window);
}

} // namespace
