#include "display/VORPlayerView.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "ErrorRecorder.h"
#include "FakePaintable.h"
#include "display/VORScreenBuffer.h"
#include "display/VORTransition.h"
#include "model/ActionContext.h"
#include "model/VORChapter.h"
#include "model/VORObjectAction.h"
#include "model/VORPageInstance.h"
#include "model/VORPlayerPage.h"
#include "model/VORPublication.h"
#include "support/FakeApp.h"

namespace {

constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr uint32_t kCaptionStyle = 0xCB0000;

// An application that records what the views ask of it; closing a view
// deletes it, as the player does for a chapter's window.
class ViewApp : public FakeApp {
public:
  bool ExecuteAction(VORObjectAction &action) override {
    executed.push_back({action.GetTarget(), action.GetActionCode()});
    return true;
  }
  // Deletes the view given (which destroys its window), else destroys the
  // window.
  void CloseViewWindow(HWND__ *window) override {
    closed.push_back(window);
    if (viewToDelete != nullptr) {
      delete viewToDelete;
      viewToDelete = nullptr;
    } else {
      ::DestroyWindow(window);
    }
  }

  VORTransitionMaker *GetTransitionMaker() override { return &maker; }

  // Makes no effects; records what it is asked to get ready for.
  class Maker : public VORTransitionMaker {
  public:
    std::unique_ptr<VORTransition> MakeTransition(const VORFXParams &, VORBitmapObjectSurface *,
                                                  VORBitmapObjectSurface *, VORDrawingSurface *) override {
      return nullptr;
    }
    void PrepareFor(int32_t width, int32_t height) override { prepared.push_back({width, height}); }
    std::vector<VORPoint> prepared;
  };

  struct Executed {
    VORObjectCode target;
    int32_t code;
  };
  std::vector<Executed> executed;
  std::vector<HWND> closed;
  VORPlayerView *viewToDelete = nullptr;
  Maker maker;
};

// A player view that records the clicks that reach it; Show does what the
// player does to show a page in it.
class TestView : public VORPlayerView {
public:
  using VORPlayerView::VORPlayerView;
  void Show(VORPageInstance &instance) {
    ShowPageInstance(instance);
    PlayEnterTransition();
    FlushDirtyRects();
    Refresh();
  }
  void OnLButtonDown(WPARAM, LPARAM point) override {
    clicks.push_back(POINT{static_cast<int16_t>(LOWORD(point)), static_cast<int16_t>(HIWORD(point))});
  }
  std::vector<POINT> clicks;
};

uint32_t WindowPixel(HWND window, int x, int y) {
  HDC dc = ::GetDC(window);
  const COLORREF colour = ::GetPixel(dc, x, y);
  ::ReleaseDC(window, dc);
  return colour & 0xFFFFFF;
}

void PumpMessages() {
  MSG message;
  while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&message);
    ::DispatchMessageA(&message);
  }
}

// A publication whose main window shows its client area of 320 x 240
// without frame or caption, a chapter in it and a page of that chapter.
class ViewTest : public ::testing::Test {
protected:
  ViewTest() : m_publication(VORPublication::kClassKey, -1) {
    auto &properties = m_publication.GetPublicationProperties();
    properties.fullScreen = 0;
    properties.border = 2; // no frame
    properties.titleBar = 0;
    properties.width = 320;
    properties.height = 240;
    properties.flags = 0;
    m_chapter = new VORChapter(VORChapter::kClassKey, 1);
    m_publication.InsertAfter(m_chapter, nullptr);
    m_page = new VORPlayerPage(VORPlayerPage::kClassKey, 1);
    m_chapter->InsertAfter(m_page, nullptr);
    m_app.SetPublication(&m_publication);
  }

  std::unique_ptr<TestView> MakeView(uint32_t style = 0) {
    auto view = std::make_unique<TestView>(VORRunView::kMainViewId);
    EXPECT_TRUE(view->CreateViewWindow(::GetModuleHandleA(nullptr), nullptr, style));
    return view;
  }

