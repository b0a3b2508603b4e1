#include "support/CentredPage.h"
#include "support/DemoPublication.h"
#include "support/FilledPage.h"
#include "support/PictureFileWriter.h"
#include "support/ProgramDriver.h"
#include "support/PublicationRecords.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

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
  // Starts the full run on a publication of its own and waits for the saver
  // window; what it shows is the caller's to wait for.
  bool StartOn(const PublicationRecords::Publication &publication) {
    if (!driver.Start(CopySaverInto(folder, publication), "/s"))
      return false;
    window = driver.WaitForWindow(kSaverClass, kWindowTimeoutMs, nullptr, true);
    return window != nullptr;
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

// ---- The saver plays as the players do: picture files, transitions ----

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlue = RGB(0, 0, 200);
constexpr COLORREF kOrange = RGB(240, 160, 0);
// The demo's picture page: one picture file of each format. The saver, like
// the compact player, reads BMP (and Photo CD) itself and has no import
// filters: the BMP shows in both its halves, the other objects leave the
// page white.
TEST(ScreenSaverTest, TheRunShowsABmpPictureFileBesideThePublication) {
  constexpr SIZE kPictures{320, 240};
  PublicationRecords::Page pictures = DemoPublication::PicturePage(1, 1);
  pictures.properties.timedPageDelay = -1; // the page stays
  pictures.properties.timedPage = VORObjectKey{0, 0, 0};
  PublicationRecords::Publication publication = PublicationRecords::SmallPagesInAWindow("Pictures", 0, {pictures});
  publication.chapters[0].properties.pageWidth = kPictures.cx;
  publication.chapters[0].properties.pageHeight = kPictures.cy;
  SaverRun run;
  for (const auto &file : DemoPublication::PictureFiles())
    run.folder.WriteFile(file.first, std::string(file.second.begin(), file.second.end()));
  ASSERT_TRUE(run.StartOn(publication));
  const CentredPage page(run.window, kPictures);
  ASSERT_TRUE(page.WaitForPixel(5, 5, kWhite)) << "the page shows";
  for (const DemoPublication::PictureSpot &spot : DemoPublication::PictureSpots()) {
    const int x = spot.left + spot.width / 2, upper = spot.top + spot.height / 4,
              lower = spot.top + spot.height * 3 / 4;
    if (std::string(spot.fileName) == "demo.bmp") {
      EXPECT_TRUE(page.WaitForPixel(x, upper, spot.topColour)) << std::hex << page.Pixel(x, upper);
      EXPECT_EQ(page.Pixel(x, lower), spot.bottomColour);
      EXPECT_EQ(page.Pixel(spot.left - 2, upper), kWhite) << "the picture fills its object only";
    }
  }
  // Looked at once the BMP is up, so the page is whole.
  for (const DemoPublication::PictureSpot &spot : DemoPublication::PictureSpots()) {
    if (std::string(spot.fileName) != "demo.bmp") {
      EXPECT_EQ(page.Pixel(spot.left + spot.width / 2, spot.top + spot.height / 4), kWhite) << spot.fileName;
    }
  }
  run.driver.Kill();
}

// A blue page that goes on after a while to an orange page entering with a
// fade of 16 levels over 2 s: its centre passes through colours between the
// two before it shows the orange page.
TEST(ScreenSaverTest, APageEnteredWithAFadeMixesTheTwoPagesAtItsCentre) {
  constexpr uint16_t kFadeCode = 10;
  PublicationRecords::Page first = FilledPage(1, kBlue, 200, 100);
  first.properties.timedPageDelay = 1500;
  first.properties.timedPage = VORObjectKey{0, 4, 2};
  PublicationRecords::Page second = FilledPage(2, kOrange, 200, 100);
  second.properties.enterTransition = {"Fade", kFadeCode, PublicationRecords::FadeFXFields(2000, 16, 0xFFFFFFFF)};
  SaverRun run;
  ASSERT_TRUE(run.StartOn(PublicationRecords::SmallPagesInAWindow("Fade", 0, {first, second})));
  const CentredPage page(run.window, SIZE{200, 100});
  ASSERT_TRUE(page.WaitForPixel(100, 50, kBlue)) << "the first page shows";
  const std::vector<COLORREF> samples = page.SampleUntil(100, 50, kOrange);
  EXPECT_EQ(samples.back(), kOrange) << "the new page shows";
  EXPECT_GE(CentredPage::MixedColours(samples, kBlue, kOrange).size(), 2u) << "the fade stepped through mixed colours";
  run.driver.Kill();
}

// A slideshow of two BMP files beside the publication, red then blue, each
// entering with a fade: its middle goes through mixed colours to the blue
// slide, then back to the red one. The fades run on the slideshow's own
// surface while the page goes on, whether the slideshow runs its effects
// modally (the record's default) or not: a fade never runs modally.
TEST(ScreenSaverTest, ASlideshowWithAFadeStepsThroughItsSlides) {
  constexpr COLORREF kRed = RGB(220, 0, 0);
  constexpr uint16_t kFadeCode = 10;
  constexpr int16_t kPublicationFolder = 1;
  constexpr uint8_t kPictureStorage = 2;
  const PublicationRecords::FXRecord fade{"Fade", kFadeCode, PublicationRecords::FadeFXFields(1000, 16, 0xFFFFFFFF)};
  for (const uint8_t modal : {0, 1}) {
    PublicationRecords::Page page = PublicationRecords::ColouredPage(1, kWhite);
    PublicationRecords::SlideshowRecord record;
    record.hotSpot.graphical.Place(20, 20, 120, 80);
    record.repeatCount = -1;
    record.slides = {{1500, VORObjectKey{4, 0, 2}, fade}, {1500, VORObjectKey{4, 0, 3}, fade}};
    record.hotSpot.graphical.modalTransition = modal;
    page.objects.push_back(PublicationRecords::SlideshowObject(
        1, record,
        {PublicationRecords::ExternalResourceObject(2, {kPublicationFolder, "red.bmp", true, kPictureStorage}),
         PublicationRecords::ExternalResourceObject(3, {kPublicationFolder, "blue.bmp", true, kPictureStorage})}));
    SaverRun run;
    for (const auto &slide : {std::make_pair("red.bmp", kRed), std::make_pair("blue.bmp", kBlue)}) {
      const std::vector<uint8_t> bmp = PictureFileWriter::Write("bmp", {100, 60, slide.second, slide.second});
      run.folder.WriteFile(slide.first, std::string(bmp.begin(), bmp.end()));
    }
    ASSERT_TRUE(run.StartOn(PublicationRecords::SmallPagesInAWindow("Slides", 0, {page}))) << "modal " << +modal;
    const CentredPage shown(run.window, SIZE{200, 100});
    ASSERT_TRUE(shown.WaitForPixel(150, 10, kWhite)) << "modal " << +modal << ": the page shows";
    ASSERT_TRUE(shown.WaitForPixel(70, 50, kRed)) << "modal " << +modal << ": the first slide";
    const std::vector<COLORREF> toBlue = shown.SampleUntil(70, 50, kBlue);
    EXPECT_EQ(toBlue.back(), kBlue) << "modal " << +modal << ": the timer brings the second slide";
    EXPECT_GE(CentredPage::MixedColours(toBlue, kRed, kBlue).size(), 2u)
        << "modal " << +modal << ": the slide faded in";
    EXPECT_TRUE(shown.WaitForPixel(70, 50, kRed)) << "modal " << +modal << ": and the first again";
    EXPECT_EQ(shown.Pixel(150, 50), kWhite) << "modal " << +modal;
    run.driver.Kill();
  }
}

} // namespace
