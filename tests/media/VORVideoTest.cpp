// The video object on a shown page of a test player: in MCI mode against a
// fake MCI device whose notifications travel through the object's real
// child window, and in its own drawing from an animation of the
// publication's own picture format, driven by the player's clock.

#include <windows.h>

#include <mmsystem.h>

#include <digitalv.h>
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "display/DisplaySettings.h"
#include "display/Palette.h"
#include "display/VORPlayerView.h"
#include "media/VORVideo.h"
#include "media/VORVideoObjectAction.h"
#include "media/XQAVI.h"
#include "media/XQVideoStream.h"
#include "objects/VORObject.h"
#include "support/FakeClock.h"
#include "support/FakeFileManager.h"
#include "support/FakeResourcePlatform.h"
#include "support/InternalImageWriter.h"
#include "support/PublicationRecords.h"
#include "support/TestPlayer.h"

namespace {

using PublicationRecords::VideoRecord;

constexpr uint32_t kDevice = 7;
constexpr LONG kSourceWidth = 32;
constexpr LONG kSourceHeight = 24;
constexpr DWORD kPosition = 1500;
constexpr DWORD kLength = 4000;
constexpr VORObjectCode kVideo(1, 5, 1);
constexpr uint16_t kMciMode = VORVideo::kMciMode;
constexpr uint16_t kPlayWhenShown = VORVideo::kPlayWhenShown;

// ---- The fake MCI device -----------------------------------------------------

struct MciCommand {
  uint32_t message = 0;
  uintptr_t flags = 0;
  DWORD from = 0;
  DWORD to = 0;
  uintptr_t value = 0;
  HWND window = nullptr;
  RECT rect = {};
  std::string element;
};

std::vector<MciCommand> g_commands;
bool g_openFails = false;

uint32_t FakeMci(uint32_t device, uint32_t message, uintptr_t flags, void *parameters) {
  MciCommand command;
  command.message = message;
  command.flags = flags;
  switch (message) {
  case MCI_OPEN: {
    auto *open = static_cast<MCI_ANIM_OPEN_PARMSA *>(parameters);
    command.element = open->lpstrElementName;
    command.window = open->hWndParent;
    command.value = open->dwStyle;
    if (g_openFails) {
      g_commands.push_back(command);
      return MCIERR_INVALID_FILE;
    }
    open->wDeviceID = kDevice;
    break;
  }
  case MCI_PLAY: {
    auto *play = static_cast<MCI_PLAY_PARMS *>(parameters);
    command.from = play->dwFrom;
    command.to = play->dwTo;
    command.window = reinterpret_cast<HWND>(play->dwCallback);
    break;
  }
  case MCI_SEEK:
    command.to = static_cast<MCI_SEEK_PARMS *>(parameters)->dwTo;
    break;
  case MCI_STATUS: {
    auto *status = static_cast<MCI_STATUS_PARMS *>(parameters);
    command.value = status->dwItem;
    status->dwReturn = status->dwItem == MCI_STATUS_LENGTH ? kLength : kPosition;
    break;
  }
  case MCI_WHERE:
    static_cast<MCI_DGV_RECT_PARMS *>(parameters)->rc = RECT{0, 0, kSourceWidth, kSourceHeight};
    break;
  case MCI_PUT:
    command.rect = static_cast<MCI_DGV_PUT_PARMS *>(parameters)->rc;
    break;
  case MCI_WINDOW: {
    auto *into = static_cast<MCI_DGV_WINDOW_PARMSA *>(parameters);
    command.window = into->hWnd;
    command.value = into->nCmdShow;
    break;
  }
  case MCI_SETVIDEO: {
    auto *video = static_cast<MCI_DGV_SETVIDEO_PARMSA *>(parameters);
    command.value = video->dwItem;
    break;
  }
  default:
    break;
  }
  if (message != MCI_OPEN && device != kDevice) {
    ADD_FAILURE() << "command " << message << " to device " << device;
  }
  g_commands.push_back(command);
  return 0;
}

std::vector<MciCommand> Commands(uint32_t message) {
  std::vector<MciCommand> found;
  for (const MciCommand &command : g_commands) {
    if (command.message == message) {
      found.push_back(command);
    }
  }
  return found;
}

// ---- A player whose views make real child windows --------------------------

LRESULT CALLBACK ChildProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto *callback = reinterpret_cast<VORRunView::ChildWindowCallback *>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (callback != nullptr && callback->OnChildWindowMessage(message, wParam, lParam)) {
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

const char *ChildClass() {
  static const char *name = [] {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = ChildProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "VOR_VIDEO_TEST_CHILD";
    RegisterClassA(&windowClass);
    return windowClass.lpszClassName;
  }();
  return name;
}

// The parent window stands at the screen's corner; children lie at page
// coordinates plus a margin, as a view shows a small page in its middle.
constexpr int32_t kMargin = 10;

class WindowedView : public TestRunView {
public:
  explicit WindowedView(int32_t id) : TestRunView(id) {
    m_parent = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 640, 480, nullptr, nullptr, nullptr, nullptr);
  }
  ~WindowedView() override { DestroyWindow(m_parent); }
  WindowHandle GetWindow() override { return m_parent; }
  bool CreateChildWindow(const VORRect &rect, ChildWindowCallback &callback, WindowHandle &window) override {
    window = CreateWindowExA(0, ChildClass(), "", WS_CHILD, rect.left + kMargin, rect.top + kMargin, rect.Width(),
                             rect.Height(), m_parent, nullptr, nullptr, nullptr);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&callback));
    child = window;
    return window != nullptr;
  }
  void DestroyChildWindow(ChildWindowCallback &) override {
    DestroyWindow(child);
    child = nullptr;
  }
  bool MoveChildWindow(ChildWindowCallback &, const VORRect &rect) override {
    return child != nullptr &&
           MoveWindow(child, rect.left + kMargin, rect.top + kMargin, rect.Width(), rect.Height(), TRUE) != FALSE;
  }

  HWND child = nullptr;

