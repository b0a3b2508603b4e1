#include "support/ProgramDriver.h"
#include "support/PublicationRecords.h"
#include "support/WaveFileWriter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

using namespace E2e;
constexpr DWORD kPollMs = 10;
constexpr int32_t kPageWidth = 200;
constexpr int32_t kPageHeight = 100;
// Colours as the records and GDI store them: 0x00BBGGRR.
constexpr COLORREF kFirstColour = RGB(200, 40, 40);
constexpr COLORREF kSecondColour = RGB(40, 40, 200);
constexpr int32_t kSoundResource = 3;
constexpr uint8_t kWaveKind = 5;
constexpr uint8_t kPlaysOnEntry = 0x02;
constexpr int32_t kSoundEnded = 701;
constexpr int32_t kGotoPage = 101;
constexpr uint32_t kWaveId = 1;
// Stereo 16-bit at 44100 Hz, the output's own format, so the capture holds
// the samples as written.
constexpr uint32_t kRate = 44100;
constexpr uint32_t kSoundMs = 1000;
constexpr uint32_t kFrames = kRate * kSoundMs / 1000;

std::vector<uint8_t> StereoTone() {
  const std::vector<uint8_t> mono = WaveFileWriter::SineTone16(kRate, 441, kFrames, 12000);
  std::vector<uint8_t> stereo;
  for (size_t at = 0; at + 1 < mono.size(); at += 2)
    stereo.insert(stereo.end(), {mono[at], mono[at + 1], mono[at], mono[at + 1]});
  return stereo;
}

// Page 1 plays the tone on entry from a wave object whose first child names
// it. Its end reaches the objects of the shown pages (a page's own events
// do not hear it): the wave object's own event waits for it and goes to
// page 2.
PublicationRecords::Publication SoundThenNextPage() {
  using namespace PublicationRecords;
  Page first = ColouredPage(1, kFirstColour, kPageWidth, kPageHeight);
  Event next;
  next.objects = {GotoPageAction(1, kGotoPage, VORObjectKey{0, 4, 2})};
  next.delays = {0};
  SoundRecord sound;
  sound.flags = kPlaysOnEntry;
  sound.events.list = {next.Object()};
  sound.events.triggers = {SynchronizationTrigger(1, kSoundEnded, VORObjectKey{2, 0, kWaveId})};
  sound.events.indexes = {0};
  first.objects = {SoundObject(0, kWaveId, sound, {InternalResourceObject(2, kSoundResource, kWaveKind)})};
  Publication publication = SmallPagesInAWindow("Sound end", kCloseBoxExits,
                                                {first, ColouredPage(2, kSecondColour, kPageWidth, kPageHeight)});
  publication.internalResources[kSoundResource] = WaveFileWriter::PcmFile(2, kRate, 16, StereoTone());
  return publication;
}

std::vector<uint8_t> ReadCapture() {
  std::vector<uint8_t> bytes;
  if (FILE *file = std::fopen(VOR_E2E_ALSA_CAPTURE, "rb")) {
    uint8_t buffer[4096];
    size_t read = 0;
    while ((read = std::fread(buffer, 1, sizeof buffer, file)) > 0)
      bytes.insert(bytes.end(), buffer, buffer + read);
    std::fclose(file);
  }
  return bytes;
}

COLORREF PagePixel(HWND window) { return ProgramDriver::ClientPixel(window, 4, 4) & 0xFFFFFF; }

bool WaitForPageColour(HWND window, COLORREF colour) {
  const DWORD start = GetTickCount();
  do {
    if (PagePixel(window) == colour)
      return true;
    Sleep(kPollMs);
  } while (GetTickCount() - start < kWindowTimeoutMs);
  return false;
}

// The output writes into a file and has no clock of its own: the second of
// sound ends after about a quarter of a second, so its length in time
// cannot be checked here. What shows the order is that the whole tone has
// reached the output by the time page 2 shows.
TEST(SoundEndTest, TheEndOfAPageSoundGoesToTheNextPage) {
  std::remove(VOR_E2E_ALSA_CAPTURE);
  ScratchFolder folder;
  folder.WriteFile("sound.vor", PublicationRecords::FileText(SoundThenNextPage()));
  ProgramDriver driver;
  const HWND window = driver.StartPlayer(folder.File("sound.vor"));
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(WaitForPageColour(window, kFirstColour)) << "page 1 did not show";
  ASSERT_TRUE(WaitForPageColour(window, kSecondColour)) << "page 2 did not follow the sound";
  const std::vector<uint8_t> captured = ReadCapture();
  const std::vector<uint8_t> tone = StereoTone();
  EXPECT_GE(captured.size(), tone.size()) << "page 2 showed before the sound had played";
  const auto period = tone.begin() + static_cast<std::ptrdiff_t>(tone.size() / 2);
  EXPECT_NE(std::search(captured.begin(), captured.end(), period, period + 400), captured.end())
      << "the tone is not what was played";
  PostMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_TRUE(driver.WaitForExit(kWindowTimeoutMs));
}

} // namespace
