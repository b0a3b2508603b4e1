#include "browser/VORBrowser.h"

#include <windows.h>

#include <ole2.h>

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "display/VORPlayerView.h"
#include "engine/VORLaunchManager.h"
#include "model/VORBrowserAction.h"
#include "model/VORClassRegistry.h"
#include "model/VORPageInstance.h"
#include "support/FakeClock.h"
#include "support/FakeLaunchPlatform.h"
#include "support/TestPlayer.h"

namespace {

using PublicationRecords::BrowserRecord;

std::vector<std::string> g_calls;

std::string Narrow(const wchar_t *text, size_t length) {
  std::string narrow;
  for (size_t i = 0; i < length; ++i)
    narrow += static_cast<char>(text[i]);
  return narrow;
}

// The system's interfaces have no virtual destructors: objects are let go
// through Release, never deleted through the interface.
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"

// An automation object answering a fixed set of names; every call is
// logged as "name" or "name argument".
class FakeDispatch : public IDispatch {
public:
  explicit FakeDispatch(std::map<std::string, DISPID> names) : m_names(std::move(names)) {}
  virtual ~FakeDispatch() = default;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void **object) override {
    if (riid == IID_IUnknown || riid == IID_IDispatch) {
      *object = static_cast<IDispatch *>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++references); }
  ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(--references); }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT *count) override {
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo **) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR *names, UINT count, LCID locale, DISPID *ids) override {
    EXPECT_EQ(locale, 0x800u);
    const std::string name = Narrow(names[0], wcslen(names[0]));
    const auto found = m_names.find(name);
    if (count != 1 || found == m_names.end() || name == refusedName)
      return DISP_E_UNKNOWNNAME;
    ids[0] = found->second;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS *parameters, VARIANT *result,
                                   EXCEPINFO *, UINT *) override {
    std::string name;
    for (const auto &entry : m_names)
      if (entry.second == id)
        name = entry.first;
    std::string call = name;
    if (parameters && parameters->cArgs == 1) {
      const VARIANT &argument = parameters->rgvarg[0];
      if (argument.vt == VT_BSTR)
        call += " " + Narrow(argument.bstrVal, SysStringLen(argument.bstrVal));
      else if (argument.vt == VT_I4)
        call += " window";
    }
    g_calls.push_back(call);
    return Answer(name, flags, parameters, result);
  }

  long references = 1;
  std::string refusedName;

protected:
  virtual HRESULT Answer(const std::string &name, WORD flags, DISPPARAMS *parameters, VARIANT *result) = 0;

private:
  std::map<std::string, DISPID> m_names;
};

// The browser: busy for busyPolls polls after each command.
class FakeBrowser : public FakeDispatch {
public:
  FakeBrowser()
      : FakeDispatch({{"Navigate", 1}, {"Stop", 2}, {"GoBack", 3}, {"GoForward", 4}, {"GoHome", 5}, {"Busy", 6}}) {}
  int busyPolls = 2;
  int busyLeft = 0;

protected:
  HRESULT Answer(const std::string &name, WORD flags, DISPPARAMS *, VARIANT *result) override {
    if (name != "Busy") {
      EXPECT_EQ(flags, DISPATCH_METHOD) << name;
      busyLeft = busyPolls;
      return S_OK;
    }
    EXPECT_EQ(flags, DISPATCH_PROPERTYGET);
    result->vt = VT_BOOL;
    result->boolVal = busyLeft > 0 ? VARIANT_TRUE : VARIANT_FALSE;
    if (busyLeft > 0)
      --busyLeft;
    return S_OK;
  }
};

// The container: attaching makes the control, a child of the pane.
class FakeContainer : public FakeDispatch {
public:
  FakeContainer() : FakeDispatch({{"AttachToWebInterface", 1}, {"GetWebDispatchPtr", 2}, {"m_HWND", 3}}) {}
  ~FakeContainer() override {
    if (control)
      DestroyWindow(control);
  }
  FakeBrowser browser;
  HWND control = nullptr;

protected:
  HRESULT Answer(const std::string &name, WORD, DISPPARAMS *parameters, VARIANT *result) override {
    if (name == "AttachToWebInterface") {
      HWND pane = reinterpret_cast<HWND>(static_cast<intptr_t>(parameters->rgvarg[0].lVal));
      control = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, pane, nullptr, nullptr, nullptr);
      return S_OK;
    }
    if (name == "GetWebDispatchPtr") {
      browser.AddRef();
      result->vt = VT_DISPATCH;
      result->pdispVal = &browser;
      return S_OK;
    }
    result->vt = VT_I4;
    result->lVal = static_cast<LONG>(reinterpret_cast<intptr_t>(control));
    return S_OK;
  }
};