private:
  HWND m_parent = nullptr;
};

class VideoPlayer : public TestPlayer {
public:
  using TestPlayer::TestPlayer;
  bool BroadcastAction(const VORObjectAction &action) override {
    broadcasts.push_back(action.GetActionCode());
    return TestPlayer::BroadcastAction(action);
  }
  int32_t ReportFileFailure(const char *fileName, int32_t kind, int32_t code) override {
    failures.push_back(std::string(fileName) + " " + std::to_string(kind) + " " + std::to_string(code));
    return 1;
  }
  Palette *GetPalette() override { return palette; }
  std::vector<int32_t> broadcasts;
  std::vector<std::string> failures;
  Palette *palette = nullptr;
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

// ---- The fixture -------------------------------------------------------------

class VORVideoTest : public ::testing::Test {
protected:
  void SetUp() override {
    g_commands.clear();
    g_openFails = false;
    m_previousSender = VORVideo::SetMciSender(FakeMci);
    m_files.SetPublicationFolder("C:\\pub\\");
    m_files.PutFile("C:\\pub\\movie.avi", std::vector<uint8_t>(100, 1));
  }
  void TearDown() override {
    m_player.reset();
    VORVideo::SetMciSender(m_previousSender);
    GetDisplaySettings() = m_settings;
  }

  static VideoRecord Record(uint16_t flags, int16_t repeatCount = 0) {
    VideoRecord record;
    record.hotSpot.graphical.Place(20, 10, 120, 90);
    record.videoFlags = flags;
    record.repeatCount = repeatCount;
    return record;
  }

  // With a page size, the player's own view shows pages of that size (in
  // its window, centred when the window is larger).
  void Start(PublicationRecords::PageObject video, std::map<uint32_t, std::vector<uint8_t>> internalResources = {},
             SIZE playerViewPage = {0, 0}) {
    PublicationRecords::Publication publication =
        TestPublications::Of({TestPublications::Chapter(1, {TestPublications::Page(1), TestPublications::Page(2)})});
    publication.chapters[0].pages[0].objects.push_back(std::move(video));
    publication.internalResources = std::move(internalResources);
    if (playerViewPage.cx > 0) {
      publication.chapters[0].properties.pageWidth = playerViewPage.cx;
      publication.chapters[0].properties.pageHeight = playerViewPage.cy;
      for (PublicationRecords::Page &page : publication.chapters[0].pages) {
        page.properties.right = playerViewPage.cx;
        page.properties.bottom = playerViewPage.cy;
      }
    }
    m_player = std::make_unique<VideoPlayer>(m_clock);
    m_player->playerViews = playerViewPage.cx > 0;
    m_player->UseResources(m_machine.MakePlatform());
    m_player->fileManager = &m_files;
    ASSERT_TRUE(m_player->Load(publication));
    ASSERT_TRUE(m_player->ShowFirstPage(VORPlayer::kStartupView));
    Run(0);
  }
  void StartMci(uint16_t flags, int16_t repeatCount = 0) {
    Start(PublicationRecords::AviVideoObject(1, Record(static_cast<uint16_t>(flags | kMciMode), repeatCount),
                                             "movie.avi"));
  }