  // The chapter's page size, and the page's rectangle and colour.
  VORPageInstance &SetPage(int32_t chapterWidth, int32_t chapterHeight, VORRect pageRect, COLORREF colour) {
    m_chapter->GetChapterProperties().pageWidth = chapterWidth;
    m_chapter->GetChapterProperties().pageHeight = chapterHeight;
    m_page->GetPageProperties().rect = pageRect;
    m_page->GetPageProperties().backgroundColor = colour;
    return m_page->GetMasterInstance();
  }

  FakePaintable &AddObject(VORRect rect, COLORREF colour) {
    auto *object = new FakePaintable(0, rect, false, nullptr);
    object->colour = static_cast<long>(colour);
    m_page->GetMasterInstance().InsertAfter(object, nullptr);
    return *object;
  }

  ViewApp m_app;
  VORPublication m_publication;
  VORChapter *m_chapter;
  VORPlayerPage *m_page;
};

TEST(VORPlayerViewStyleTest, StylesBecomePopupsUnlessTheyHaveTheWholeCaption) {
  struct Case {
    uint32_t asked, made;
  } cases[] = {
      {0, WS_POPUP | WS_CLIPCHILDREN},
      {WS_CAPTION | WS_SYSMENU, WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN},
      {WS_BORDER, WS_BORDER | WS_POPUP | WS_CLIPCHILDREN},
      {WS_DLGFRAME, WS_DLGFRAME | WS_POPUP | WS_CLIPCHILDREN},
      {0xF70000, 0xF70000 | WS_CLIPCHILDREN},
  };
  for (const Case &c : cases) {
    EXPECT_EQ(VORPlayerView::ViewWindowStyle(c.asked), c.made) << std::hex << c.asked;
  }
}

TEST_F(ViewTest, TheWindowIsOfTheViewClassAndKnowsItsView) {
  ErrorRecorder errors;
  auto first = MakeView(kCaptionStyle);
  auto second = MakeView();
  for (TestView *view : {first.get(), second.get()}) {
    HWND window = view->GetWindow();
    ASSERT_NE(window, nullptr);
    char name[64] = {};
    ::GetClassNameA(window, name, sizeof name);
    EXPECT_STREQ(name, "VOR_VIEW_CLASS");
    ::GetWindowTextA(window, name, sizeof name);
    EXPECT_STREQ(name, "VOR");
    EXPECT_EQ(VORPlayerView::FromWindow(window), view);
    EXPECT_NE(::GetWindowLongA(window, GWL_STYLE) & WS_CLIPCHILDREN, 0);
    EXPECT_TRUE(view->OwnsWindow());
  }
  WNDCLASSA windowClass;
  ASSERT_TRUE(::GetClassInfoA(::GetModuleHandleA(nullptr), "VOR_VIEW_CLASS", &windowClass));
  EXPECT_EQ(windowClass.style & CS_DBLCLKS, static_cast<UINT>(CS_DBLCLKS));
  EXPECT_TRUE(errors.Codes().empty());
}

TEST_F(ViewTest, ASmallerPageIsCentredInMarginsOfItsColour) {
  auto view = MakeView();
  VORPageInstance &page = SetPage(200, 100, VORRect(0, 0, 200, 100), kGreen);
  AddObject(VORRect(0, 0, 200, 100), kRed);
  view->Show(page);
  PumpMessages();
  HWND window = view->GetWindow();
  RECT client;
  ::GetClientRect(window, &client);
  ASSERT_EQ(client.right, 320);
  ASSERT_EQ(client.bottom, 240);
  EXPECT_EQ(view->GetScrollOrigin(), (VORPoint{60, 70}));
  EXPECT_EQ(view->GetPageRect(), VORRect(0, 0, 200, 100));
  struct Probe {
    int x, y;
    COLORREF colour;
  } probes[] = {{160, 120, kRed},   {61, 71, kRed},    {259, 169, kRed},   {30, 120, kGreen},
                {290, 120, kGreen}, {160, 30, kGreen}, {160, 200, kGreen}, {59, 69, kGreen}};
  for (const Probe &p : probes) {
    EXPECT_EQ(WindowPixel(window, p.x, p.y), p.colour) << p.x << ", " << p.y;
  }
}

