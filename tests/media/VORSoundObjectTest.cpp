#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "MemoryWaveSource.h"
#include "media/VORCDAudioObject.h"
#include "media/VORMidiObject.h"
#include "media/VORSoundManager.h"
#include "media/VORSoundObjectAction.h"
#include "media/VORWaveObject.h"
#include "model/VORClassRegistry.h"
#include "model/VORPageInstance.h"
#include "model/VORPlayerPage.h"
#include "support/FakeApp.h"
#include "support/FakeClock.h"
#include "support/FakeSoundDevices.h"
#include "support/HeadlessView.h"
#include "support/PublicationRecords.h"
#include "support/WrittenFolder.h"

namespace {

using Properties = VORSoundObject::VORSoundProperties;
using PublicationRecords::SoundRecord;

Properties ReadRecord(const std::vector<PublicationRecords::Field> &fields, size_t count = SIZE_MAX) {
  WrittenFolder folder([&](PublicationWriter::Folder &f) { PublicationRecords::AddRecord(f, fields, count); });
  Properties properties;
  properties.Read(folder.File());
  return properties;
}

SoundRecord FullRecord() {
  SoundRecord record;
  record.flags = 0xFF;
  record.repeatCount = -1;
  record.start = 1500;
  record.end = 9000;
  record.volume = 60;
  record.fadeInTime = 300;
  record.fadeOutTime = 700;
  return record;
}

TEST(VORSoundPropertiesTest, ACutRecordKeepsTheDefaultsOfTheMissingFields) {
  const std::vector<PublicationRecords::Field> fields = FullRecord().Fields();
  const size_t optional = 5, first = fields.size() - optional;
  for (size_t present = 0; present <= optional; ++present) {
    const Properties properties = ReadRecord(fields, first + present);
    const std::string where = present < optional ? "cut before " + fields[first + present].name : "whole";
    EXPECT_EQ(properties.flags, 0xFF) << where;
    EXPECT_EQ(properties.repeatCount, -1) << where;
    EXPECT_EQ(properties.start, present > 0 ? 1500 : 0) << where;
    EXPECT_EQ(properties.end, present > 1 ? 9000 : -1) << where;
    EXPECT_EQ(properties.volume, present > 2 ? 60 : 100) << where;
    EXPECT_EQ(properties.fadeInTime, present > 3 ? 300 : 0) << where;
    EXPECT_EQ(properties.fadeOutTime, present > 4 ? 700 : 0) << where;
  }
}

TEST(VORSoundPropertiesTest, TheFlagsAndTheRepeatCountMustBeThere) {
  const std::vector<PublicationRecords::Field> fields = FullRecord().Fields();
  const size_t flagsField = fields.size() - 7;
  EXPECT_ANY_THROW(ReadRecord(fields, flagsField));
  EXPECT_ANY_THROW(ReadRecord(fields, flagsField + 1));
}

// The copy takes the six low flag bits and leaves the receiver's others.
TEST(VORSoundPropertiesTest, ACopyCarriesSixFlagBitsAndEveryField) {
  const Properties source = ReadRecord(FullRecord().Fields());
  VORCDAudioObject::VORCDAudioProperties target;
  target.flags = 0x80;
  target.Assign(source);
  EXPECT_EQ(target.flags, 0xBF);
  EXPECT_EQ(target.repeatCount, -1);
  EXPECT_EQ(target.start, 1500);
  EXPECT_EQ(target.end, 9000);
  EXPECT_EQ(target.volume, 60);
  EXPECT_EQ(target.fadeInTime, 300);
  EXPECT_EQ(target.fadeOutTime, 700);
  std::unique_ptr<VORObjectProperties> clone(target.Clone());
  EXPECT_NE(dynamic_cast<VORCDAudioObject::VORCDAudioProperties *>(clone.get()), nullptr);
}

TEST(VORSoundObjectClassesTest, TheClassTableMakesTheThreePlayerForms) {
  const VORClassRegistry &registry = VORClassRegistry::Instance();
  std::unique_ptr<VORCodedObject> wave(registry.Create(VORObjectCode::MakeClassKey(2, 0), 1));
  std::unique_ptr<VORCodedObject> midi(registry.Create(VORObjectCode::MakeClassKey(2, 1), 2));
  std::unique_ptr<VORCodedObject> cd(registry.Create(VORObjectCode::MakeClassKey(2, 2), 3));
  EXPECT_NE(dynamic_cast<VORPlayerWaveObject *>(wave.get()), nullptr);
  EXPECT_NE(dynamic_cast<VORPlayerMidiObject *>(midi.get()), nullptr);
  EXPECT_NE(dynamic_cast<VORPlayerCDAudioObject *>(cd.get()), nullptr);
}

class PrintView : public HeadlessView {
public:
  using HeadlessView::HeadlessView;
  bool IsInteractive() override { return false; }
};

uint32_t Msf(uint32_t minutes, uint32_t seconds) { return minutes | seconds << 8; }

// A page with one sound object, shown in a view, with a sound manager over
// fake devices: a CD of ten one-minute tracks.
class SoundObjectTest : public ::testing::Test {
protected:
  SoundObjectTest() {
    for (uint32_t track = 0; track < 10; ++track)
      cd.trackPositions.push_back(Msf(track, 2));
    cd.length = Msf(10, 0);
    VORSoundManager::Devices devices;
    devices.waveOut = std::make_unique<FakeWaveOutDevice>(waveOut);
    devices.sequencer = std::make_unique<FakeMciDevice>(sequencer);
    devices.makeCDAudio = [this] { return std::make_unique<FakeMciDevice>(cd); };
    manager = std::make_unique<VORSoundManager>(std::move(devices), clock);
    app.SetSoundManager(manager.get());
  }
  ~SoundObjectTest() override {
    if (shown)
      instance.Hide();
    app.SetSoundManager(nullptr);
  }

