#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "media/AviAudioReader.h"
#include "media/AviTiming.h"
#include "media/VORVideoWaveSource.h"
#include "media/VORWavePlayer.h"
#include "media/VideoSoundTrack.h"
#include "support/FakeSoundDevices.h"

namespace {

// PCM sample n (16-bit mono) holds n: where a read lands shows in its data.
int16_t SampleAt(const uint8_t *bytes, size_t index) {
  int16_t value = 0;
  std::memcpy(&value, bytes + index * 2, 2);
  return value;
}

// A track of blocks: AVI sample i is a block of blockBytes bytes whose first
// four hold i. For a PCM track each AVI sample is one 16-bit sample holding
// its index.
class FakeSampleStream : public AviSampleStream {
public:
  FakeSampleStream(uint32_t samples, uint32_t blockBytes) : m_samples(samples), m_blockBytes(blockBytes) {}
  bool Read(uint32_t first, uint32_t count, uint8_t *buffer, uint32_t size, uint32_t &bytes,
            uint32_t &samples) override {
    ++reads;
    if (failReads || first >= m_samples) {
      return false;
    }
    samples = std::min(count, m_samples - first);
    bytes = samples * m_blockBytes;
    if (buffer == nullptr) {
      return true;
    }
    if (size < bytes) {
      return false;
    }
    for (uint32_t i = 0; i < samples; ++i) {
      const uint32_t index = first + i;
      std::memset(buffer + i * m_blockBytes, 0, m_blockBytes);
      std::memcpy(buffer + i * m_blockBytes, &index, std::min<uint32_t>(4, m_blockBytes));
    }
    return true;
  }
  int reads = 0;
  bool failReads = false;

private:
  uint32_t m_samples;
  uint32_t m_blockBytes;
};

// "Decompresses" each block into perBlock 16-bit samples numbered from the
// block's index; it fills the whole room it is told of, so a room larger
// than the real buffer shows under the sanitizers.
class FakeConverter : public SoundConverter {
public:
  FakeConverter(uint32_t blockBytes, uint32_t perBlock) : m_blockBytes(blockBytes), m_perBlock(perBlock) {}
  bool Open(const WaveFormat &, const WaveFormat &pcm) override {
    ++opens;
    outputBits = pcm.GetBitsPerSample();
    return !failOpen;
  }
  void Close() override { ++closes; }
  bool OutputSize(uint32_t sourceLength, uint32_t &outputSize) override {
    outputSize = sourceLength / m_blockBytes * m_perBlock * 2;
    return true;
  }
  bool Convert(const uint8_t *source, uint32_t sourceLength, uint8_t *out, uint32_t outSize,
               uint32_t &produced) override {
    if (outSize != 0) {
      std::memset(out, 0x55, outSize);
    }
    produced = 0;
    for (uint32_t block = 0; block < sourceLength / m_blockBytes && produced + m_perBlock * 2 <= outSize; ++block) {
      uint32_t index = 0;
      std::memcpy(&index, source + block * m_blockBytes, 4);
      for (uint32_t j = 0; j < m_perBlock; ++j, produced += 2) {
        const auto value = static_cast<int16_t>(index * m_perBlock + j);
        std::memcpy(out + produced, &value, 2);
      }
    }
    return true;
  }
  int opens = 0;
  int closes = 0;
  bool failOpen = false;
  uint16_t outputBits = 0;

private:
  uint32_t m_blockBytes;
  uint32_t m_perBlock;
};

// IMA ADPCM, mono, 22050 Hz: 256-byte blocks of 505 samples.
WaveFormat ImaAdpcm() {
  uint8_t bytes[20] = {0x11, 0, 1, 0, 0x22, 0x56, 0, 0, 0, 0, 0, 0, 0, 1, 4, 0, 2, 0, 0xF9, 1};
  return WaveFormat::FromChunk(bytes, sizeof bytes);
}

struct Reader {
  Reader(const WaveFormat *format, uint32_t aviSamples, uint32_t blockBytes, uint32_t perBlock, uint32_t request = 1470)
      : stream(aviSamples, blockBytes) {
    auto owned = std::make_unique<FakeConverter>(blockBytes, perBlock);
    converter = owned.get();
    reader = std::make_unique<AviAudioReader>(format, stream, std::move(owned), request);
  }
  FakeSampleStream stream;
  FakeConverter *converter;
  std::unique_ptr<AviAudioReader> reader;
};

TEST(AviAudioReaderTest, PcmIsReadStraight) {
  const WaveFormat pcm = WaveFormat::Pcm(1, 22050, 16);
  Reader r(&pcm, 10000, 2, 1);
  ASSERT_TRUE(r.reader->IsUsable());
  EXPECT_EQ(r.reader->GetSamplesPerAviSample(), 1);
  EXPECT_EQ(r.converter->opens, 0);
  std::vector<uint8_t> out(100);
  uint32_t length = 100;
  ASSERT_TRUE(r.reader->Read(1234, 50, out.data(), length));
  EXPECT_EQ(length, 100u);
  EXPECT_EQ(SampleAt(out.data(), 0), 1234);
  EXPECT_EQ(SampleAt(out.data(), 49), 1283);
}

// A compressed track is read in whole blocks: the cache starts at a block's
// first sample and holds whole blocks.
TEST(AviAudioReaderTest, CompressedTracksAreReadInWholeBlocks) {
  const WaveFormat ima = ImaAdpcm();
  Reader r(&ima, 40, 256, 505);
  ASSERT_TRUE(r.reader->IsUsable());
  EXPECT_EQ(r.reader->GetSamplesPerAviSample(), 505);
  EXPECT_EQ(r.converter->outputBits, 16);
  EXPECT_EQ(r.reader->GetOutputFormat().GetFormatTag(), WaveFormat::kPcm);
  EXPECT_EQ(r.reader->GetOutputBlockSize(), 2u);
  // The probe opened and closed, then the reader keeps one open.
  EXPECT_EQ(r.converter->opens, 2);
  EXPECT_EQ(r.converter->closes, 1);

  struct Case {
    uint32_t first;
    uint32_t count;
    uint32_t cachedFirst;
    uint32_t cachedCount;
  };
  for (const Case &c : {Case{0, 100, 0, 505}, Case{600, 1470, 505, 2020}, Case{1009, 2, 505, 2020},
                        Case{3000, 10, 2525, 505}, Case{3029, 2, 2525, 1010}}) {
    std::vector<uint8_t> out(c.count * 2);
    uint32_t length = static_cast<uint32_t>(out.size());
    ASSERT_TRUE(r.reader->Read(c.first, c.count, out.data(), length)) << c.first;
    EXPECT_EQ(length, c.count * 2u);
    EXPECT_EQ(r.reader->GetCachedFirst(), c.cachedFirst) << c.first;
    EXPECT_EQ(r.reader->GetCachedCount(), c.cachedCount) << c.first;
    for (uint32_t i = 0; i < c.count; ++i) {
      ASSERT_EQ(SampleAt(out.data(), i), static_cast<int16_t>(c.first + i)) << c.first << "+" << i;
    }
  }
  // What the cache holds is not read again.
  const int reads = r.stream.reads;
  std::vector<uint8_t> out(20);
  uint32_t length = 20;
  ASSERT_TRUE(r.reader->Read(3100, 10, out.data(), length));
  EXPECT_EQ(r.stream.reads, reads);
}

TEST(AviAudioReaderTest, ReadsAreCutAtTheTracksEnd) {
  const WaveFormat ima = ImaAdpcm();
  Reader r(&ima, 4, 256, 505); // 2020 samples
  std::vector<uint8_t> out(200 * 2);
  uint32_t length = static_cast<uint32_t>(out.size());
  ASSERT_TRUE(r.reader->Read(1900, 200, out.data(), length));
  EXPECT_EQ(length, 120u * 2);
  EXPECT_EQ(SampleAt(out.data(), 119), 2019);
  length = static_cast<uint32_t>(out.size());
  EXPECT_FALSE(r.reader->Read(2020, 10, out.data(), length));
  // Room for fewer samples than asked: nothing.
  length = 10;
  EXPECT_FALSE(r.reader->Read(0, 10, out.data(), length));
}

TEST(AviAudioReaderTest, UnusableReaders) {
  const WaveFormat ima = ImaAdpcm();
  // A block that yields no whole sample: the samples per block would be 0.
  Reader empty(&ima, 40, 256, 0);
  EXPECT_FALSE(empty.reader->IsUsable());
  std::vector<uint8_t> out(64);
  uint32_t length = 64;
  EXPECT_FALSE(empty.reader->Read(0, 1, out.data(), length));

  Reader none(nullptr, 40, 256, 505);
  EXPECT_FALSE(none.reader->IsUsable());
  EXPECT_FALSE(none.reader->Read(0, 1, out.data(), length));

  FakeSampleStream stream(40, 256);
  stream.failReads = true;
  AviAudioReader failing(&ima, stream, std::make_unique<FakeConverter>(256, 505), 100);
  EXPECT_FALSE(failing.IsUsable());

  FakeSampleStream good(40, 256);
  auto converter = std::make_unique<FakeConverter>(256, 505);
  converter->failOpen = true;
  AviAudioReader unconvertible(&ima, good, std::move(converter), 100);
  EXPECT_FALSE(unconvertible.IsUsable());

  // An 8-bit compressed source gives 8-bit PCM.
  WaveFormat eight = ImaAdpcm();
  uint8_t bytes[20];
  std::memcpy(bytes, eight.GetBytes(), 18);
  bytes[14] = 8;
  bytes[18] = 0;
  bytes[19] = 0;
  eight = WaveFormat::FromChunk(bytes, 18);
  Reader r8(&eight, 4, 256, 505);
  EXPECT_EQ(r8.reader->GetOutputFormat().GetBitsPerSample(), 8);
  EXPECT_EQ(r8.reader->GetOutputBlockSize(), 1u);
}

// The reader and the wave source over a fake track, as an AVI hands them on.
class ReaderTrack : public VideoSoundTrack {
public:
  ReaderTrack(AviAudioReader &reader, uint32_t samples, uint32_t microsecondsPerFrame)
      : m_reader(reader), m_samples(samples), m_microseconds(microsecondsPerFrame) {}
  const WaveFormat &GetSoundFormat() const override { return m_reader.GetOutputFormat(); }
  uint32_t GetSoundDataSize() const override { return m_samples * m_reader.GetOutputBlockSize(); }
  uint32_t GetSoundInitialFrames() const override { return 0; }
  uint32_t GetVideoMicrosecondsPerFrame() const override { return m_microseconds; }
  bool ReadSound(uint32_t first, uint32_t count, uint8_t *destination, uint32_t &length) override {
    return m_reader.Read(first, count, destination, length);
  }

private:
  AviAudioReader &m_reader;
  uint32_t m_samples;
  uint32_t m_microseconds;
};

TEST(VORVideoWaveSourceTest, LoansAreClampedAndBuffersRunOut) {
  const WaveFormat ima = ImaAdpcm();
  Reader r(&ima, 40, 256, 505);
  ReaderTrack track(*r.reader, 40 * 505, 100000);
  VORVideoWaveSource source(track);
  ASSERT_TRUE(source.Open());
  uint32_t count = 0;
  uint32_t size = 0;
  source.GetBufferInfo(count, size);
  EXPECT_EQ(count, 10u);
  EXPECT_EQ(size, 44100u / 10 + 2);
  EXPECT_EQ(source.GetDataSize(), 40u * 505 * 2);
  EXPECT_EQ(source.GetFormat().GetFormatTag(), WaveFormat::kPcm);

  const uint8_t *data = nullptr;
  uint32_t length = 1000000; // more than a buffer holds
  const int64_t first = source.LockData(100, data, length);
  ASSERT_NE(first, VORWaveSource::kNoLoan);
  EXPECT_EQ(length, size - size % 2);
  EXPECT_EQ(SampleAt(data, 0), 50);
  // Near the end: only what is left.
  length = 1000;
  const int64_t last = source.LockData(source.GetDataSize() - 10, data, length);
  ASSERT_NE(last, VORWaveSource::kNoLoan);
  EXPECT_EQ(length, 10u);
  EXPECT_EQ(SampleAt(data, 4), 40 * 505 - 1);
  length = 1000;
  EXPECT_EQ(source.LockData(source.GetDataSize(), data, length), VORWaveSource::kNoLoan);
  for (uint32_t i = 2; i < count; ++i) {
    length = 100;
    EXPECT_NE(source.LockData(0, data, length), VORWaveSource::kNoLoan);
  }
  length = 100;
  EXPECT_EQ(source.LockData(0, data, length), VORWaveSource::kNoLoan);
  source.UnlockData(first);
  source.UnlockData(12345);
  source.UnlockData(-1);
  length = 100;
  EXPECT_EQ(source.LockData(0, data, length), first);
  source.Close();
}

// A track whose format says what a file claims, holding `size` bytes of
// sound (each byte its offset's low byte).
class ClaimingTrack : public VideoSoundTrack {
public:
  ClaimingTrack(uint32_t bytesPerSecond, uint16_t blockAlign, uint32_t size) : m_size(size) {
    uint8_t chunk[16] = {1, 0, 2, 0, 0x44, 0xAC, 0, 0};
    for (int i = 0; i < 4; ++i)
      chunk[8 + i] = static_cast<uint8_t>(bytesPerSecond >> (8 * i));
    chunk[12] = static_cast<uint8_t>(blockAlign);
    chunk[13] = static_cast<uint8_t>(blockAlign >> 8);
    chunk[14] = 16;
    m_format = WaveFormat::FromChunk(chunk, sizeof chunk);
  }
  const WaveFormat &GetSoundFormat() const override { return m_format; }
  uint32_t GetSoundDataSize() const override { return m_size; }
  uint32_t GetSoundInitialFrames() const override { return 64; }
  uint32_t GetVideoMicrosecondsPerFrame() const override { return 1000000; }
  bool ReadSound(uint32_t first, uint32_t count, uint8_t *destination, uint32_t &length) override {
    const uint32_t block = m_format.GetBlockAlign();
    length = std::min(count * block, m_size - first * block);
    for (uint32_t i = 0; i < length; ++i)
      destination[i] = static_cast<uint8_t>(first * block + i);
    return true;
  }

private:
  WaveFormat m_format;
  uint32_t m_size;
};

// The rate is only the file's claim: 0xFFFFFFF0 bytes a second over 64
// initial frames once made 64 buffers of 4 GB, zero-filled before anything
// looked at the format. The buffers are what the track holds; a format that
// cannot be timed opens nothing.
TEST(VORVideoWaveSourceTest, BuffersAreBoundedByTheTrackNotByTheClaimedRate) {
  ClaimingTrack claiming(0xFFFFFFF0, 4, 1000);
  VORVideoWaveSource source(claiming);
  ASSERT_TRUE(source.Open());
  uint32_t count = 0;
  uint32_t size = 0;
  source.GetBufferInfo(count, size);
  EXPECT_EQ(count, 1u);
  EXPECT_EQ(size, 1000u);
  const uint8_t *data = nullptr;
  uint32_t length = 0xFFFFFFFF;
  const int64_t loan = source.LockData(0, data, length);
  ASSERT_NE(loan, VORWaveSource::kNoLoan);
  ASSERT_EQ(length, 1000u);
  EXPECT_EQ(data[999], static_cast<uint8_t>(999));
  source.UnlockData(loan);
  source.Close();

  for (const auto &format : {std::pair<uint32_t, uint16_t>{0, 4}, std::pair<uint32_t, uint16_t>{176400, 0}}) {
    ClaimingTrack untimed(format.first, format.second, 1000);
    VORVideoWaveSource refused(untimed);
    EXPECT_FALSE(refused.Open()) << format.first << " bytes a second, blocks of " << format.second;
  }
}

class SilentAnnouncer : public PlayAnnouncer {
public:
  void AnnouncePlayBegan(SoundChannel) override {}
  void AnnouncePlayEnded(SoundChannel) override {}
};

// The whole compressed track through the wave player: every sample once,
// in order.
TEST(VORVideoWaveSourceTest, TheWavePlayerPlaysTheWholeTrack) {
  const WaveFormat ima = ImaAdpcm();
  Reader r(&ima, 30, 256, 505);
  ReaderTrack track(*r.reader, 30 * 505, 66666);
  VORVideoWaveSource source(track);
  FakeWaveOutDevice::State device;
  SilentAnnouncer announcer;
  VORWavePlayer player(std::make_unique<FakeWaveOutDevice>(device), announcer);
  ASSERT_TRUE(player.Play(&source, 0, VORWavePlayer::kToEnd, VORWavePlayer::kToEnd));
  player.Start();
  while (FakeWaveOutDevice::FinishOne(device)) {
  }
  ASSERT_EQ(device.played.size(), 30u * 505 * 2);
  for (uint32_t i = 0; i < 30 * 505; ++i) {
    ASSERT_EQ(SampleAt(device.played.data(), i), static_cast<int16_t>(i)) << i;
  }
  player.Close();
}

} // namespace