// Once its page is shown and the program is idle, the view has transitions
// over the page made ready, once for each page shown.
TEST_F(ViewTest, AnIdleViewHasTransitionsOverItsPageMadeReadyOncePerPage) {
  auto view = MakeView();
  VORPageInstance &page = SetPage(200, 100, VORRect(0, 0, 200, 100), kGreen);
  view->Show(page);
  EXPECT_TRUE(m_app.maker.prepared.empty());
  view->OnIdle();
  view->OnIdle();
  ASSERT_EQ(m_app.maker.prepared.size(), 1u);
  EXPECT_EQ(m_app.maker.prepared[0], (VORPoint{200, 100}));
  view->Show(page);
  view->OnIdle();
  EXPECT_EQ(m_app.maker.prepared.size(), 2u);
}

TEST_F(ViewTest, ALargerPageStartsAtTheTopLeftAndScrolls) {
  constexpr COLORREF kBlue = RGB(0, 0, 255);
  auto view = MakeView();
  VORPageInstance &page = SetPage(640, 480, VORRect(0, 0, 640, 480), kGreen);
  AddObject(VORRect(0, 0, 640, 480), kRed);
  AddObject(VORRect(0, 0, 10, 10), kGreen);
  // The page's last row and its last column.
  AddObject(VORRect(0, 479, 640, 480), kBlue);
  AddObject(VORRect(639, 0, 640, 480), kBlue);
  view->Show(page);
  PumpMessages();
  HWND window = view->GetWindow();
  EXPECT_EQ(view->GetScrollOrigin(), (VORPoint{0, 0}));
  EXPECT_EQ(WindowPixel(window, 5, 5), kGreen);

  SCROLLINFO info = {};
  info.cbSize = sizeof info;
  info.fMask = SIF_ALL;
  ASSERT_TRUE(::GetScrollInfo(window, SB_VERT, &info));
  RECT client;
  ::GetClientRect(window, &client);
  EXPECT_EQ(info.nMax, 480);
  EXPECT_EQ(static_cast<int>(info.nPage), client.bottom + 1);

  ::SendMessageA(window, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-120)), 0);
  EXPECT_EQ(view->GetScrollOrigin().y, -20);
  ::SendMessageA(window, WM_VSCROLL, SB_BOTTOM, 0);
  EXPECT_EQ(view->GetScrollOrigin().y, -(480 - client.bottom)) << "the last page, not past it";
  ::SendMessageA(window, WM_HSCROLL, SB_RIGHT, 0);
  EXPECT_EQ(view->GetScrollOrigin().x, -(640 - client.right));
  EXPECT_EQ(::GetScrollPos(window, SB_VERT), 480 - client.bottom) << "the bar stands where the view does";
  EXPECT_EQ(::GetScrollPos(window, SB_HORZ), 640 - client.right);
  PumpMessages();
  view->Refresh();
  EXPECT_EQ(WindowPixel(window, client.right / 2, client.bottom / 2), kRed);
  EXPECT_EQ(WindowPixel(window, client.right / 2, client.bottom - 1), kBlue) << "the page's last row is in view";
  EXPECT_EQ(WindowPixel(window, client.right - 1, client.bottom / 2), kBlue) << "the page's last column is in view";
  // Line, page and wheel requests stop at the same last page.
  for (int request : {SB_LINEUP, SB_LINEDOWN, SB_LINEDOWN, SB_PAGEUP, SB_PAGEDOWN}) {
    ::SendMessageA(window, WM_VSCROLL, static_cast<WPARAM>(request), 0);
  }
  EXPECT_EQ(view->GetScrollOrigin().y, -(480 - client.bottom));
  ::SendMessageA(window, WM_VSCROLL, SB_TOP, 0);
  for (int notch = 0; notch < 30; ++notch) {
    ::SendMessageA(window, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-120)), 0);
  }
  EXPECT_EQ(view->GetScrollOrigin().y, -(480 - client.bottom));
  ::SendMessageA(window, WM_HSCROLL, SB_LINELEFT, 0);
  ::SendMessageA(window, WM_HSCROLL, SB_LINERIGHT, 0);
  ::SendMessageA(window, WM_HSCROLL, SB_LINERIGHT, 0);
  EXPECT_EQ(view->GetScrollOrigin().x, -(640 - client.right));
  ::SendMessageA(window, WM_HSCROLL, SB_LEFT, 0);
  ::SendMessageA(window, WM_VSCROLL, SB_TOP, 0);
  PumpMessages();
  EXPECT_EQ(view->GetScrollOrigin(), (VORPoint{0, 0}));
  EXPECT_EQ(WindowPixel(window, 5, 5), kGreen);
}