  template <class Form>
  Form &Add(uint16_t code, uint8_t flags) {
    auto *object = new Form(VORObjectCode::MakeClassKey(2, code), 5);
    object->GetFormProperties().flags = flags;
    object->GetFormProperties().start = 3;
    object->GetFormProperties().volume = 70;
    instance.InsertAfter(object, nullptr);
    return *object;
  }
  VORPlayerCDAudioObject &AddCD(uint8_t flags = 0) { return Add<VORPlayerCDAudioObject>(2, flags); }

  void Show(VORPageView &in) {
    instance.Show(in);
    shown = true;
  }
  void Hide() {
    instance.Hide();
    shown = false;
  }
  bool Send(VORSoundObject &object, VORSoundObjectAction &action) {
    action.SetTarget(object.GetObjectCode());
    action.SetOriginObject(object.GetViewReference());
    action.SetOriginPage(object.GetPageReference());
    return app.ExecuteAction(action);
  }
  static VORSoundObjectAction Action(int32_t code) {
    VORSoundObjectAction action;
    action.SetActionCode(code);
    return action;
  }

  FakeApp app;
  FakeClock clock;
  FakeWaveOutDevice::State waveOut;
  FakeMciDevice::State sequencer;
  FakeMciDevice::State cd;
  std::unique_ptr<VORSoundManager> manager;
  VORPlayerPage page{VORPage::kClassKey, 1};
  VORPageInstance instance{page};
  HeadlessView view{1};
  bool shown = false;
};

// The play's began announcement comes back to the object as 1110, which it
// broadcasts as 700 for the triggers that wait for it.
TEST_F(SoundObjectTest, AnObjectThatPlaysOnEntryPlaysItsSpanAndBroadcastsTheStart) {
  VORPlayerCDAudioObject &object = AddCD(VORSoundObject::VORSoundProperties::kPlaysOnEntry);
  Show(view);
  ASSERT_FALSE(cd.log.empty());
  EXPECT_EQ(cd.log.back(), "play 3 4");
  EXPECT_EQ(manager->GetVolume(SoundChannel::kCDAudio), 70);
  EXPECT_EQ(manager->GetPlayingObject(SoundChannel::kCDAudio), object.GetObjectCode());
  EXPECT_EQ(app.BroadcastCodes(), std::vector<int32_t>{VORObject::kSyncStarted});
  EXPECT_TRUE(app.ScheduledActions().empty()) << "no fade-out";
}

TEST_F(SoundObjectTest, NothingPlaysOnEntryWithoutTheFlagOrInAViewThatIsNotInteractive) {
  AddCD(0);
  Show(view);
  EXPECT_TRUE(cd.log.empty());
  Hide();
  instance.DeleteChildren();
  AddCD(VORSoundObject::VORSoundProperties::kPlaysOnEntry);
  PrintView printing(2);
  Show(printing);
  EXPECT_TRUE(cd.log.empty());
  EXPECT_TRUE(app.BroadcastCodes().empty());
}

TEST_F(SoundObjectTest, AFadeInStartsTheChannelSilent) {
  VORPlayerCDAudioObject &object = AddCD();
  object.GetFormProperties().fadeInTime = 1000;
  Show(view);
  VORSoundObjectAction play = Action(VORSoundObjectAction::kPlay);
  play.start = 3;
  EXPECT_TRUE(Send(object, play));
  EXPECT_EQ(manager->GetVolume(SoundChannel::kCDAudio), 0);
  EXPECT_TRUE(manager->IsFading(SoundChannel::kCDAudio));
}

// One minute of sound (or two with one repeat); the fading stop is
// scheduled the fade-out time before the end, at once when the fade-out is
// longer than the sound, never for an endless play. A damaged record's
// negative fade-out of -2^31 puts it at the latest delay, not past the range.
TEST_F(SoundObjectTest, TheFadingStopIsScheduledBeforeTheEnd) {
  struct Case {
    int32_t fadeOut;
    int16_t repeat;
    bool scheduled;
    uint32_t delay;
  };
  const Case cases[] = {{2000, 0, true, 58000}, {2000, 1, true, 118000},         {90000, 0, true, 0},
                        {2000, -1, false, 0},   {INT32_MIN, 0, true, INT32_MAX}, {INT32_MAX, 0, true, 0}};
  VORPlayerCDAudioObject &object = AddCD();
  Show(view);
  for (const Case &c : cases) {
    app.ScheduledActions().clear();
    object.GetFormProperties().fadeOutTime = c.fadeOut;
    VORSoundObjectAction play = Action(VORSoundObjectAction::kPlay);
    play.start = 3;
    play.repeatCount = c.repeat;
    Send(object, play);
    const std::string where = "fade-out " + std::to_string(c.fadeOut) + ", repeat " + std::to_string(c.repeat);
    ASSERT_EQ(app.ScheduledActions().size(), c.scheduled ? 1u : 0u) << where;
    if (!c.scheduled)
      continue;
    EXPECT_EQ(app.ScheduledActions()[0].delay, c.delay) << where;
    auto *stop = dynamic_cast<VORSoundObjectAction *>(app.ScheduledActions()[0].action.get());
    ASSERT_NE(stop, nullptr) << where;
    EXPECT_EQ(stop->GetActionCode(), VORSoundObjectAction::kStop);
    EXPECT_EQ(stop->fadeTime, c.fadeOut);
    EXPECT_EQ(stop->GetTarget(), object.GetObjectCode());
  }
}

// A fading stop fades to silence, then its copy without fade time stops the
// play, which the object announces as ended.
TEST_F(SoundObjectTest, AStopWithAFadeTimeFadesAndThenStops) {
  VORPlayerCDAudioObject &object = AddCD(VORSoundObject::VORSoundProperties::kPlaysOnEntry);
  Show(view);
  VORSoundObjectAction stop = Action(VORSoundObjectAction::kStop);
  stop.fadeTime = 500;
  EXPECT_TRUE(Send(object, stop));
  EXPECT_TRUE(manager->IsFading(SoundChannel::kCDAudio));
  std::unique_ptr<VORObjectAction> later;
  for (FakeApp::Scheduled &scheduled : app.ScheduledActions())
    if (scheduled.action->GetActionCode() == VORSoundObjectAction::kStop) {
      EXPECT_EQ(scheduled.delay, 500u);
      later = std::move(scheduled.action);
    }
  ASSERT_NE(later, nullptr);
  EXPECT_EQ(static_cast<VORSoundObjectAction &>(*later).fadeTime, 0);
  app.ExecuteAction(*later);
  EXPECT_EQ(cd.log.back().rfind("close", 0), 0u) << "stopped and closed";
}

TEST_F(SoundObjectTest, ARelativeVolumeAddsToTheChannelsVolume) {
  VORPlayerCDAudioObject &object = AddCD(VORSoundObject::VORSoundProperties::kPlaysOnEntry);
  Show(view);
  VORSoundObjectAction volume = Action(VORSoundObjectAction::kVolume);
  volume.relative = 1;
  volume.volume = 10;
  EXPECT_TRUE(Send(object, volume));
  EXPECT_EQ(manager->GetVolume(SoundChannel::kCDAudio), 80);
  volume.relative = 0;
  volume.volume = 25;
  EXPECT_TRUE(Send(object, volume));
  EXPECT_EQ(manager->GetVolume(SoundChannel::kCDAudio), 25);
}

TEST_F(SoundObjectTest, LeavingThePageStopsTheObjectsSoundWhenItsFlagSaysSo) {
  AddCD(VORSoundObject::VORSoundProperties::kPlaysOnEntry | VORSoundObject::VORSoundProperties::kStopsOnLeave);
  Show(view);
  Hide();
  EXPECT_EQ(cd.log.back().rfind("close", 0), 0u) << "stopped and closed";
  EXPECT_TRUE(manager->GetPlayingObject(SoundChannel::kCDAudio).IsZero());
}

// A wave object that has not played owns no play, whatever plays now.
TEST_F(SoundObjectTest, AWaveObjectLeavingLeavesAnotherObjectsSoundAlone) {
  auto &wave = Add<VORPlayerWaveObject>(0, VORSoundObject::VORSoundProperties::kPlaysOnEntry |
                                               VORSoundObject::VORSoundProperties::kStopsOnLeave);
  Show(view);
  EXPECT_EQ(wave.GetPlayNumber(), 0) << "no resource, no play";
  VORWaveSource *source = new MemoryWaveSource(WaveFormat::Pcm(1, 100, 8), std::vector<uint8_t>(200, 1));
  int32_t playNumber = 0;
  manager->PlayWave(std::unique_ptr<VORWaveSource>(source), playNumber, nullptr, 0, 0, -1);
  Hide();
  EXPECT_EQ(manager->GetCurrentWaveSource(), source);
}

TEST_F(SoundObjectTest, PauseAndResumeAreTakenByWaveAndMidiObjectsOnly) {
  auto &wave = Add<VORPlayerWaveObject>(0, 0);
  auto *midi = new VORPlayerMidiObject(VORObjectCode::MakeClassKey(2, 1), 6);
  instance.InsertAfter(midi, nullptr);
  auto *cdObject = new VORPlayerCDAudioObject(VORObjectCode::MakeClassKey(2, 2), 7);
  instance.InsertAfter(cdObject, nullptr);
  Show(view);
  for (int32_t code : {202, 203}) {
    VORSoundObjectAction action = Action(code);
    EXPECT_TRUE(Send(wave, action)) << code;
    EXPECT_TRUE(Send(*midi, action)) << code;
    EXPECT_FALSE(Send(*cdObject, action)) << code;
  }
}

} // namespace