  VORVideo &Video() {
    auto *video =
        dynamic_cast<VORVideo *>(m_player->FindObject(kVideo, VORObjectCode(0, 3, 1), VORObjectCode(0, 4, 1)));
    EXPECT_NE(video, nullptr);
    return *video;
  }

  bool Send(int32_t code, int32_t first = -1, int32_t second = -1) {
    VORVideoObjectAction action;
    action.SetActionCode(code);
    action.SetTarget(kVideo);
    action.SetOriginObject(VORObjectCode(0, 3, 1));
    action.SetOriginPage(VORObjectCode(0, 4, 1));
    action.first = first;
    action.second = second;
    return m_player->DispatchAction(action);
  }

  // The device's notification, as the system posts it to the window a play
  // named, delivered by the message loop.
  void Notify(UINT code) {
    const std::vector<MciCommand> plays = Commands(MCI_PLAY);
    ASSERT_FALSE(plays.empty());
    PostMessageA(plays.back().window, MM_MCINOTIFY, code, kDevice);
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      DispatchMessageA(&message);
    }
  }

  // Runs what falls due in the next milliseconds.
  void Run(uint32_t milliseconds) {
    m_clock.Advance(milliseconds);
    m_player->OnTick(m_clock.GetMilliseconds());
  }

  WindowedView &View() { return *static_cast<WindowedView *>(m_player->MainView()); }
  std::vector<int32_t> &Broadcasts() { return m_player->broadcasts; }

  FakeClock m_clock;
  FakeMachine m_machine;
  FakeFileManager m_files;
  std::unique_ptr<VideoPlayer> m_player;
  VORVideo::MciSender m_previousSender = nullptr;
  DisplaySettings m_settings = GetDisplaySettings();
};

constexpr int32_t kStarted = VORObject::kSyncStarted;
constexpr int32_t kEnded = VORObject::kSyncEnded;

// ---- MCI mode ------------------------------------------------------------------

// Once the page shows, the device opens on the file, plays in milliseconds
// into the child window at the video's own size, and with "play when
// shown" starts from where it stands.
TEST_F(VORVideoTest, AnMciVideoOpensIntoItsChildWindowAndPlaysWhenShown) {
  StartMci(kPlayWhenShown);
  VORVideo &video = Video();
  ASSERT_TRUE(video.IsOpen());
  ASSERT_NE(View().child, nullptr);
  EXPECT_EQ(video.GetMciWindow(), View().child);
  const std::vector<MciCommand> opens = Commands(MCI_OPEN);
  ASSERT_EQ(opens.size(), 1u);
  EXPECT_EQ(opens[0].element, "C:\\pub\\movie.avi");
  EXPECT_EQ(opens[0].flags, static_cast<uintptr_t>(MCI_WAIT | MCI_OPEN_ELEMENT));
  EXPECT_TRUE(Commands(MCI_SETVIDEO).empty()) << "no palette on a true-colour display";
  ASSERT_EQ(Commands(MCI_SET).size(), 1u);
  const std::vector<MciCommand> windows = Commands(MCI_WINDOW);
  ASSERT_EQ(windows.size(), 1u);
  EXPECT_EQ(windows[0].window, View().child);
  EXPECT_EQ(windows[0].value, static_cast<uintptr_t>(SW_HIDE));
  EXPECT_TRUE(Commands(MCI_PUT).empty()) << "its own size needs no destination";
  RECT placed = {};
  GetWindowRect(View().child, &placed);
  MapWindowPoints(HWND_DESKTOP, View().GetWindow(), reinterpret_cast<POINT *>(&placed), 2);
  EXPECT_EQ(placed.left, 20 + kMargin);
  EXPECT_EQ(placed.top, 10 + kMargin);
  EXPECT_EQ(placed.right - placed.left, kSourceWidth);
  EXPECT_EQ(placed.bottom - placed.top, kSourceHeight);
  EXPECT_NE(GetWindowLongA(View().child, GWL_STYLE) & WS_VISIBLE, 0);

  const std::vector<MciCommand> plays = Commands(MCI_PLAY);
  ASSERT_EQ(plays.size(), 1u);
  EXPECT_EQ(plays[0].flags, static_cast<uintptr_t>(MCI_NOTIFY)) << "from where it stands, to the end";
  EXPECT_EQ(plays[0].window, View().child);
  EXPECT_TRUE(video.IsPlaying());
  EXPECT_EQ(Broadcasts(), std::vector<int32_t>{kStarted});

  ASSERT_TRUE(m_player->Goto(VORObjectCode(0, 4, 2)));
  EXPECT_EQ(Commands(MCI_CLOSE).size(), 1u);
  EXPECT_EQ(View().child, nullptr) << "the window goes with the page";
}