// Maximised, a page of the chapter's size is centred in the larger client;
// restored to a client exactly the page's size, it goes back to the corner
// and shows whole, its last row and column included.
TEST_F(ViewTest, MaximisedThenRestoredThePageReturnsToItsCorner) {
  constexpr COLORREF kBlue = RGB(0, 0, 255);
  auto view = MakeView();
  VORPageInstance &page = SetPage(320, 240, VORRect(0, 0, 320, 240), kGreen);
  AddObject(VORRect(0, 0, 320, 240), kRed);
  AddObject(VORRect(0, 0, 10, 10), kBlue);
  AddObject(VORRect(310, 230, 320, 240), kBlue);
  view->Show(page);
  PumpMessages();
  HWND window = view->GetWindow();
  ASSERT_EQ(view->GetScrollOrigin(), (VORPoint{0, 0}));

  ::ShowWindow(window, SW_MAXIMIZE);
  PumpMessages();
  RECT client;
  ::GetClientRect(window, &client);
  ASSERT_GT(client.right, 320) << "the window was not maximised";
  EXPECT_EQ(view->GetScrollOrigin(), (VORPoint{(client.right - 320) / 2, (client.bottom - 240) / 2}));

  ::ShowWindow(window, SW_RESTORE);
  PumpMessages();
  view->Refresh();
  PumpMessages();
  ::GetClientRect(window, &client);
  ASSERT_EQ(client.right, 320);
  ASSERT_EQ(client.bottom, 240);
  EXPECT_EQ(view->GetScrollOrigin(), (VORPoint{0, 0}));
  EXPECT_EQ(view->GetPageRect(), VORRect(0, 0, 320, 240));
  EXPECT_EQ(view->GetSurfaceBounds(), VORRect(0, 0, 320, 240));
  EXPECT_EQ(WindowPixel(window, 5, 5), kBlue);
  EXPECT_EQ(WindowPixel(window, 160, 120), kRed);
  EXPECT_EQ(WindowPixel(window, 315, 235), kBlue) << "the page's far corner is in view";
}

// A child window's click reaches the view at the same place of its client
// area, whatever caption and frame the view's window has.
class RecordingCallback : public VORRunView::ChildWindowCallback {
public:
  bool OnChildWindowMessage(uint32_t message, uintptr_t, intptr_t) override {
    seen.push_back(message);
    return message == WM_RBUTTONDOWN; // takes right clicks only
  }
  std::vector<UINT> seen;
};

TEST_F(ViewTest, AChildWindowsClickReachesTheViewAtTheMatchingPoint) {
  auto view = MakeView(kCaptionStyle | WS_THICKFRAME);
  view->Show(SetPage(200, 100, VORRect(0, 0, 200, 100), kGreen));
  RecordingCallback callback;
  HWND child = nullptr;
  ASSERT_TRUE(view->CreateChildWindow(VORRect(10, 20, 60, 70), callback, child));
  ASSERT_NE(child, nullptr);
  EXPECT_EQ(view->GetChildWindowCount(), 1u);
  ::SendMessageA(child, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 6));
  ::SendMessageA(child, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 6));
  // The child lies at (10, 20) of the page, which is centred in the client
  // area.
  const VORPoint origin = view->GetScrollOrigin();
  EXPECT_GT(origin.x, 0);
  ASSERT_EQ(view->clicks.size(), 1u);
  EXPECT_EQ(view->clicks[0].x, origin.x + 15);
  EXPECT_EQ(view->clicks[0].y, origin.y + 26);
  EXPECT_EQ(callback.seen, (std::vector<UINT>{WM_LBUTTONDOWN, WM_RBUTTONDOWN}));

  view->DestroyChildWindow(callback);
  EXPECT_EQ(view->GetChildWindowCount(), 0u);
  EXPECT_FALSE(::IsWindow(child));
}