std::unique_ptr<FakeContainer> g_container;
std::string g_refusedName;
int g_creations = 0;
bool g_containerPresent = true;

IDispatch *MakeContainer() {
  ++g_creations;
  if (!g_containerPresent)
    return nullptr;
  g_container = std::make_unique<FakeContainer>();
  g_container->refusedName = g_refusedName;
  return g_container.get();
}

// A view whose child windows are real windows, children of a hidden
// window of its own.
class WindowedView : public TestRunView {
public:
  explicit WindowedView(int32_t id) : TestRunView(id) {
    m_parent = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 640, 480, nullptr, nullptr, nullptr, nullptr);
  }
  ~WindowedView() override { DestroyWindow(m_parent); }
  bool CreateChildWindow(const VORRect &rect, ChildWindowCallback &, WindowHandle &window) override {
    window = CreateWindowExA(0, "STATIC", "", WS_CHILD, rect.left, rect.top, rect.Width(), rect.Height(), m_parent,
                             nullptr, nullptr, nullptr);
    m_child = window;
    return window != nullptr;
  }
  void DestroyChildWindow(ChildWindowCallback &) override {
    DestroyWindow(m_child);
    m_child = nullptr;
  }
  bool MoveChildWindow(ChildWindowCallback &, const VORRect &rect) override {
    return m_child != nullptr && MoveWindow(m_child, rect.left, rect.top, rect.Width(), rect.Height(), TRUE);
  }

private:
  HWND m_parent = nullptr;
  HWND m_child = nullptr;
};

class BrowserPlayer : public TestPlayer {
public:
  using TestPlayer::TestPlayer;
  bool ConfirmInternetConnection() override {
    ++questions;
    return connectAnswer;
  }
  int questions = 0;
  bool connectAnswer = true;
  // The player's own view, with its window, instead of the test's.
  bool playerViews = false;

protected:
  VORRunView *MakeView(const VORObjectCode &identity, VORPage &) override {
    if (!playerViews)
      return new WindowedView(identity.id);
    auto view = std::make_unique<VORPlayerView>(identity.id);
    if (!view->CreateViewWindow(GetModuleHandleA(nullptr), nullptr, 0))
      return nullptr;
    return view.release();
  }
};

constexpr VORObjectCode kBrowserReference(1, 0x11, 1);
constexpr SIZE kCentredPage{400, 300};

class VORBrowserTest : public ::testing::Test {
protected:
  void SetUp() override {
    g_calls.clear();
    g_refusedName.clear();
    g_creations = 0;
    g_containerPresent = true;
    m_previousFactory = VORBrowser::SetContainerFactory(MakeContainer);
  }
  void TearDown() override {
    m_player.reset();
    g_container.reset();
    VORBrowser::SetContainerFactory(m_previousFactory);
  }

  // Page 1 holds the browser (320 x 200); page 2 nothing. With player
  // views the pages are smaller than the window, which shows them centred.
  void Start(const BrowserRecord &record, bool playerViews = false) {
    PublicationRecords::Publication publication =
        TestPublications::Of({TestPublications::Chapter(1, {TestPublications::Page(1), TestPublications::Page(2)})});
    publication.chapters[0].pages[0].objects.push_back(PublicationRecords::BrowserObject(1, record));
    if (playerViews) {
      publication.chapters[0].properties.pageWidth = kCentredPage.cx;
      publication.chapters[0].properties.pageHeight = kCentredPage.cy;
      for (PublicationRecords::Page &page : publication.chapters[0].pages) {
        page.properties.right = kCentredPage.cx;
        page.properties.bottom = kCentredPage.cy;
      }
    }
    m_player = std::make_unique<BrowserPlayer>(m_clock);
    m_player->playerViews = playerViews;
    ASSERT_TRUE(m_player->Load(publication));
    auto platform = std::make_unique<FakeLaunchPlatform>();
    m_platform = platform.get();
    m_platform->RegisterBrowser("\"C:\\Program Files\\Web Browser\\b.exe\" -nohome \"%1\"");
    m_player->GetPublication()->SetLaunchManager(std::make_unique<VORLaunchManager>(std::move(platform), "C:\\p.vor"));
    ASSERT_TRUE(m_player->ShowFirstPage(VORPlayer::kStartupView));
  }