// A play from a position to the end (-1) plays; only a given end before
// the start refuses.
TEST_F(VORVideoTest, AnMciPlayFromAPositionToTheEndPlays) {
  StartMci(0);
  struct Case {
    int32_t from;
    int32_t to;
    uintptr_t flags;
    DWORD playedFrom;
    DWORD playedTo;
  };
  const Case cases[] = {{1000, -1, MCI_NOTIFY | MCI_FROM, 1000, 0},
                        {1000, 3000, MCI_NOTIFY | MCI_FROM | MCI_TO, 1000, 3000},
                        {-1, 2000, MCI_NOTIFY | MCI_TO, 0, 2000}};
  for (const Case &c : cases) {
    g_commands.clear();
    ASSERT_TRUE(Send(VORVideo::kPlay, c.from, c.to));
    const std::vector<MciCommand> plays = Commands(MCI_PLAY);
    ASSERT_EQ(plays.size(), 1u) << c.from << " " << c.to;
    EXPECT_EQ(plays[0].flags, c.flags) << c.from << " " << c.to;
    EXPECT_EQ(plays[0].from, c.playedFrom);
    EXPECT_EQ(plays[0].to, c.playedTo);
    EXPECT_TRUE(Video().IsPlaying());
  }
  // Continuing while playing changes nothing; a new start stops first.
  g_commands.clear();
  ASSERT_TRUE(Send(VORVideo::kPlay));
  EXPECT_TRUE(g_commands.empty());
  ASSERT_TRUE(Send(VORVideo::kStop));
  g_commands.clear();
  ASSERT_TRUE(Send(VORVideo::kPlay, 3000, 1000));
  EXPECT_TRUE(Commands(MCI_PLAY).empty()) << "an end before the start";
  EXPECT_FALSE(Video().IsPlaying());
}

// Repeat 2 plays three times; only a play that ran to its end counts: the
// notices of aborted and superseded plays change nothing. Start and end
// are announced once each.
TEST_F(VORVideoTest, AnMciVideoRepeatsOnItsRealEndsOnly) {
  StartMci(0, 2);
  ASSERT_TRUE(Send(VORVideo::kPlay, 500, -1));
  Notify(MCI_NOTIFY_ABORTED);
  Notify(MCI_NOTIFY_SUPERSEDED);
  EXPECT_EQ(Commands(MCI_PLAY).size(), 1u);
  for (size_t repeat = 1; repeat <= 2; ++repeat) {
    Notify(MCI_NOTIFY_SUCCESSFUL);
    const std::vector<MciCommand> plays = Commands(MCI_PLAY);
    ASSERT_EQ(plays.size(), 1 + repeat);
    EXPECT_EQ(plays.back().flags, static_cast<uintptr_t>(MCI_NOTIFY | MCI_FROM)) << "the same span again";
    EXPECT_EQ(plays.back().from, 500u);
  }
  EXPECT_EQ(Broadcasts(), std::vector<int32_t>{kStarted});
  Notify(MCI_NOTIFY_SUCCESSFUL);
  EXPECT_EQ(Commands(MCI_PLAY).size(), 3u);
  EXPECT_FALSE(Video().IsPlaying());
  EXPECT_EQ(Broadcasts(), (std::vector<int32_t>{kStarted, kEnded}));
  // A late notice for a play that is over is not an end.
  Notify(MCI_NOTIFY_SUCCESSFUL);
  EXPECT_EQ(Broadcasts(), (std::vector<int32_t>{kStarted, kEnded}));
}

// A stop that finds nothing playing announces nothing, and the end of the
// next play is still its end.
TEST_F(VORVideoTest, AStopWhenNotPlayingKeepsTheNextEnd) {
  StartMci(0);
  ASSERT_TRUE(Send(VORVideo::kStop));
  EXPECT_TRUE(Broadcasts().empty());
  EXPECT_TRUE(Commands(MCI_PAUSE).empty());
  ASSERT_TRUE(Send(VORVideo::kPlay, 0, -1));
  ASSERT_TRUE(Send(VORVideo::kStop));
  EXPECT_EQ(Commands(MCI_PAUSE).size(), 1u);
  Notify(MCI_NOTIFY_ABORTED);
  ASSERT_TRUE(Send(VORVideo::kPlay, -1, -1));
  Notify(MCI_NOTIFY_SUCCESSFUL);
  EXPECT_FALSE(Video().IsPlaying());
  EXPECT_EQ(Broadcasts(), (std::vector<int32_t>{kStarted, kEnded, kStarted, kEnded}));
}

