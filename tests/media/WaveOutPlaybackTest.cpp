#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

#include "MemoryWaveSource.h"
#include "media/VORWavePlayer.h"
#include "media/Win32SoundSystem.h"
#include "support/FakeApp.h"
#include "support/WaveFileWriter.h"

namespace {

class Silent : public PlayAnnouncer {
public:
  void AnnouncePlayBegan(SoundChannel) override {}
  void AnnouncePlayEnded(SoundChannel) override {}
};

std::vector<uint8_t> ReadCapture() {
  std::vector<uint8_t> bytes;
  if (FILE *file = std::fopen(VOR_ALSA_CAPTURE, "rb")) {
    uint8_t buffer[4096];
    size_t read = 0;
    while ((read = std::fread(buffer, 1, sizeof buffer, file)) > 0)
      bytes.insert(bytes.end(), buffer, buffer + read);
    std::fclose(file);
  }
  return bytes;
}

// Stereo 16-bit at 44100 Hz, the device's own format, so the capture holds
// the samples as given: a 441 Hz tone, three buffers' worth, played through
// the ring and its MM_WOM_DONE notices.
TEST(WaveOutPlaybackTest, ToneSamplesReachTheDevice) {
  std::remove(VOR_ALSA_CAPTURE);
  FakeApp app;
  const std::vector<uint8_t> mono = WaveFileWriter::SineTone16(44100, 441, 44100 / 2, 12000);
  std::vector<uint8_t> stereo;
  for (size_t at = 0; at + 1 < mono.size(); at += 2)
    stereo.insert(stereo.end(), {mono[at], mono[at + 1], mono[at], mono[at + 1]});
  MemoryWaveSource source(WaveFormat::Pcm(2, 44100, 16), stereo);
  source.bufferCount = 4;
  source.bufferSize = 44100;
  Silent silent;
  {
    VORWavePlayer player(Win32SoundSystem::MakeWaveOutDevice(GetModuleHandleA(nullptr)), silent);
    if (!player.HasDevice())
      GTEST_SKIP() << "no wave-out device";
    ASSERT_TRUE(player.Play(&source, 1, 0, -1));
    player.Start();
    const DWORD until = GetTickCount() + 20000;
    MSG message;
    while (player.IsPlaying() && GetTickCount() < until) {
      if (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&message);
      else
        Sleep(5);
    }
    EXPECT_TRUE(player.HasEnded());
    player.Close();
  }
  EXPECT_EQ(source.loansOut, 0);
  const std::vector<uint8_t> captured = ReadCapture();
  ASSERT_GE(captured.size(), stereo.size());
  // One period of the tone (100 frames, 400 bytes) from the middle of the
  // sound appears in the capture, and so does the peak amplitude.
  const auto period = stereo.begin() + 40000;
  EXPECT_NE(std::search(captured.begin(), captured.end(), period, period + 400), captured.end());
  int peak = 0;
  for (size_t at = 0; at + 1 < captured.size(); at += 2)
    peak = std::max(peak, std::abs(static_cast<int16_t>(captured[at] | captured[at + 1] << 8)));
  EXPECT_NEAR(peak, 12000, 2);
}

} // namespace
