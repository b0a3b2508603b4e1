#include "support/CentredPage.h"
#include "support/ProgramDriver.h"
#include "support/PublicationRecords.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace {

using namespace E2e;
constexpr int32_t kPageWidth = 200;
constexpr int32_t kPageHeight = 100;
constexpr COLORREF kPageColour = RGB(30, 90, 30);
// The video: 64 x 48 at its own size, playing when shown, endlessly.
constexpr int32_t kLeft = 20;
constexpr int32_t kTop = 10;
constexpr int32_t kWidth = 64;
constexpr int32_t kHeight = 48;
constexpr int32_t kFrames = 10;
constexpr uint16_t kPlayWhenShown = 0x08;
constexpr uint16_t kMciMode = 0x10;
// Every fourth pixel of the video is looked at.
constexpr int32_t kStep = 4;

std::string Fixture(const std::string &name) { return std::string(VOR_E2E_AVI_DIR) + "/" + name; }

std::string ReadAll(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

PublicationRecords::Publication VideoPage(uint16_t flags) {
  using namespace PublicationRecords;
  Page page = ColouredPage(1, kPageColour, kPageWidth, kPageHeight);
  VideoRecord video;
  video.hotSpot.graphical.Place(kLeft, kTop, kLeft + kWidth, kTop + kHeight);
  video.videoFlags = flags;
  video.repeatCount = -1;
  page.objects = {AviVideoObject(1, video, "movie.avi")};
  return SmallPagesInAWindow("Video", kCloseBoxExits, {page});
}

// The sampled pixels of the video as B, G, R.
std::vector<uint8_t> Sample(const CentredPage &page) {
  std::vector<uint8_t> pixels;
  for (int32_t y = 0; y < kHeight; y += kStep) {
    for (int32_t x = 0; x < kWidth; x += kStep) {
      const COLORREF colour = page.Pixel(kLeft + x, kTop + y);
      pixels.insert(pixels.end(), {GetBValue(colour), GetGValue(colour), GetRValue(colour)});
    }
  }
  return pixels;
}

// The frame (ffmpeg's decoding, rows bottom-up) closest to the sample, and
// how close.
int BestFrame(const std::string &reference, const std::vector<uint8_t> &sample, double &difference) {
  int best = -1;
  difference = 1e9;
  for (int frame = 0; frame < kFrames; ++frame) {
    double sum = 0;
    size_t at = 0;
    for (int32_t y = 0; y < kHeight; y += kStep) {
      for (int32_t x = 0; x < kWidth; x += kStep) {
        const size_t offset = (static_cast<size_t>(frame) * kWidth * kHeight +
                               static_cast<size_t>(kHeight - 1 - y) * kWidth + static_cast<size_t>(x)) *
                              3;
        for (int c = 0; c < 3; ++c, ++at) {
          sum += std::abs(static_cast<uint8_t>(reference[offset + c]) - sample[at]);
        }
      }
    }
    const double mean = sum / static_cast<double>(sample.size());
    if (mean < difference) {
      difference = mean;
      best = frame;
    }
  }
  return best;
}

// The player shows the video page with the fixture given: the window shows
// that many of the file's frames, one after another, in the object's place;
// with sound, its sound reaches the output.
void ExpectFrames(uint16_t flags, const std::string &fixture, size_t frames, bool withSound) {
  std::remove(VOR_E2E_ALSA_CAPTURE);
  const std::string reference = ReadAll(Fixture(fixture + ".bgr"));
  ASSERT_EQ(reference.size(), static_cast<size_t>(kWidth * kHeight * 3 * kFrames));
  ScratchFolder folder;
  folder.WriteFile("video.vor", PublicationRecords::FileText(VideoPage(flags)));
  folder.WriteFile("movie.avi", ReadAll(Fixture(fixture + ".avi")));
  ProgramDriver driver;
  const HWND window = driver.StartPlayer(folder.File("video.vor"));
  ASSERT_NE(window, nullptr);
  const CentredPage page(window, SIZE{kPageWidth, kPageHeight});
  // Two looks in a row that agree are one frame; collect the frames seen.
  std::set<int> seen;
  const DWORD start = GetTickCount();
  while (seen.size() < frames && GetTickCount() - start < kWindowTimeoutMs) {
    double first = 0;
    double second = 0;
    const int a = BestFrame(reference, Sample(page), first);
    const int b = BestFrame(reference, Sample(page), second);
    if (a == b && first < 4 && second < 4) {
      seen.insert(a);
    }
    Sleep(30);
  }
  EXPECT_GE(seen.size(), frames) << "the window did not show " << frames << " of the file's frames";
  // The track (PCM in the device's own format) is in the output as it is in
  // the file. The frames follow the sound's position, so two frames seen say
  // only that a fifth of it has played: on a loaded machine the middle comes
  // later, and closing the player earlier would cut the sound off before it.
  bool heard = !withSound;
  if (withSound) {
    const std::string sound = ReadAll(Fixture("e2e.pcm"));
    ASSERT_GT(sound.size(), 20000u);
    const auto middle = sound.begin() + static_cast<std::ptrdiff_t>(sound.size() / 2);
    const DWORD listening = GetTickCount();
    while (!heard && GetTickCount() - listening < kWindowTimeoutMs) {
      const std::string captured = ReadAll(VOR_E2E_ALSA_CAPTURE);
      heard = std::search(captured.begin(), captured.end(), middle, middle + 4000) != captured.end();
      if (!heard)
        Sleep(50);
    }
  }
  PostMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_TRUE(driver.WaitForExit(kWindowTimeoutMs));
  EXPECT_TRUE(heard) << "the video's sound is not in the output";
}

// A video object plays its AVI in its own drawing.
TEST(VideoPlayTest, AVideoPlaysItsFramesAndItsSound) { ExpectFrames(kPlayWhenShown, "e2e", 2, true); }

// In MCI mode the system's AVI device draws the file into the object's
// child window. (Wine's device here draws the first frame of a play and
// then waits for ever for the next one, so only one frame is asked for.)
TEST(VideoPlayTest, AnMciVideoShowsItsFileInItsChildWindow) {
  ExpectFrames(kPlayWhenShown | kMciMode, "e2esilent", 1, false);
}

} // namespace