TEST_F(ViewTest, TheCloseBoxOfTheMainWindowExitsOnlyWhenThePublicationAllowsIt) {
  for (bool allowed : {false, true}) {
    m_publication.GetPublicationProperties().flags = allowed ? uint32_t{VORPublication::kCloseBoxExitsFlag} : 0u;
    m_app.executed.clear();
    auto view = MakeView(kCaptionStyle);
    view->Show(SetPage(200, 100, VORRect(0, 0, 200, 100), kGreen));
    HWND window = view->GetWindow();
    ::SendMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    PumpMessages();
    EXPECT_TRUE(::IsWindow(window)) << allowed << ": the main window stays until the player ends";
    EXPECT_TRUE(m_app.closed.empty()) << allowed;
    if (allowed) {
      ASSERT_EQ(m_app.executed.size(), 1u);
      EXPECT_EQ(m_app.executed[0].target, VORObjectCode(0, 0, 1));
      EXPECT_EQ(m_app.executed[0].code, 102);
    } else {
      EXPECT_TRUE(m_app.executed.empty());
    }
  }
}

HWND g_watchedWindow;
int g_messagesWithoutView;

LRESULT CALLBACK WatchMessages(int code, WPARAM wParam, LPARAM lParam) {
  const auto *message = reinterpret_cast<const CWPSTRUCT *>(lParam);
  if (code == HC_ACTION && message->hwnd == g_watchedWindow && VORPlayerView::FromWindow(g_watchedWindow) == nullptr)
    ++g_messagesWithoutView;
  return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST_F(ViewTest, TheCloseBoxOfAChaptersWindowClosesThatWindow) {
  m_chapter->GetChapterProperties().ownWindow = 1;
  auto *view = new TestView(1);
  ASSERT_TRUE(view->CreateViewWindow(::GetModuleHandleA(nullptr), nullptr, kCaptionStyle));
  view->Show(SetPage(200, 100, VORRect(0, 0, 200, 100), kGreen));
  HWND window = view->GetWindow();

  // Every message that reaches the window once the view is gone must find
  // no view there.
  g_watchedWindow = window;
  g_messagesWithoutView = 0;
  HHOOK hook = ::SetWindowsHookExA(WH_CALLWNDPROC, &WatchMessages, nullptr, ::GetCurrentThreadId());
  ASSERT_NE(hook, nullptr);
  m_app.viewToDelete = view;
  ::SendMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
  ::UnhookWindowsHookEx(hook);

  ASSERT_EQ(m_app.executed.size(), 1u);
  EXPECT_EQ(m_app.executed[0].target, VORObjectCode(0, 3, 1));
  EXPECT_EQ(m_app.executed[0].code, 104);
  EXPECT_EQ(m_app.closed, std::vector<HWND>{window}) << "the message goes on to WM_CLOSE";
  EXPECT_EQ(m_app.viewToDelete, nullptr);
  EXPECT_FALSE(::IsWindow(window));
  EXPECT_GT(g_messagesWithoutView, 0) << "WM_DESTROY came after the view had let go of the window";
}

TEST_F(ViewTest, ActionOneHundredFourClosesOnlyTheViewItIsAimedAt) {
  auto view = MakeView(kCaptionStyle);
  view->Show(SetPage(200, 100, VORRect(0, 0, 200, 100), kGreen));
  ActionContext context = ActionContext::FromView(view.get());
  VORObjectAction other(VORObjectAction::kClassKey, -1);
  other.SetTarget(VORRunView::Identity(2));
  other.SetActionCode(VORPlayerView::kCloseViewAction);
  EXPECT_FALSE(view->ReceiveAction(other, context)) << "aimed at another view";
  VORObjectAction close(VORObjectAction::kClassKey, -1);
  close.SetTarget(view->GetObjectCode());
  close.SetActionCode(VORPlayerView::kCloseViewAction - 1);
  EXPECT_FALSE(view->ReceiveAction(close, context)) << "another action";
  PumpMessages();
  EXPECT_TRUE(m_app.closed.empty());

  close.SetActionCode(VORPlayerView::kCloseViewAction);
  EXPECT_TRUE(view->ReceiveAction(close, context));
  PumpMessages();
  EXPECT_EQ(m_app.closed, std::vector<HWND>{view->GetWindow()}) << "WM_CLOSE was posted to the window";
}

} // namespace