TEST_F(VORVideoTest, AnMciSeekCountsFromTheStartThePositionOrTheEnd) {
  StartMci(0);
  struct Case {
    int32_t position;
    int32_t mode;
    DWORD to;
  };
  const Case cases[] = {{700, 0, 700}, {250, 1, kPosition + 250}, {-1000, 2, kLength - 1000}, {-9000, 2, 0}};
  for (const Case &c : cases) {
    g_commands.clear();
    ASSERT_TRUE(Send(VORVideo::kSeek, c.position, c.mode));
    const std::vector<MciCommand> seeks = Commands(MCI_SEEK);
    ASSERT_EQ(seeks.size(), 1u);
    EXPECT_EQ(seeks[0].to, c.to) << c.position << " " << c.mode;
    EXPECT_TRUE(Commands(MCI_PLAY).empty()) << "not playing";
  }
  // While playing the play goes on from the new place, and the seek's
  // abort of the old play is no end.
  ASSERT_TRUE(Send(VORVideo::kPlay, 0, 3000));
  g_commands.clear();
  ASSERT_TRUE(Send(VORVideo::kSeek, 100, 0));
  const std::vector<MciCommand> plays = Commands(MCI_PLAY);
  ASSERT_EQ(plays.size(), 1u);
  EXPECT_EQ(plays[0].flags, static_cast<uintptr_t>(MCI_NOTIFY | MCI_TO));
  EXPECT_EQ(plays[0].to, 3000u);
  Notify(MCI_NOTIFY_ABORTED);
  EXPECT_TRUE(Video().IsPlaying());
}

// On an 8-bit display the device draws with the publication's palette.
TEST_F(VORVideoTest, AnMciVideoOnAPaletteDisplayTakesTheApplicationPalette) {
  Palette palette;
  palette.LoadDefault();
  GetDisplaySettings().paletteDisplay = true;
  GetDisplaySettings().applicationPalette = &palette;
  StartMci(0);
  const std::vector<MciCommand> videos = Commands(MCI_SETVIDEO);
  ASSERT_EQ(videos.size(), 1u);
  EXPECT_EQ(videos[0].value, static_cast<uintptr_t>(MCI_DGV_SETVIDEO_PALHANDLE));
  m_player.reset();
}

// The video takes its file from its first resource child, as the other
// media objects do: a record whose linked resource names nothing still
// plays its AVI.
TEST_F(VORVideoTest, AnMciVideoPlaysItsFirstResourceChildWithoutALinkedResource) {
  constexpr int16_t kPublicationFolder = 1;
  constexpr uint8_t kAviKind = 6;
  Start(PublicationRecords::VideoObject(
      1, Record(kMciMode | kPlayWhenShown),
      {PublicationRecords::ExternalResourceObject(2, {kPublicationFolder, "movie.avi", true, kAviKind})}));
  const std::vector<MciCommand> opens = Commands(MCI_OPEN);
  ASSERT_EQ(opens.size(), 1u);
  EXPECT_EQ(opens[0].element, "C:\\pub\\movie.avi");
  EXPECT_TRUE(Video().IsPlaying());
  Notify(MCI_NOTIFY_SUCCESSFUL);
  EXPECT_EQ(Broadcasts(), (std::vector<int32_t>{kStarted, kEnded}));
}