  static BrowserRecord Record(const char *startUrl, uint8_t navigateOnShow = 1) {
    BrowserRecord record;
    record.graphical.right = 320;
    record.graphical.bottom = 200;
    record.startUrl = startUrl;
    record.navigateOnShow = navigateOnShow;
    return record;
  }

  VORBrowser &Browser() {
    auto *browser = dynamic_cast<VORBrowser *>(
        m_player->FindObject(kBrowserReference, VORObjectCode(0, 3, 1), VORObjectCode(0, 4, 1)));
    EXPECT_NE(browser, nullptr);
    return *browser;
  }

  void Send(uint8_t operation, const char *text = "", uint8_t resolveMode = 0) {
    VORBrowserAction action(VORBrowserAction::kClassKey, 1);
    action.SetTarget(kBrowserReference);
    action.SetActionCode(VORBrowser::kBrowserActionCode);
    action.SetOriginObject(VORObjectCode(0, 3, 1));
    action.SetOriginPage(VORObjectCode(0, 4, 1));
    action.operation = operation;
    action.text = VORString(text);
    action.resolveMode = resolveMode;
    EXPECT_TRUE(m_player->DispatchAction(action));
  }

  // Runs what falls due in the next milliseconds.
  void Run(uint32_t milliseconds) {
    m_clock.Advance(milliseconds);
    m_player->OnTick(m_clock.GetMilliseconds());
  }

  size_t CountCalls(const std::string &call) const {
    size_t count = 0;
    for (const std::string &made : g_calls)
      count += made == call;
    return count;
  }

  FakeClock m_clock;
  std::unique_ptr<BrowserPlayer> m_player;
  FakeLaunchPlatform *m_platform = nullptr;
  VORBrowser::ContainerFactory m_previousFactory = nullptr;
};

// Entering the page attaches the container in the pane; once the page is
// shown the start address is loaded, and the busy state is polled until
// the browser is idle, one poll queued at a time.
TEST_F(VORBrowserTest, AttachesNavigatesAndPolls) {
  Start(Record("http://example.org/start.htm"));
  VORBrowser &browser = Browser();
  ASSERT_TRUE(browser.IsAttached());
  EXPECT_EQ(g_calls, (std::vector<std::string>{"AttachToWebInterface window", "GetWebDispatchPtr", "m_HWND"}));
  EXPECT_EQ(browser.GetControlWindow(), g_container->control);
  RECT control;
  GetClientRect(g_container->control, &control);
  EXPECT_EQ(control.right, 320);
  EXPECT_LT(control.bottom, 200); // the status band is below it
  EXPECT_GT(control.bottom, 150);
  EXPECT_EQ(browser.GetBusy(), VORBrowser::kConnecting);

  Run(0);
  EXPECT_EQ(CountCalls("Navigate http://example.org/start.htm"), 1u);
  EXPECT_STREQ(browser.GetStatusText().c_str(), VORBrowser::kConnectingText);
  // Three navigations at once still leave one poll in the queue.
  Send(VORBrowser::kNavigate, "http://example.org/a.htm");
  Send(VORBrowser::kNavigate, "http://example.org/b.htm");
  Run(VORBrowser::kPollDelayMs);
  EXPECT_EQ(CountCalls("Busy"), 1u);
  EXPECT_EQ(browser.GetBusy(), VORBrowser::kConnecting);
  Run(VORBrowser::kPollDelayMs);
  Run(VORBrowser::kPollDelayMs);
  EXPECT_EQ(CountCalls("Busy"), 3u);
  EXPECT_EQ(browser.GetBusy(), VORBrowser::kIdle);
  EXPECT_STREQ(browser.GetStatusText().c_str(), VORBrowser::kIdleText);
  EXPECT_TRUE(browser.IsPolling());
}

