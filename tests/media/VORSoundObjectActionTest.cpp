#include <gtest/gtest.h>

#include <memory>

#include "media/VORSoundObjectAction.h"
#include "support/FakeRecordFile.h"
#include "support/PublicationRecords.h"

namespace {

VORSoundObjectAction ReadCopy(const PublicationRecords::SoundAction &written) {
  FakeRecordFile file(written.Record());
  VORSoundObjectAction action(1);
  action.Read(file);
  std::unique_ptr<VORObjectAction> copy(action.Clone());
  return dynamic_cast<const VORSoundObjectAction &>(*copy);
}

// Each code's own fields, the record cut after each of them: the fields
// missing take their defaults.
TEST(VORSoundObjectActionTest, RecordsCutAfterEachField) {
  PublicationRecords::SoundAction play;
  play.fields.code = 200;
  play.start = 1500;
  play.end = 4000;
  play.repeatCount = -1;
  for (size_t count = 0; count <= 3; ++count) {
    play.ownFieldCount = count;
    const VORSoundObjectAction read = ReadCopy(play);
    EXPECT_EQ(read.start, count > 0 ? 1500 : 0) << count;
    EXPECT_EQ(read.end, count > 1 ? 4000 : -1) << count;
    EXPECT_EQ(read.repeatCount, count > 2 ? -1 : 0) << count;
  }
  PublicationRecords::SoundAction stop;
  stop.fadeTime = 500;
  stop.channels = 2;
  for (size_t count = 0; count <= 2; ++count) {
    stop.ownFieldCount = count;
    const VORSoundObjectAction read = ReadCopy(stop);
    EXPECT_EQ(read.fadeTime, count > 0 ? 500 : 0) << count;
    EXPECT_EQ(read.channels, count > 1 ? 2 : 7) << count;
  }
  PublicationRecords::SoundAction volume;
  volume.fields.code = 300;
  volume.relative = 1;
  volume.volume = -30;
  volume.fadeTime = 200;
  volume.channels = 4;
  for (size_t count = 0; count <= 4; ++count) {
    volume.ownFieldCount = count;
    const VORSoundObjectAction read = ReadCopy(volume);
    EXPECT_EQ(read.relative, count > 0 ? 1 : 0) << count;
    EXPECT_EQ(read.volume, count > 1 ? -30 : 100) << count;
    EXPECT_EQ(read.fadeTime, count > 2 ? 200 : 0) << count;
    EXPECT_EQ(read.channels, count > 3 ? 4 : 7) << count;
  }
  EXPECT_EQ(VORSoundObjectAction().GetClassKey(), 0x40003u);
}

} // namespace