// On a palette display an AVI's frames are still asked for in 24 bits,
// with the publication's palette in the request's colour table; such a
// frame does not suit the display, so the video draws through a 24-bit
// surface shown in the palette's colours. A true-colour display gets no
// table.
TEST_F(VORVideoTest, AnAviOnAPaletteDisplayIsAskedForWithTheApplicationPalette) {
  Palette palette;
  palette.LoadDefault();
  GetDisplaySettings().applicationPalette = &palette;
  const std::string folder = std::string("Z:") + VOR_AVI_DIR + "/";
  m_files.SetPublicationFolder(folder.c_str());
  m_files.PutFile(folder + "cinepak.avi", std::vector<uint8_t>(100, 1));
  constexpr size_t kEntry = 100;
  for (const bool paletteDisplay : {true, false}) {
    SCOPED_TRACE(paletteDisplay ? "palette display" : "true colour");
    GetDisplaySettings().paletteDisplay = paletteDisplay;
    Start(PublicationRecords::AviVideoObject(1, Record(0), "cinepak.avi"));
    auto *avi = dynamic_cast<XQAVI *>(Video().GetStream());
    ASSERT_NE(avi, nullptr);
    const BitmapInfo256 &request = avi->GetFrameRequest();
    EXPECT_EQ(request.header.biBitCount, 24);
    EXPECT_EQ(request.header.biClrUsed, 0u);
    const RgbQuad expected = paletteDisplay ? palette.GetEntries()[kEntry] : RgbQuad{};
    EXPECT_EQ(request.colors[kEntry].red, expected.red);
    EXPECT_EQ(request.colors[kEntry].green, expected.green);
    EXPECT_EQ(request.colors[kEntry].blue, expected.blue);
    ASSERT_NE(avi->GetFrameImage(), nullptr);
    EXPECT_EQ(avi->GetFrameImage()->GetBitsPerPixel(), 24);
    EXPECT_FALSE(Video().SuitsDisplayDepth(8));
  }
  m_player.reset();
}

// A file the device cannot open is reported with code 3 at each try (the
// page showing, a play), and the object stays closed and plays nothing.
TEST_F(VORVideoTest, AnMciOpenThatFailsIsReported) {
  g_openFails = true;
  StartMci(0);
  EXPECT_FALSE(Video().IsOpen());
  EXPECT_EQ(m_player->failures, std::vector<std::string>{"C:\\pub\\movie.avi 6 3"});
  ASSERT_TRUE(Send(VORVideo::kPlay, 0, -1));
  EXPECT_FALSE(Video().IsPlaying());
  EXPECT_EQ(m_player->failures.size(), 2u);
  EXPECT_EQ(View().child, nullptr);
  EXPECT_TRUE(Commands(MCI_PLAY).empty());
  EXPECT_TRUE(Broadcasts().empty());
}

// Stretched, the window fills the object and the device draws into all of
// it; moving the object moves the window.
TEST_F(VORVideoTest, AStretchedMciWindowFillsTheObjectAndFollowsIt) {
  StartMci(VORVideo::kStretched);
  const std::vector<MciCommand> puts = Commands(MCI_PUT);
  ASSERT_EQ(puts.size(), 1u);
  EXPECT_EQ(puts[0].rect.right, 100);
  EXPECT_EQ(puts[0].rect.bottom, 80);
  Video().SetRect(VORRect(40, 30, 90, 70));
  RECT placed = {};
  GetWindowRect(View().child, &placed);
  MapWindowPoints(HWND_DESKTOP, View().GetWindow(), reinterpret_cast<POINT *>(&placed), 2);
  EXPECT_EQ(placed.left, 40 + kMargin);
  EXPECT_EQ(placed.top, 30 + kMargin);
  EXPECT_EQ(placed.right - placed.left, 50);
  EXPECT_EQ(placed.bottom - placed.top, 40);
}

// Where a child window stands in its parent's client area.
VORRect ChildPlace(HWND child) {
  RECT rect;
  GetWindowRect(child, &rect);
  MapWindowPoints(HWND_DESKTOP, GetParent(child), reinterpret_cast<POINT *>(&rect), 2);
  return VORRect(rect.left, rect.top, rect.right, rect.bottom);
}

// In the player's own view the window lies over the video where the page
// shows it: on a page shown centred, after the object moved, after the view
// laid the page out again in a client area of another size (centred
// elsewhere), and after a page larger than the client area scrolled.
TEST_F(VORVideoTest, OnACentredOrScrolledPageTheMciWindowFollowsTheObject) {
  constexpr SIZE kPage{400, 300};
  Start(PublicationRecords::AviVideoObject(1, Record(VORVideo::kStretched | kMciMode), "movie.avi"), {}, kPage);
  auto *view = dynamic_cast<VORPlayerView *>(m_player->GetFirstView());
  ASSERT_NE(view, nullptr);
  VORVideo &video = Video();
  const HWND window = video.GetMciWindow();
  ASSERT_NE(window, nullptr);
  VORPoint origin = view->GetScrollOrigin();
  ASSERT_GT(origin.x, 0) << "the page is not centred";
  ASSERT_GT(origin.y, 0) << "the page is not centred";
  EXPECT_EQ(ChildPlace(window), video.GetRect().Offset(origin.x, origin.y)) << "shown";

  video.SetRect(VORRect(60, 50, 200, 150));
  EXPECT_EQ(ChildPlace(window), VORRect(60, 50, 200, 150).Offset(origin.x, origin.y)) << "moved";

  const VORRect client = view->GetClientRect();
  view->SetPageExtent(client.right - 100, client.bottom - 60, false, true);
  origin = view->GetScrollOrigin();
  ASSERT_GT(origin.x, 0);
  EXPECT_EQ(ChildPlace(window), video.GetRect().Offset(origin.x, origin.y)) << "centred again";

  // A window smaller than the page: the view lays the page out again as
  // the window's size changes, with scroll bars.
  ASSERT_TRUE(MoveWindow(view->GetWindow(), 0, 0, kPage.cx - 100, kPage.cy - 100, TRUE));
  video.SetRect(VORRect(40, 30, 180, 130));
  view->OnVScroll(SB_PAGEDOWN);
  origin = view->GetScrollOrigin();
  ASSERT_LT(origin.y, 0) << "the page did not scroll";
  EXPECT_EQ(ChildPlace(window), video.GetRect().Offset(origin.x, origin.y)) << "moved, then scrolled";
}

