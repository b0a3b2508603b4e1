#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "MemoryWaveSource.h"
#include "media/VORSoundManager.h"
#include "media/VORSoundObjectAction.h"
#include "media/VORWavePlayer.h"
#include "model/ActionContext.h"
#include "support/FakeApp.h"
#include "support/FakeClock.h"
#include "support/FakeSoundDevices.h"

namespace {

// A page object stand-in that notes the announcements it gets.
class Listener : public VORActionReceiver {
public:
  explicit Listener(int32_t id, std::vector<std::string> &log)
      : VORActionReceiver(VORObjectCode::MakeClassKey(2, 0), id), m_log(log) {
    Register();
  }
  ~Listener() override { Unregister(); }
  bool ReceiveAction(VORObjectAction &action, ActionContext &) override {
    m_log.push_back(std::to_string(GetId()) + ":" + std::to_string(action.GetActionCode()));
    return true;
  }

private:
  std::vector<std::string> &m_log;
};

class SoundManagerTest : public ::testing::Test {
protected:
  SoundManagerTest() {
    mixer.levels = {{MixerVolume::kWaveOut, {80, 60}}};
    VORSoundManager::Devices devices;
    devices.waveOut = std::make_unique<FakeWaveOutDevice>(waveOut);
    devices.sequencer = std::make_unique<FakeMciDevice>(sequencer);
    devices.makeCDAudio = [this] { return std::make_unique<FakeMciDevice>(cd); };
    devices.mixer = std::make_unique<FakeMixerVolume>(mixer);
    manager = std::make_unique<VORSoundManager>(std::move(devices), clock);
  }

  std::unique_ptr<MemoryWaveSource> Source(uint32_t bytes = 200) {
    return std::make_unique<MemoryWaveSource>(WaveFormat::Pcm(1, 100, 8), std::vector<uint8_t>(bytes, 1));
  }

  // Runs the fade steps the manager scheduled, as the queue would.
  void RunScheduled(uint32_t upTo) {
    while (!app.ScheduledActions().empty()) {
      FakeApp::Scheduled next = std::move(app.ScheduledActions().front());
      app.ScheduledActions().erase(app.ScheduledActions().begin());
      clock.Advance(next.delay);
      if (clock.GetMilliseconds() > upTo)
        return;
      app.ExecuteAction(*next.action);
      volumes.push_back(manager->GetVolume(SoundChannel::kWave));
    }
  }

