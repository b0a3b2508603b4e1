// A video's compressed sound track played through the real wave-out device:
// the captured output holds the samples the track's reader delivers.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "media/VORVideoWaveSource.h"
#include "media/VORWavePlayer.h"
#include "media/Win32SoundSystem.h"
#include "media/XQAVI.h"
#include "support/FakeApp.h"

namespace {

class Quiet : public PlayAnnouncer {
public:
  void AnnouncePlayBegan(SoundChannel) override {}
  void AnnouncePlayEnded(SoundChannel) override {}
};

std::vector<uint8_t> ReadFile(const char *path) {
  std::vector<uint8_t> bytes;
  if (FILE *file = std::fopen(path, "rb")) {
    uint8_t buffer[4096];
    size_t read = 0;
    while ((read = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
      bytes.insert(bytes.end(), buffer, buffer + read);
    }
    std::fclose(file);
  }
  return bytes;
}

// Stereo IMA ADPCM at 44100 Hz, the device's own rate, so the capture holds
// the converted samples unchanged.
TEST(AviSoundPlaybackTest, ACompressedTrackReachesTheDevice) {
  std::remove(VOR_ALSA_CAPTURE);
  FakeApp app;
  using Initialise = void(WINAPI *)();
  auto initialise = reinterpret_cast<Initialise>(
      reinterpret_cast<void *>(GetProcAddress(LoadLibraryA("avifil32.dll"), "AVIFileInit")));
  ASSERT_NE(initialise, nullptr);
  initialise();
  XQAVI avi;
  ASSERT_TRUE(avi.Open((std::string("Z:") + VOR_AVI_DIR + "/stereo44.avi").c_str(), 24));
  ASSERT_EQ(avi.GetAudioFormat().GetFormatTag(), 0x11);
  ASSERT_EQ(avi.GetSoundFormat().GetChannels(), 2);
  // What the reader delivers, read directly.
  std::vector<uint8_t> expected(avi.GetSoundDataSize());
  uint32_t length = static_cast<uint32_t>(expected.size());
  ASSERT_TRUE(avi.ReadSound(0, length / 4, expected.data(), length));
  expected.resize(length);

  VORVideoWaveSource source(avi);
  Quiet quiet;
  {
    VORWavePlayer player(Win32SoundSystem::MakeWaveOutDevice(GetModuleHandleA(nullptr)), quiet);
    if (!player.HasDevice()) {
      GTEST_SKIP() << "no wave-out device";
    }
    ASSERT_TRUE(player.Play(&source, 0, 0, -1));
    player.Start();
    const DWORD until = GetTickCount() + 20000;
    MSG message;
    while (player.IsPlaying() && GetTickCount() < until) {
      if (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        DispatchMessageA(&message);
      } else {
        Sleep(5);
      }
    }
    EXPECT_TRUE(player.HasEnded());
    player.Close();
  }
  const std::vector<uint8_t> captured = ReadFile(VOR_ALSA_CAPTURE);
  ASSERT_GE(captured.size(), expected.size());
  // The whole track, past its first block, lies in the capture in one piece.
  const auto middle = expected.begin() + 4096;
  EXPECT_NE(std::search(captured.begin(), captured.end(), middle, expected.end()), captured.end());
}

} // namespace