// ---- In its own drawing: an animation of the publication's format --------------

constexpr int32_t kAnimation = 20;
constexpr uint8_t kInternalVideoKind = 13;
constexpr uint32_t kFrameMicroseconds = 100000;

// Frames of 4 x 2 whose first pixel is the frame's number; depth 24 or 8.
std::vector<uint8_t> Animation(uint32_t frames, uint16_t depth) {
  using namespace InternalImageWriter;
  Picture picture;
  picture.depth = depth;
  picture.timing = kFrameMicroseconds;
  if (depth == 8) {
    picture.colours = GreyishTable(256);
  }
  const uint32_t bytesPerPixel = depth / 8;
  for (uint32_t i = 0; i < frames; ++i) {
    Frame frame;
    std::vector<uint8_t> pixels(8 * bytesPerPixel, 0);
    pixels[0] = static_cast<uint8_t>(i);
    frame.parts = {RawPart(0, 0, 4, 2, pixels)};
    picture.frames.push_back(frame);
  }
  return picture.Bytes();
}

class VORVideoStreamTest : public VORVideoTest {
protected:
  void StartAnimation(uint16_t flags, int16_t repeatCount = 0, uint32_t frames = 5, uint16_t depth = 24) {
    VideoRecord record = Record(flags, repeatCount);
    record.hotSpot.graphical.linkedResource = VORObjectKey{4, 1, 2};
    Start(PublicationRecords::VideoObject(
              1, record, {PublicationRecords::InternalResourceObject(2, kAnimation, kInternalVideoKind)}),
          {{kAnimation, Animation(frames, depth)}});
  }
  // One call of the update target at the player's time, ms later.
  void Update(uint32_t milliseconds) {
    Run(milliseconds);
    uint32_t due = 0;
    Video().Update(due);
  }
  uint8_t FirstPixel() { return Video().GetStream()->GetFrameImage()->GetRowAddress(0)[0]; }
};

// Without a linked resource the animation, the video's first resource
// child, opens, plays to its end and announces both; so it does beside a
// linked resource that names another child.
TEST_F(VORVideoStreamTest, TheFirstResourceChildIsWhatPlays) {
  for (const bool linksAnother : {false, true}) {
    SCOPED_TRACE(linksAnother ? "linked resource names another child" : "no linked resource");
    VideoRecord record = Record(0);
    std::vector<PublicationRecords::PageObject> children = {
        PublicationRecords::InternalResourceObject(2, kAnimation, kInternalVideoKind)};
    if (linksAnother) {
      record.hotSpot.graphical.linkedResource = VORObjectKey{4, 1, 3};
      children.push_back(PublicationRecords::InternalResourceObject(3, kAnimation + 1, kInternalVideoKind));
    }
    Start(PublicationRecords::VideoObject(1, record, std::move(children)),
          {{kAnimation, Animation(3, 24)}, {kAnimation + 1, Animation(7, 24)}});
    ASSERT_TRUE(Video().IsOpen());
    EXPECT_EQ(Video().GetPlayback().GetFrameCount(), 3u);
    EXPECT_FALSE(Video().IsEmpty(false));
    ASSERT_TRUE(Send(VORVideo::kPlay, 0, -1));
    for (int call = 0; call < 20 && Video().IsPlaying(); ++call) {
      Update(101);
    }
    EXPECT_FALSE(Video().IsPlaying());
    EXPECT_EQ(Broadcasts(), (std::vector<int32_t>{kStarted, kEnded}));
  }
}

