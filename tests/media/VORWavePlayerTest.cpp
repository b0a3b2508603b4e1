#include <gtest/gtest.h>

#include <memory>
#include <numeric>

#include "MemoryWaveSource.h"
#include "media/VORWavePlayer.h"
#include "support/FakeApp.h"
#include "support/FakeSoundDevices.h"

namespace {

class Announcements : public PlayAnnouncer {
public:
  void AnnouncePlayBegan(SoundChannel) override { log += "began "; }
  void AnnouncePlayEnded(SoundChannel) override { log += "ended "; }
  std::string log;
};

std::vector<uint8_t> Counting(size_t count) {
  std::vector<uint8_t> bytes(count);
  std::iota(bytes.begin(), bytes.end(), uint8_t{0});
  return bytes;
}

class WavePlayerTest : public ::testing::Test {
protected:
  template <class... Arguments>
  MemoryWaveSource &Make(Arguments &&...arguments) {
    sources.push_back(std::make_unique<MemoryWaveSource>(std::forward<Arguments>(arguments)...));
    return *sources.back();
  }

  FakeApp app;
  FakeWaveOutDevice::State device;
  Announcements announcements;
  // The sources outlive the player, as the sound manager's do.
  std::vector<std::unique_ptr<MemoryWaveSource>> sources;
  VORWavePlayer player{std::make_unique<FakeWaveOutDevice>(device), announcements};

  void PlayToTheEnd() {
    while (FakeWaveOutDevice::FinishOne(device)) {
    }
  }
};

// 8-bit mono at 100 bytes per second: buffers of 100 bytes.
TEST_F(WavePlayerTest, PlaysTheStretchLoopCountPlusOneTimes) {
  MemoryWaveSource &source = Make(WaveFormat::Pcm(1, 100, 8), Counting(250));
  source.bufferCount = 2;
  ASSERT_TRUE(player.Play(&source, 2, 1000, 2000));
  player.Start();
  PlayToTheEnd();
  const std::vector<uint8_t> all = Counting(250);
  std::vector<uint8_t> expected;
  for (int pass = 0; pass < 3; ++pass)
    expected.insert(expected.end(), all.begin() + 100, all.begin() + 200);
  EXPECT_EQ(device.played, expected);
  EXPECT_EQ(announcements.log, "began ended ");
  EXPECT_TRUE(player.HasEnded());
  EXPECT_FALSE(device.open);
  EXPECT_EQ(source.loansOut, 0);
}

TEST_F(WavePlayerTest, StartAndEndPositions) {
  // 22050 bytes per second, mono 16-bit: 1500 ms is byte 33075, cut to 33074.
  MemoryWaveSource &source = Make(WaveFormat::Pcm(1, 11025, 16), std::vector<uint8_t>(50000));
  ASSERT_TRUE(player.Play(&source, 0, 1500, -1));
  EXPECT_EQ(player.GetStartByte(), 33074u);
  EXPECT_EQ(player.GetEndByte(), 50000u);
  // An end beyond the data plays to the end; a start beyond it fails.
  ASSERT_TRUE(player.Play(&source, 0, 0, 100000));
  EXPECT_EQ(player.GetEndByte(), 50000u);
  EXPECT_FALSE(player.Play(&source, 0, 3000, -1));
  EXPECT_FALSE(player.Play(&source, 0, 500, 500));
}

TEST_F(WavePlayerTest, LoansAreCutAtBlockEnds) {
  MemoryWaveSource &source = Make(WaveFormat::Pcm(1, 100, 8), Counting(300), 64);
  ASSERT_TRUE(player.Play(&source, 0, 0, -1));
  player.Start();
  PlayToTheEnd();
  EXPECT_EQ(device.played, Counting(300));
  EXPECT_EQ(device.writtenLengths[0], 64u);
}

// A format that cannot be timed would divide by zero in every position and
// buffer time: it does not play.
TEST_F(WavePlayerTest, UntimedFormatDoesNotPlay) {
  WaveFormat broken = WaveFormat::Pcm(0, 8000, 8);
  MemoryWaveSource &source = Make(broken, Counting(10));
  EXPECT_FALSE(player.Play(&source, 0, 0, -1));
  EXPECT_EQ(source.closes, 1);
  EXPECT_EQ(device.opens, 0);
}

// Closing a play that never started gives its buffers and the device back
// before the source goes.
TEST_F(WavePlayerTest, CloseBeforeStartGivesBuffersBack) {
  MemoryWaveSource &source = Make(WaveFormat::Pcm(1, 100, 8), Counting(300));
  ASSERT_TRUE(player.Play(&source, 0, 0, -1));
  EXPECT_GT(source.loansOut, 0);
  player.Close();
  EXPECT_EQ(source.loansOut, 0);
  EXPECT_EQ(device.prepared, 0);
  EXPECT_FALSE(device.open);
  EXPECT_TRUE(announcements.log.empty());
}

TEST_F(WavePlayerTest, StopGivesEverythingBackAndAnnouncesTheEnd) {
  MemoryWaveSource &source = Make(WaveFormat::Pcm(1, 100, 8), Counting(1000));
  ASSERT_TRUE(player.Play(&source, -1, 0, -1));
  player.Start();
  FakeWaveOutDevice::FinishOne(device);
  player.Stop();
  EXPECT_EQ(device.resets, 1);
  EXPECT_EQ(source.loansOut, 0);
  EXPECT_FALSE(device.open);
  EXPECT_EQ(announcements.log, "began ended ");
  EXPECT_FALSE(player.HasEnded());
}

// A source that stops lending ends the play instead of leaving it silent
// for ever.
TEST_F(WavePlayerTest, FailedLoansEndThePlay) {
  MemoryWaveSource &source = Make(WaveFormat::Pcm(1, 100, 8), Counting(1000));
  source.bufferCount = 2;
  ASSERT_TRUE(player.Play(&source, 0, 0, -1));
  player.Start();
  source.failLoans = true;
  PlayToTheEnd();
  EXPECT_FALSE(player.IsPlaying());
  EXPECT_EQ(announcements.log, "began ended ");
}

TEST_F(WavePlayerTest, PositionFollowsTheDeviceUnit) {
  MemoryWaveSource &source = Make(WaveFormat::Pcm(1, 8000, 16), Counting(100));
  EXPECT_EQ(player.GetPosition(), 0u);
  ASSERT_TRUE(player.Play(&source, 0, 0, -1));
  player.Start();
  const struct {
    WaveOutDevice::PositionUnit unit;
    uint32_t value;
    uint32_t ms;
  } cases[] = {{WaveOutDevice::PositionUnit::kMilliseconds, 250, 250},
               {WaveOutDevice::PositionUnit::kSamples, 4000, 500},
               {WaveOutDevice::PositionUnit::kBytes, 16000, 1000},
               {WaveOutDevice::PositionUnit::kOther, 7, 0}};
  for (const auto &position : cases) {
    device.position = {position.unit, position.value};
    EXPECT_EQ(player.GetPosition(), position.ms) << position.value;
  }
}

TEST_F(WavePlayerTest, NoDeviceNoPlay) {
  FakeWaveOutDevice::State none;
  none.exists = false;
  VORWavePlayer silent(std::make_unique<FakeWaveOutDevice>(none), announcements);
  MemoryWaveSource &source = Make(WaveFormat::Pcm(1, 100, 8), Counting(10));
  EXPECT_FALSE(silent.HasDevice());
  EXPECT_FALSE(silent.Play(&source, 0, 0, -1));
}

} // namespace
