#include <gtest/gtest.h>

#include <memory>

#include "media/CDPlayer.h"
#include "media/MidiPlayer.h"
#include "support/FakeSoundDevices.h"

namespace {

class Announcements : public PlayAnnouncer {
public:
  void AnnouncePlayBegan(SoundChannel) override { log += "began "; }
  void AnnouncePlayEnded(SoundChannel) override { log += "ended "; }
  std::string log;
};

uint32_t Msf(uint32_t minutes, uint32_t seconds, uint32_t frames) { return minutes | seconds << 8 | frames << 16; }

TEST(CDPlayerTest, MsfPositionsInMilliseconds) {
  EXPECT_EQ(CDPlayer::MsfToMs(Msf(3, 10, 5)) - CDPlayer::MsfToMs(Msf(1, 50, 70)), 79155);
}

class CDTest : public ::testing::Test {
protected:
  void SetUp() override {
    // Ten tracks a minute apart, from 0:02:00.
    for (uint32_t track = 0; track < 10; ++track)
      device.trackPositions.push_back(Msf(track, 2, 0));
    device.length = Msf(10, 0, 0);
  }
  FakeMciDevice::State device;
  Announcements announcements;
  CDPlayer player{std::make_unique<FakeMciDevice>(device), announcements};
};

TEST_F(CDTest, EndTrackMinusOnePlaysOneTrack) {
  player.Play(0, 3, CDPlayer::kOneTrack);
  EXPECT_EQ(player.GetEndTrack(), 4);
  EXPECT_EQ(player.GetTotalLength(), 60000);
  EXPECT_EQ(device.log.back(), "play 3 4");
  EXPECT_EQ(announcements.log, "began ");
}

// On the last track the play runs to the end of the disc: the first
// track's position plus the disc's length.
TEST_F(CDTest, LastTrackPlaysToTheEndOfTheDisc) {
  player.Play(1, 10, CDPlayer::kOneTrack);
  EXPECT_EQ(device.log.back(), "play 10 -");
  EXPECT_EQ(player.GetTotalLength(), 2 * (602000 - 542000));
}

TEST_F(CDTest, EndTrack99HasNoEndPositionAndRepeatsSo) {
  player.Play(1, 2, CDPlayer::kEndOfDisc);
  EXPECT_EQ(device.log.back(), "play 2 -");
  const uint32_t id = device.openId;
  device.listener->OnNotify(id);
  EXPECT_EQ(device.log.back(), "play 2 -");
  device.listener->OnNotify(id);
  EXPECT_FALSE(player.IsOpen());
  EXPECT_EQ(announcements.log, "began ended ");
}

// Without a CD drive nothing plays and nothing lasts.
TEST_F(CDTest, AbsentDrivePlaysNothing) {
  device.openFails = true;
  player.Play(0, 1, 3);
  EXPECT_FALSE(player.IsOpen());
  EXPECT_EQ(player.GetTotalLength(), 0);
  EXPECT_TRUE(announcements.log.empty());
}

TEST(MidiPlayerTest, LoopsAndLength) {
  FakeMciDevice::State device;
  device.length = 5000;
  Announcements announcements;
  MidiPlayer player(std::make_unique<FakeMciDevice>(device), announcements);
  ASSERT_TRUE(player.Open(XQString("song.mid")));
  ASSERT_TRUE(player.Play(1, 1000, MidiPlayer::kToEnd));
  EXPECT_EQ(player.GetTotalLength(), 8000);
  EXPECT_EQ(device.log.back(), "play 1000 -");
  device.listener->OnNotify(device.openId);
  EXPECT_EQ(device.log.back(), "play 1000 -");
  device.listener->OnNotify(device.openId);
  EXPECT_FALSE(player.IsPlaying());
  EXPECT_EQ(announcements.log, "began ended ");
  // A second open closes the first device first.
  const uint32_t first = device.openId;
  ASSERT_TRUE(player.Open(XQString("other.mid")));
  EXPECT_NE(std::find(device.log.begin(), device.log.end(), "close " + std::to_string(first)), device.log.end());
}

// A play the sequencer refuses is not announced at all.
TEST(MidiPlayerTest, RefusedPlayIsNotAnnounced) {
  FakeMciDevice::State device;
  device.playFails = true;
  Announcements announcements;
  MidiPlayer player(std::make_unique<FakeMciDevice>(device), announcements);
  ASSERT_TRUE(player.Open(XQString("song.mid")));
  EXPECT_FALSE(player.Play(0, 0, -1));
  EXPECT_FALSE(player.IsOpen());
  EXPECT_TRUE(announcements.log.empty());
}

} // namespace