TEST_F(VORVideoStreamTest, AnInternalAnimationOpensWithItsTiming) {
  StartAnimation(0);
  VORVideo &video = Video();
  ASSERT_TRUE(video.IsOpen());
  EXPECT_EQ(video.GetPlayback().GetFrameCount(), 5u);
  EXPECT_EQ(video.GetPlayback().GetMicrosecondsPerFrame(), kFrameMicroseconds);
  EXPECT_EQ(FirstPixel(), 0);
  EXPECT_TRUE(Commands(MCI_OPEN).empty());
}

// Repeat 2 gives three passes through the frames, one start and one end
// announced; a stop afterwards announces nothing more.
TEST_F(VORVideoStreamTest, RepeatTwoPlaysThreeTimesAndPairsStartAndEnd) {
  StartAnimation(0, 2, 3);
  ASSERT_TRUE(Send(VORVideo::kPlay, 0, -1));
  int passes = 1;
  uint32_t previous = 0;
  for (int call = 0; call < 100 && Video().IsPlaying(); ++call) {
    Update(101);
    const uint32_t frame = Video().GetPlayback().GetCurrentFrame();
    passes += frame < previous;
    previous = frame;
    EXPECT_EQ(FirstPixel(), frame);
  }
  EXPECT_FALSE(Video().IsPlaying());
  EXPECT_EQ(passes, 3);
  EXPECT_EQ(Broadcasts(), (std::vector<int32_t>{kStarted, kEnded}));
  ASSERT_TRUE(Send(VORVideo::kStop));
  EXPECT_EQ(Broadcasts(), (std::vector<int32_t>{kStarted, kEnded}));
}

// With 0x40 a late update shows the frame the clock has reached; without
// it the next frame, however late.
TEST_F(VORVideoStreamTest, SkippingFramesKeepsTime) {
  for (uint16_t flags : {uint16_t(0), uint16_t(VORVideo::kSkipFrames)}) {
    StartAnimation(flags, 0, 10);
    ASSERT_TRUE(Send(VORVideo::kPlay, 0, -1));
    Update(350);
    EXPECT_EQ(Video().GetPlayback().GetCurrentFrame(), flags != 0 ? 3u : 1u) << flags;
    EXPECT_EQ(FirstPixel(), flags != 0 ? 3 : 1) << flags;
  }
}

// Open only on play: before the play nothing is open, a seek does nothing
// and a stop announces nothing.
TEST_F(VORVideoStreamTest, ASeekOrStopBeforeTheStreamOpensDoesNothing) {
  StartAnimation(VORVideo::kOpenOnPlay);
  ASSERT_FALSE(Video().IsOpen());
  ASSERT_TRUE(Send(VORVideo::kSeek, 300, 0));
  ASSERT_TRUE(Send(VORVideo::kStop));
  EXPECT_FALSE(Video().IsOpen());
  EXPECT_TRUE(Broadcasts().empty());
  ASSERT_TRUE(Send(VORVideo::kPlay, -1, -1));
  EXPECT_TRUE(Video().IsPlaying());
  EXPECT_EQ(Video().GetPlayback().GetCurrentFrame(), 0u);
  ASSERT_TRUE(Send(VORVideo::kStop));
  EXPECT_FALSE(Video().IsOpen()) << "a stop closes it again";
  EXPECT_EQ(Broadcasts(), (std::vector<int32_t>{kStarted, kEnded}));
}

// At 8 bits a 24-bit frame does not suit, nor an 8-bit one in colours
// other than the application palette's; at 24 bits everything does.
TEST_F(VORVideoStreamTest, FramesSuitAPaletteDisplayOnlyInItsColours) {
  StartAnimation(0, 0, 2, 24);
  EXPECT_FALSE(Video().SuitsDisplayDepth(8));
  EXPECT_TRUE(Video().SuitsDisplayDepth(24));
  StartAnimation(0, 0, 2, 8);
  EXPECT_TRUE(Video().SuitsDisplayDepth(8)) << "no application palette";
  Palette palette;
  palette.LoadDefault();
  m_player->palette = &palette;
  EXPECT_FALSE(Video().SuitsDisplayDepth(8));
  const std::vector<uint32_t> grey = InternalImageWriter::GreyishTable(256);
  Palette same(reinterpret_cast<const RgbQuad *>(grey.data()), 256);
  m_player->palette = &same;
  EXPECT_TRUE(Video().SuitsDisplayDepth(8));
  m_player->palette = nullptr;
}

} // namespace