  FakeApp app;
  FakeClock clock;
  FakeWaveOutDevice::State waveOut;
  FakeMciDevice::State sequencer;
  FakeMciDevice::State cd;
  FakeMixerVolume::State mixer;
  std::unique_ptr<VORSoundManager> manager;
  std::vector<std::string> log;
  std::vector<int32_t> volumes;
};

// The first object hears that its play ended before the second hears that
// its play began.
TEST_F(SoundManagerTest, ASecondWaveEndsTheFirstBeforeItBegins) {
  Listener first(1, log);
  Listener second(2, log);
  int32_t playNumber = 0;
  EXPECT_EQ(manager->PlayWave(Source(), playNumber, &first, 0, 0, -1), 2000);
  EXPECT_EQ(playNumber, 1);
  EXPECT_EQ(manager->PlayWave(Source(), playNumber, &second, -1, 0, -1), -1);
  EXPECT_EQ(playNumber, 2);
  EXPECT_EQ(log, (std::vector<std::string>{"1:1106", "1:1107", "2:1106"}));
}

TEST_F(SoundManagerTest, StopsOnlyTheCurrentPlay) {
  int32_t first = 0;
  int32_t second = 0;
  manager->PlayWave(Source(), first, nullptr, 0, 0, -1);
  manager->PlayWave(Source(), second, nullptr, 0, 0, -1);
  manager->StopCurrentWave(first);
  EXPECT_TRUE(manager->GetWavePlayer()->IsPlaying());
  manager->StopCurrentWave(second);
  EXPECT_FALSE(manager->GetWavePlayer()->IsOpen());
  EXPECT_EQ(manager->GetCurrentWaveSource(), nullptr);
}

// A source released while its play holds loans of it: the player lets go
// first, so nothing reads the freed source afterwards.
TEST_F(SoundManagerTest, ReleasingAPlayingSourceClosesThePlayFirst) {
  auto video = Source(2000);
  manager->PlayWaveSource(video.get(), nullptr, 0, 0, -1);
  EXPECT_GT(video->loansOut, 0);
  manager->ReleaseWaveSource(video.get());
  EXPECT_EQ(video->loansOut, 0);
  EXPECT_FALSE(manager->GetWavePlayer()->IsOpen());
  video.reset();
  int32_t number = 0;
  EXPECT_GT(manager->PlayWave(Source(), number, nullptr, 0, 0, -1), 0);
}

TEST_F(SoundManagerTest, PositionAndEnd) {
  EXPECT_EQ(manager->GetWavePosition(nullptr), VORSoundManager::kNoPosition);
  int32_t number = 0;
  manager->PlayWave(Source(100), number, nullptr, 0, 0, -1);
  waveOut.position = {WaveOutDevice::PositionUnit::kMilliseconds, 300};
  EXPECT_EQ(manager->GetWavePosition(nullptr), 300);
  while (FakeWaveOutDevice::FinishOne(waveOut)) {
  }
  EXPECT_EQ(manager->GetWavePosition(nullptr), VORSoundManager::kPlayEnded);
}

// A fading stop of 500 ms lowers the wave channel in steps of 100 ms, then
// stops it; the channel stays at 0.
TEST_F(SoundManagerTest, FadingStop) {
  int32_t number = 0;
  manager->PlayWave(Source(100000), number, nullptr, 0, 0, -1);
  VORSoundObjectAction stop;
  stop.SetActionCode(VORSoundObjectAction::kStop);
  stop.SetTarget(VORSoundManager::kReference);
  stop.fadeTime = 500;
  stop.channels = VORSoundObjectAction::kWaveChannel;
  ASSERT_TRUE(app.ExecuteAction(stop));
  // The stop after the fade is queued behind the steps.
  ASSERT_EQ(app.ScheduledActions().size(), 2u);
  auto stopAfter = std::move(app.ScheduledActions().back());
  app.ScheduledActions().pop_back();
  RunScheduled(500);
  EXPECT_EQ(volumes, (std::vector<int32_t>{80, 60, 40, 20, 0}));
  EXPECT_TRUE(manager->GetWavePlayer()->IsPlaying());
  EXPECT_EQ(stopAfter.delay, 500u);
  app.ExecuteAction(*stopAfter.action);
  EXPECT_FALSE(manager->GetWavePlayer()->IsOpen());
  EXPECT_EQ(manager->GetVolume(SoundChannel::kWave), 0);
  // The mixer got the saved levels scaled: 40 % of 80 and 60.
  EXPECT_NE(std::find_if(mixer.sets.begin(), mixer.sets.end(),
                         [](const auto &set) { return set.second.left == 32 && set.second.right == 24; }),
            mixer.sets.end());
}

TEST_F(SoundManagerTest, RelativeVolumes) {
  struct Case {
    int16_t change;
    int32_t expected;
  };
  for (const Case &change : {Case{-30, 20}, Case{-80, 0}, Case{+70, 100}}) {
    manager->SetVolume(SoundChannel::kMidi, 50);
    VORSoundObjectAction volume;
    volume.SetActionCode(VORSoundObjectAction::kVolume);
    volume.SetTarget(VORSoundManager::kReference);
    volume.relative = 1;
    volume.volume = change.change;
    volume.channels = VORSoundObjectAction::kMidiChannel;
    app.ExecuteAction(volume);
    EXPECT_EQ(manager->GetVolume(SoundChannel::kMidi), change.expected) << change.change;
  }
}

// A volume action whose record ended early: all channels to 100 at once.
TEST_F(SoundManagerTest, DefaultVolumeActionSetsEveryChannel) {
  for (SoundChannel channel : {SoundChannel::kWave, SoundChannel::kMidi, SoundChannel::kCDAudio})
    manager->SetVolume(channel, 10);
  VORSoundObjectAction volume;
  volume.SetActionCode(VORSoundObjectAction::kVolume);
  volume.SetTarget(VORSoundManager::kReference);
  app.ExecuteAction(volume);
  for (SoundChannel channel : {SoundChannel::kWave, SoundChannel::kMidi, SoundChannel::kCDAudio})
    EXPECT_EQ(manager->GetVolume(channel), 100);
  EXPECT_TRUE(app.ScheduledActions().empty());
}

TEST_F(SoundManagerTest, PlainStopActionStopsEverything) {
  int32_t number = 0;
  manager->PlayWave(Source(), number, nullptr, 0, 0, -1);
  VORObjectAction stop(VORObjectAction::kClassKey, 0);
  stop.SetActionCode(VORSoundManager::kStop);
  stop.SetTarget(VORSoundManager::kReference);
  EXPECT_TRUE(app.ExecuteAction(stop));
  EXPECT_EQ(manager->GetCurrentWaveSource(), nullptr);
}

TEST_F(SoundManagerTest, MixerLevelsComeBackAtTheEnd) {
  manager->SetVolume(SoundChannel::kWave, 10);
  manager.reset();
  ASSERT_FALSE(mixer.sets.empty());
  const auto restored = std::find_if(mixer.sets.rbegin(), mixer.sets.rend(),
                                     [](const auto &set) { return set.first == MixerVolume::kWaveOut; });
  EXPECT_EQ(restored->second.left, 80u);
  EXPECT_EQ(restored->second.right, 60u);
}

} // namespace