// Stop, back, forward and home reach the browser by name; leaving the page
// lets both automation objects go.
TEST_F(VORBrowserTest, CommandsAndRelease) {
  Start(Record("", 0));
  ASSERT_TRUE(Browser().IsAttached());
  EXPECT_EQ(Browser().GetBusy(), VORBrowser::kIdle);
  Send(VORBrowser::kStop);
  Send(VORBrowser::kGoBack);
  Send(VORBrowser::kGoForward);
  Send(VORBrowser::kGoHome);
  Send(7);
  Send(static_cast<uint8_t>(-1));
  EXPECT_EQ(std::vector<std::string>(g_calls.begin() + 3, g_calls.end()),
            (std::vector<std::string>{"Stop", "GoBack", "GoForward", "GoHome"}));
  EXPECT_EQ(g_container->references, 1);
  EXPECT_EQ(g_container->browser.references, 2);
  ASSERT_TRUE(m_player->Goto(VORObjectCode(0, 4, 2)));
  EXPECT_EQ(g_container->references, 0);
  EXPECT_EQ(g_container->browser.references, 1);
}

// An address far longer than any fixed buffer goes whole; a variable's
// value is an address, an empty one none.
TEST_F(VORBrowserTest, LongAddressesAndVariables) {
  Start(Record("", 0));
  const std::string longAddress = "http://example.org/" + std::string(300, 'x');
  Send(VORBrowser::kNavigate, longAddress.c_str());
  EXPECT_EQ(CountCalls("Navigate " + longAddress), 1u);
  m_player->SetVariableValue("PAGE", "http://example.org/v.htm");
  Send(VORBrowser::kNavigateToVariable, "PAGE");
  EXPECT_EQ(CountCalls("Navigate http://example.org/v.htm"), 1u);
  m_player->SetVariableValue("EMPTY", "");
  const size_t before = g_calls.size();
  Send(VORBrowser::kNavigateToVariable, "EMPTY");
  Send(VORBrowser::kNavigateToVariable, "NO_SUCH_VARIABLE");
  EXPECT_EQ(g_calls.size(), before);
}

// Without the container the pane says so; a navigation then goes to the
// system's browser when the record allows it, and polls ask nobody.
TEST_F(VORBrowserTest, WithoutTheContainer) {
  g_containerPresent = false;
  BrowserRecord record = Record("", 0);
  record.systemBrowserFallback = 1;
  Start(record);
  VORBrowser &browser = Browser();
  EXPECT_FALSE(browser.IsAttached());
  EXPECT_STREQ(browser.GetStatusText().c_str(), VORBrowser::kIdleText);
  Send(VORBrowser::kNavigate, "http://example.org/x.htm");
  EXPECT_EQ(browser.GetPaneText(), VORBrowser::kNotAvailableText);
  ASSERT_EQ(m_platform->opens.size(), 1u);
  EXPECT_EQ(m_platform->opens[0].file, "C:\\Program Files\\Web Browser\\b.exe");
  EXPECT_EQ(m_platform->opens[0].parameters, "http://example.org/x.htm");
  // Stop needs a browser; home tries to attach again.
  const int creations = g_creations;
  Send(VORBrowser::kStop);
  EXPECT_EQ(g_creations, creations);
  Send(VORBrowser::kGoHome);
  EXPECT_EQ(g_creations, creations + 1);
  Send(VORBrowser::kPoll);
  EXPECT_TRUE(g_calls.empty());
}

// Without the fallback nothing starts; a refused connection question stops
// before anything is attached.
TEST_F(VORBrowserTest, NoFallbackAndARefusedConnection) {
  g_containerPresent = false;
  BrowserRecord record = Record("", 0);
  record.askToConnect = 1;
  Start(record);
  const int creations = g_creations;
  Send(VORBrowser::kNavigate, "http://example.org/x.htm");
  EXPECT_EQ(m_player->questions, 1);
  EXPECT_EQ(g_creations, creations + 1);
  EXPECT_TRUE(m_platform->opens.empty());
  m_player->connectAnswer = false;
  Send(VORBrowser::kNavigate, "http://example.org/x.htm");
  EXPECT_EQ(m_player->questions, 2);
  EXPECT_EQ(g_creations, creations + 1);
}