// ---- Auto-scroll and the pointer's position -----------------------------------

namespace {

LPARAM ClientPointParam(int x, int y) { return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)); }

void MoveTo(HWND window, int x, int y) { ::SendMessageA(window, WM_MOUSEMOVE, 0, ClientPointParam(x, y)); }

void AutoScrollTicks(HWND window, int count) {
  constexpr WPARAM kAutoScrollTimer = 5;
  for (int i = 0; i < count; ++i)
    ::SendMessageA(window, WM_TIMER, kAutoScrollTimer, 0);
}

TEST_F(ViewTest, APointerCapturedOutsideTheWindowHasNegativeCoordinates) {
  auto view = MakeView();
  view->Show(SetPage(640, 480, VORRect(0, 0, 640, 480), kGreen));
  MoveTo(view->GetWindow(), -5, -7);
  EXPECT_EQ(view->GetInput().GetLastPosition(), (VORPoint{-5, -7}));
  MoveTo(view->GetWindow(), 30000, -32768);
  EXPECT_EQ(view->GetInput().GetLastPosition(), (VORPoint{30000, -32768}));
}

TEST_F(ViewTest, InDragScrollModeThePageScrollsFromTheEdgeBandsAndStopsAtItsEdges) {
  auto view = MakeView();
  view->Show(SetPage(640, 480, VORRect(0, 0, 640, 480), kGreen));
  view->SetDragScroll(true);
  HWND window = view->GetWindow();
  RECT client;
  ::GetClientRect(window, &client);
  MoveTo(window, 160, 120);
  EXPECT_FALSE(view->IsAutoScrolling());
  // Just outside the 20-pixel band: nothing.
  MoveTo(window, client.right - 20, 120);
  EXPECT_FALSE(view->IsAutoScrolling());
  MoveTo(window, client.right - 19, 120);
  ASSERT_TRUE(view->IsAutoScrolling());
  AutoScrollTicks(window, 1);
  EXPECT_EQ(view->GetScrollOrigin(), (VORPoint{-20, 0})) << "20 pixels a tick";
  ::SendMessageA(window, WM_TIMER, 6, 0);
  EXPECT_EQ(view->GetScrollOrigin(), (VORPoint{-20, 0})) << "another timer moves nothing";
  AutoScrollTicks(window, 40);
  EXPECT_EQ(view->GetScrollOrigin(), (VORPoint{-(640 - client.right), 0})) << "not past the right edge";
  // The bottom-left corner: left and down at once.
  MoveTo(window, 10, client.bottom - 5);
  AutoScrollTicks(window, 60);
  EXPECT_EQ(view->GetScrollOrigin(), (VORPoint{0, -(480 - client.bottom)})) << "not past the left or bottom edge";
  MoveTo(window, 160, 120);
  EXPECT_FALSE(view->IsAutoScrolling()) << "out of the bands";
  EXPECT_EQ(::GetCapture(), nullptr);
}

TEST_F(ViewTest, APageNarrowerThanTheWindowNeverScrollsSideways) {
  auto view = MakeView();
  view->Show(SetPage(200, 480, VORRect(0, 0, 200, 480), kGreen));
  view->SetDragScroll(true);
  HWND window = view->GetWindow();
  RECT client;
  ::GetClientRect(window, &client);
  const VORPoint centred = view->GetScrollOrigin();
  ASSERT_GT(centred.x, 0);
  MoveTo(window, 160, 120);
  MoveTo(window, client.right - 5, 120);
  EXPECT_FALSE(view->IsAutoScrolling());
  MoveTo(window, client.right - 5, client.bottom - 5);
  ASSERT_TRUE(view->IsAutoScrolling()) << "downwards it may";
  AutoScrollTicks(window, 3);
  EXPECT_EQ(view->GetScrollOrigin(), (VORPoint{centred.x, -60}));
  MoveTo(window, client.right + 50, client.bottom - 5);
  EXPECT_FALSE(view->IsAutoScrolling()) << "outside the window";
}

} // namespace
