// AVI files made by ffmpeg read through the system's AVI file library, its
// codecs and the audio compression manager, checked against ffmpeg's own
// decoding of the same files.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "media/VORVideoWaveSource.h"
#include "media/VORWavePlayer.h"
#include "media/XQAVI.h"
#include "support/FakeSoundDevices.h"

namespace {

constexpr int32_t kWidth = 64;
constexpr int32_t kHeight = 48;
constexpr uint32_t kFrames = 10;

std::string Fixture(const std::string &name) { return std::string("Z:") + VOR_AVI_DIR + "/" + name; }

std::vector<uint8_t> ReadAll(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class AviLibrary : public ::testing::Environment {
public:
  void SetUp() override {
    HMODULE library = LoadLibraryA("avifil32.dll");
    ASSERT_NE(library, nullptr);
    auto initialize =
        reinterpret_cast<void(WINAPI *)()>(reinterpret_cast<void *>(GetProcAddress(library, "AVIFileInit")));
    ASSERT_NE(initialize, nullptr);
    initialize();
  }
};
const auto *const kAviLibrary = ::testing::AddGlobalTestEnvironment(new AviLibrary);

// The frame as 24-bit BGR rows bottom-up, whatever depth the codec gave.
std::vector<uint8_t> Bgr(const DibImage &frame) {
  std::vector<uint8_t> out;
  for (int32_t y = frame.GetHeight() - 1; y >= 0; --y) {
    const uint8_t *row = frame.GetRowAddress(y);
    for (int32_t x = 0; x < frame.GetWidth(); ++x) {
      switch (frame.GetBitsPerPixel()) {
      case 8: {
        const RgbQuad colour = frame.GetColorTable()[row[x]];
        out.insert(out.end(), {colour.blue, colour.green, colour.red});
        break;
      }
      case 16: {
        const uint16_t pixel = static_cast<uint16_t>(row[2 * x] | row[2 * x + 1] << 8);
        auto expand = [](uint32_t five) { return static_cast<uint8_t>(five << 3 | five >> 2); };
        out.insert(out.end(), {expand(pixel & 31), expand(pixel >> 5 & 31), expand(pixel >> 10 & 31)});
        break;
      }
      default: {
        const int32_t bytes = frame.GetBitsPerPixel() / 8;
        out.insert(out.end(), row + x * bytes, row + x * bytes + 3);
      }
      }
    }
  }
  return out;
}

// The largest difference between two 16-bit tracks, which must be as long.
int MaxSampleDifference(const std::vector<uint8_t> &a, const std::vector<uint8_t> &b) {
  if (a.size() != b.size()) {
    return 0x10000;
  }
  int largest = 0;
  for (size_t i = 0; i + 1 < a.size(); i += 2) {
    const auto x = static_cast<int16_t>(a[i] | a[i + 1] << 8);
    const auto y = static_cast<int16_t>(b[i] | b[i + 1] << 8);
    largest = std::max(largest, std::abs(x - y));
  }
  return largest;
}

// Two IMA ADPCM decoders differ in how they round each step: the system's
// and ffmpeg's samples of the 440 Hz tone here differ by up to 20.
constexpr int kAdpcmRounding = 32;

double MeanDifference(const std::vector<uint8_t> &a, const uint8_t *b) {
  double sum = 0;
  for (size_t i = 0; i < a.size(); ++i) {
    sum += std::abs(static_cast<int>(a[i]) - static_cast<int>(b[i]));
  }
  return sum / static_cast<double>(a.size());
}

TEST(XQAVITest, EachCodecsFramesMatchFfmpeg) {
  struct Case {
    const char *name;
    // Lossy codecs decoded by two decoders differ in rounding.
    double tolerance;
    // Wine's MS Video 1 decoder writes its 24-bit output with red and blue
    // exchanged (its 16-bit output is right); the test allows for it
    // rather than the player, which must show real codecs' frames as
    // they come.
    bool redBlueExchanged;
  };
  for (const Case &c : {Case{"topdown", 0, false}, Case{"bottomup", 0, false}, Case{"pal8", 0, false},
                        Case{"msvideo1", 0.5, true}, Case{"cinepak", 0.5, false}}) {
    const std::vector<uint8_t> reference = ReadAll(std::string(VOR_AVI_DIR) + "/" + c.name + ".bgr");
    const size_t frameBytes = kWidth * kHeight * 3;
    ASSERT_EQ(reference.size(), frameBytes * kFrames) << c.name;
    XQAVI avi;
    ASSERT_TRUE(avi.Open(Fixture(std::string(c.name) + ".avi").c_str(), 24)) << c.name;
    EXPECT_TRUE(avi.HasVideo());
    uint32_t frames = 0;
    uint32_t microseconds = 0;
    avi.GetTiming(frames, microseconds);
    EXPECT_EQ(frames, kFrames) << c.name;
    EXPECT_EQ(microseconds, 100000u) << c.name;
    const BitmapInfoHeader *format = avi.GetFormat();
    ASSERT_NE(format, nullptr);
    EXPECT_EQ(format->biWidth, kWidth);
    EXPECT_EQ(std::abs(format->biHeight), kHeight);
    for (uint32_t i = 0; i < kFrames; ++i) {
      int32_t delay = 0;
      ASSERT_TRUE(avi.ReadFrame(i, delay)) << c.name << " " << i;
      const DibImage *frame = avi.GetFrameImage();
      ASSERT_FALSE(frame->IsTopDown());
      ASSERT_EQ(frame->GetWidth(), kWidth);
      ASSERT_EQ(frame->GetHeight(), kHeight);
      std::vector<uint8_t> mine = Bgr(*frame);
      if (c.redBlueExchanged) {
        for (size_t p = 0; p + 2 < mine.size(); p += 3) {
          std::swap(mine[p], mine[p + 2]);
        }
      }
      const double difference = MeanDifference(mine, reference.data() + i * frameBytes);
      EXPECT_LE(difference, c.tolerance) << c.name << " frame " << i;
      // And the frame is this one, not a neighbour.
      const uint32_t other = (i + 5) % kFrames;
      EXPECT_GT(MeanDifference(mine, reference.data() + other * frameBytes), difference + 1) << c.name << " " << i;
    }
    int32_t delay = 0;
    EXPECT_FALSE(avi.ReadFrame(kFrames + 100, delay)) << c.name;
    avi.Close();
    EXPECT_EQ(avi.GetFrameImage(), nullptr);
  }
}

TEST(XQAVITest, FilesThatDoNotOpen) {
  XQAVI avi;
  EXPECT_FALSE(avi.Open(Fixture("missing.avi").c_str(), 24));
  EXPECT_FALSE(avi.Open(Fixture("msvideo1.bgr").c_str(), 24));
  EXPECT_FALSE(avi.HasVideo());
  EXPECT_FALSE(avi.HasAudio());
}

// All of a track read through the reader in requests of a frame's samples.
std::vector<uint8_t> ReadTrack(XQAVI &avi) {
  std::vector<uint8_t> pcm;
  const uint32_t block = avi.GetSoundFormat().GetBlockAlign();
  const uint32_t step = avi.GetSamplesPerFrame();
  std::vector<uint8_t> buffer(step * block);
  for (uint32_t first = 0; first * block < avi.GetSoundDataSize(); first += step) {
    uint32_t length = static_cast<uint32_t>(buffer.size());
    if (!avi.ReadSound(first, step, buffer.data(), length)) {
      break;
    }
    pcm.insert(pcm.end(), buffer.begin(), buffer.begin() + length);
  }
  return pcm;
}

TEST(XQAVITest, SoundTracksAreDeliveredAsPcm) {
  struct Case {
    const char *name;
    bool hasVideo;
    bool compressed;
  };
  for (const Case &c : {Case{"msvideo1", true, false}, Case{"cinepak", true, true}, Case{"soundonly", false, true}}) {
    XQAVI avi;
    ASSERT_TRUE(avi.Open(Fixture(std::string(c.name) + ".avi").c_str(), 24)) << c.name;
    EXPECT_EQ(avi.HasVideo(), c.hasVideo) << c.name;
    ASSERT_TRUE(avi.HasAudio()) << c.name;
    EXPECT_EQ(avi.GetAudioFormat().GetFormatTag(), c.compressed ? 0x11 : 1) << c.name;
    const WaveFormat &pcm = avi.GetSoundFormat();
    EXPECT_EQ(pcm.GetFormatTag(), 1) << c.name;
    EXPECT_EQ(pcm.GetSamplesPerSecond(), 22050u);
    EXPECT_EQ(pcm.GetBlockAlign(), 2);
    // A tenth of a second per frame; a fifteenth without video.
    EXPECT_EQ(avi.GetSamplesPerFrame(), c.hasVideo ? 2205u : 1470u) << c.name;
    AviAudioReader *reader = avi.GetAudioReader();
    ASSERT_TRUE(reader && reader->IsUsable()) << c.name;
    if (c.compressed) {
      // An IMA ADPCM block of n bytes per channel holds (n - 4) x 2 + 1 samples.
      EXPECT_EQ(reader->GetSamplesPerAviSample(), (avi.GetAudioFormat().GetBlockAlign() - 4) * 2 + 1) << c.name;
    } else {
      EXPECT_EQ(reader->GetSamplesPerAviSample(), 1);
    }
    const std::vector<uint8_t> reference = ReadAll(std::string(VOR_AVI_DIR) + "/" + c.name + ".pcm");
    const std::vector<uint8_t> mine = ReadTrack(avi);
    ASSERT_GE(mine.size(), 22050u * 2) << c.name;
    EXPECT_LE(MaxSampleDifference(mine, reference), c.compressed ? kAdpcmRounding : 0) << c.name;
  }
}

class SilentAnnouncer : public PlayAnnouncer {
public:
  void AnnouncePlayBegan(SoundChannel) override {}
  void AnnouncePlayEnded(SoundChannel) override {}
};

// The compressed track through the wave source and the wave player: the
// device is given ffmpeg's samples in order.
TEST(XQAVITest, TheWavePlayerPlaysACompressedTrack) {
  XQAVI avi;
  ASSERT_TRUE(avi.Open(Fixture("cinepak.avi").c_str(), 24));
  VORVideoWaveSource source(avi);
  FakeWaveOutDevice::State device;
  SilentAnnouncer announcer;
  VORWavePlayer player(std::make_unique<FakeWaveOutDevice>(device), announcer);
  ASSERT_TRUE(player.Play(&source, 0, VORWavePlayer::kToEnd, VORWavePlayer::kToEnd));
  EXPECT_EQ(player.GetBufferCount(), 10u);
  player.Start();
  while (FakeWaveOutDevice::FinishOne(device)) {
  }
  const std::vector<uint8_t> reference = ReadAll(std::string(VOR_AVI_DIR) + "/cinepak.pcm");
  EXPECT_LE(MaxSampleDifference(device.played, reference), kAdpcmRounding);
  player.Close();
}

} // namespace