// A failing look-up at any attach step leaves the pane not available and
// lets go of what was obtained.
TEST_F(VORBrowserTest, AFailingAttachStep) {
  for (const char *step : {"AttachToWebInterface", "GetWebDispatchPtr", "m_HWND"}) {
    m_player.reset();
    g_container.reset();
    g_refusedName = step;
    Start(Record("", 0));
    EXPECT_FALSE(Browser().IsAttached()) << step;
    EXPECT_EQ(Browser().GetPaneText(), VORBrowser::kNotAvailableText) << step;
    EXPECT_EQ(g_container->references, 0) << step;
    EXPECT_EQ(g_container->browser.references, 1) << step;
    Send(VORBrowser::kPoll);
  }
}

// Storing a rectangle changes the object's rectangle alone: the pane and the
// control stay where they were; a move then takes them along. Copies of the
// player form are player forms.
TEST_F(VORBrowserTest, StoringARectangleMovesNothing) {
  Start(Record("", 0));
  auto &browser = dynamic_cast<VORPlayerBrowser &>(Browser());
  const VORRect stored(40, 30, 200, 130);
  browser.StoreRect(stored);
  EXPECT_EQ(browser.GetRect(), stored);
  RECT pane;
  GetClientRect(browser.GetChildWindow(), &pane);
  EXPECT_EQ(pane.right, 320);
  EXPECT_EQ(pane.bottom, 200);
  RECT control;
  GetClientRect(browser.GetControlWindow(), &control);
  EXPECT_EQ(control.right, 320);
  browser.SetRect(VORRect(0, 0, 100, 80));
  GetClientRect(browser.GetChildWindow(), &pane);
  EXPECT_EQ(pane.right, 100);
  EXPECT_EQ(pane.bottom, 80);
  std::unique_ptr<VORPageMember> copy(browser.Clone());
  EXPECT_NE(dynamic_cast<VORPlayerBrowser *>(copy.get()), nullptr);
}

// Where the pane stands in its parent's client area.
VORRect PanePlace(HWND pane) {
  RECT rect;
  GetWindowRect(pane, &rect);
  MapWindowPoints(HWND_DESKTOP, GetParent(pane), reinterpret_cast<POINT *>(&rect), 2);
  return VORRect(rect.left, rect.top, rect.right, rect.bottom);
}

// On a page the view shows centred, the pane lies over the object where the
// page shows it: when the page is shown, when the object moves, and when
// the view lays the page out again in a client area of another size.
TEST_F(VORBrowserTest, OnACentredPageThePaneFollowsTheObject) {
  BrowserRecord record = Record("", 0);
  record.graphical.Place(30, 20, 230, 170);
  Start(record, true);
  auto *view = dynamic_cast<VORPlayerView *>(m_player->GetFirstView());
  ASSERT_NE(view, nullptr);
  VORBrowser &browser = Browser();
  ASSERT_NE(browser.GetChildWindow(), nullptr);
  VORPoint origin = view->GetScrollOrigin();
  ASSERT_GT(origin.x, 0) << "the page is not centred";
  ASSERT_GT(origin.y, 0) << "the page is not centred";
  EXPECT_EQ(PanePlace(browser.GetChildWindow()), browser.GetRect().Offset(origin.x, origin.y));

  browser.SetRect(VORRect(60, 50, 200, 150));
  EXPECT_EQ(PanePlace(browser.GetChildWindow()), VORRect(60 + origin.x, 50 + origin.y, 200 + origin.x, 150 + origin.y));

  const VORRect client = view->GetClientRect();
  view->SetPageExtent(client.right - 100, client.bottom - 60, false, true);
  origin = view->GetScrollOrigin();
  ASSERT_GT(origin.x, 0);
  EXPECT_EQ(PanePlace(browser.GetChildWindow()), browser.GetRect().Offset(origin.x, origin.y));
}

// The class table's row: (1, 0x11) makes the player form, with its key.
TEST(VORBrowserClassTest, TheRegistryMakesThePlayerForm) {
  constexpr uint32_t kBrowserKey = VORObjectCode::MakeClassKey(1, 0x11);
  std::unique_ptr<VORCodedObject> object(VORClassRegistry::Instance().Create(kBrowserKey, 5));
  ASSERT_NE(object, nullptr);
  EXPECT_EQ(object->GetClassKey(), kBrowserKey);
  EXPECT_NE(dynamic_cast<VORPlayerBrowser *>(object.get()), nullptr);
}

} // namespace
