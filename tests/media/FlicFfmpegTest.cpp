// The decoder against ffmpeg's own FLIC decoder on the same files, pixel by
// pixel: the files come from the test writer, ffmpeg turns every frame it
// finds (the ring frame included) into RGB.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "media/XQFlic.h"
#include "support/FlicWriter.h"
#include "support/TempFile.h"

namespace {

using FlicWriter::Kind;
using FlicWriter::Picture;

constexpr uint16_t kWidth = 64;
constexpr uint16_t kHeight = 48;

std::vector<uint8_t> RunFfmpeg(const std::string &path) {
  const std::string command =
      "ffmpeg -nostdin -v error -i '" + path + "' -fps_mode passthrough -f rawvideo -pix_fmt rgb24 - 2>/dev/null";
  std::vector<uint8_t> out;
  FILE *pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) {
    return out;
  }
  uint8_t buffer[65536];
  size_t got = 0;
  while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0) {
    out.insert(out.end(), buffer, buffer + got);
  }
  pclose(pipe);
  return out;
}

// The decoded frame as RGB through its colour table, rows from the top.
std::vector<uint8_t> Rgb(XQFlic &flic) {
  const DibImage *frame = flic.GetFrameImage();
  const RgbQuad *table = frame->GetColorTable();
  std::vector<uint8_t> rgb;
  for (int32_t y = 0; y < frame->GetHeight(); ++y) {
    const uint8_t *row = frame->GetRowAddress(y);
    for (int32_t x = 0; x < frame->GetWidth(); ++x) {
      rgb.push_back(table[row[x]].red);
      rgb.push_back(table[row[x]].green);
      rgb.push_back(table[row[x]].blue);
    }
  }
  return rgb;
}

Picture Pattern(int step) {
  Picture picture(kWidth * kHeight);
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      // A diagonal band that moves, over a still background with a few
      // solid runs.
      const bool band = ((x + y + step * 5) / 8) % 3 == 0;
      picture[y * kWidth + x] = static_cast<uint8_t>(band ? 200 + step : (x / 16) * 16 + (y / 12));
    }
  }
  return picture;
}

std::vector<uint8_t> Palette() {
  std::vector<uint8_t> rgb(256 * 3);
  for (int i = 0; i < 256; ++i) {
    rgb[i * 3] = static_cast<uint8_t>(i);
    rgb[i * 3 + 1] = static_cast<uint8_t>(255 - i);
    rgb[i * 3 + 2] = static_cast<uint8_t>(i * 5);
  }
  return rgb;
}

// Compares each frame (and the ring frame, which shows frame 0 again).
void ExpectSameAsFfmpeg(const std::vector<uint8_t> &bytes, const char *name, const char *extension) {
  TempFile file(extension);
  ASSERT_TRUE(file.Write(bytes));
  const std::vector<uint8_t> reference = RunFfmpeg(file.Path());
  XQFlic flic;
  ASSERT_TRUE(flic.OpenMemory(bytes.data(), bytes.data() + bytes.size()));
  uint32_t frames = 0;
  uint32_t microseconds = 0;
  flic.GetTiming(frames, microseconds);
  const size_t frameBytes = static_cast<size_t>(kWidth) * kHeight * 3;
  ASSERT_EQ(reference.size(), frameBytes * (frames + 1)) << name << ": ffmpeg gave another frame count";
  for (uint32_t i = 0; i <= frames; ++i) {
    int32_t delay = 0;
    ASSERT_TRUE(flic.ReadFrame(i == frames ? 0 : i, delay));
    const std::vector<uint8_t> mine = Rgb(flic);
    const std::vector<uint8_t> theirs(reference.begin() + static_cast<ptrdiff_t>(i * frameBytes),
                                      reference.begin() + static_cast<ptrdiff_t>((i + 1) * frameBytes));
    EXPECT_TRUE(mine == theirs) << name << ": frame " << i;
  }
}

TEST(FlicFfmpegTest, EncodedFliAndFlcMatchFfmpeg) {
  std::vector<Picture> pictures;
  for (int step = 0; step < 8; ++step) {
    pictures.push_back(Pattern(step));
  }
  ExpectSameAsFfmpeg(FlicWriter::Encode(Kind::kFli, kWidth, kHeight, 5, Palette(), pictures), "encoded FLI", ".fli");
  ExpectSameAsFfmpeg(FlicWriter::Encode(Kind::kFlc, kWidth, kHeight, 40, Palette(), pictures), "encoded FLC", ".flc");
}

// One animation with a frame of every chunk type the decoder knows.
TEST(FlicFfmpegTest, EveryChunkTypeMatchesFfmpeg) {
  const Picture a = Pattern(0);
  const Picture b = Pattern(1);
  const Picture c = Pattern(2);
  const Picture d = Pattern(3);
  const Picture black(a.size(), 0);
  // 64-level colours below 16: ffmpeg copies a level's top two bits into
  // the low bits where this decoder shifts in zeros (63 gives 255 there,
  // 252 here), and below 16 both agree.
  std::vector<uint8_t> dim(16 * 3);
  for (size_t i = 0; i < dim.size(); ++i) {
    dim[i] = static_cast<uint8_t>(i % 16);
  }
  FlicWriter::Animation animation;
  animation.kind = Kind::kFlc;
  animation.width = kWidth;
  animation.height = kHeight;
  animation.speed = 66;
  animation.frames = {
      {FlicWriter::Colors(4, {FlicWriter::ColorPacket{0, Palette()}}), FlicWriter::ByteRun(a, kWidth, kHeight)},
      {FlicWriter::WordDelta(a, b, kWidth, kHeight)},
      {FlicWriter::LineDelta(b, c, kWidth, kHeight)},
      {FlicWriter::Colors(11, {FlicWriter::ColorPacket{200, dim}}), FlicWriter::Copy(d)},
      {FlicWriter::Black()},
      {FlicWriter::WordDelta(black, c, kWidth, kHeight)},
  };
  animation.hasRingFrame = true;
  animation.ringFrame = {FlicWriter::Colors(4, {FlicWriter::ColorPacket{0, Palette()}}),
                         FlicWriter::ByteRun(a, kWidth, kHeight)};
  ExpectSameAsFfmpeg(FlicWriter::Write(animation), "every chunk", ".flc");
}

} // namespace
