// Seeds of the AVI fuzzer: the sound tracks and frames of ordinary video
// files (PCM and IMA ADPCM tracks, with and without video; 8-bit frames
// with their colours, 24-bit and top-down frames), in the input's order.
#include <cstring>
#include <string>
#include <vector>

#include "FuzzBytes.h"
#include "display/DibTypes.h"
#include "support/SeedCorpus.h"

namespace {

std::vector<uint8_t> PcmChunk(uint16_t channels, uint32_t rate, uint16_t bits) {
  const uint16_t block = static_cast<uint16_t>(channels * bits / 8);
  return FuzzSeed()
      .Put<uint16_t>(1)
      .Put<uint16_t>(channels)
      .Put<uint32_t>(rate)
      .Put<uint32_t>(rate * block)
      .Put<uint16_t>(block)
      .Put<uint16_t>(bits)
      .Take();
}

// IMA ADPCM, mono, 22050 Hz: 256-byte blocks of 505 samples.
std::vector<uint8_t> AdpcmChunk() { return {0x11, 0, 1, 0, 0x22, 0x56, 0, 0, 0, 0, 0, 0, 0, 1, 4, 0, 2, 0, 0xF9, 1}; }

struct Track {
  std::vector<uint8_t> chunk;
  uint32_t rate = 15;
  uint32_t scale = 1;
  uint8_t hasVideo = 1;
  uint32_t aviSamples = 0;
  uint32_t initialFrames = 0;
  uint16_t perBlock = 505;
  uint8_t converterFlags = 0;
  uint32_t trackBytes = 4096;
};

struct Frame {
  int32_t width = 8;
  int32_t height = 6;
  uint16_t bits = 8;
  uint16_t colours = 256;
};

std::vector<uint8_t> Input(const Track &t, const Frame &f) {
  FuzzSeed seed;
  seed.Put<uint8_t>(static_cast<uint8_t>(t.chunk.size())).Append(t.chunk);
  seed.Put<uint32_t>(t.rate).Put<uint32_t>(t.scale).Put<uint32_t>(30).Put<uint8_t>(t.hasVideo);
  seed.Put<uint32_t>(t.aviSamples)
      .Put<uint32_t>(t.initialFrames)
      .Put<uint16_t>(t.perBlock)
      .Put<uint8_t>(t.converterFlags);
  const uint32_t reads[][2] = {{0, 100}, {50, 1470}, {4000, 10}, {0xFFFFFFF0u, 64}};
  seed.Put<uint8_t>(4);
  for (const auto &read : reads)
    seed.Put<uint32_t>(read[0]).Put<uint16_t>(static_cast<uint16_t>(read[1]));
  const uint32_t loans[][2] = {{0, 4096}, {4096, 4096}, {1, 100}, {0x7FFFFFFF, 4096}, {0, 0}};
  seed.Put<uint8_t>(5);
  for (const auto &loan : loans)
    seed.Put<uint32_t>(loan[0]).Put<uint32_t>(loan[1]);
  seed.Put<uint32_t>(t.trackBytes);
  for (uint32_t i = 0; i < t.trackBytes; ++i)
    seed.Put<uint8_t>(static_cast<uint8_t>(i * 13));
  BitmapInfoHeader header{};
  header.biSize = kBitmapInfoHeaderSize;
  header.biWidth = f.width;
  header.biHeight = f.height;
  header.biPlanes = 1;
  header.biBitCount = f.bits;
  header.biClrUsed = f.bits == 8 ? f.colours : 0;
  std::vector<uint8_t> headerBytes(sizeof header);
  std::memcpy(headerBytes.data(), &header, sizeof header);
  seed.Append(headerBytes).Put<uint16_t>(f.colours);
  const uint32_t stride = (static_cast<uint32_t>(f.width) * f.bits / 8 + 3) & ~3u;
  const uint32_t rows = static_cast<uint32_t>(f.height < 0 ? -f.height : f.height);
  const uint32_t rest = (f.bits == 8 ? f.colours * 4u : 0u) + stride * rows;
  for (uint32_t i = 0; i < rest; ++i)
    seed.Put<uint8_t>(static_cast<uint8_t>(i * 7));
  return seed.Take();
}

} // namespace

int main(int argc, char **argv) {
  Track pcm;
  pcm.chunk = PcmChunk(1, 22050, 16);
  pcm.aviSamples = 2048;
  Track stereo8;
  stereo8.chunk = PcmChunk(2, 11025, 8);
  stereo8.rate = 25;
  stereo8.aviSamples = 2048;
  stereo8.initialFrames = 4;
  Track adpcm;
  adpcm.chunk = AdpcmChunk();
  adpcm.aviSamples = 16;
  Track soundOnly = pcm;
  soundOnly.hasVideo = 0;
  Track noRate = pcm;
  noRate.rate = 0;
  Track failing = adpcm;
  failing.converterFlags = 4;
  Track hugeScale = pcm;
  hugeScale.rate = 30000;
  hugeScale.scale = 1001;
  Frame palette;
  Frame trueColour{7, 5, 24, 0};
  Frame topDown{5, -4, 24, 0};
  Frame highColour{6, 3, 16, 0};
  return WriteSeedCorpus(argc, argv,
                         {{"pcm-8bit-frame", Input(pcm, palette)},
                          {"stereo8-24bit-frame", Input(stereo8, trueColour)},
                          {"adpcm-top-down", Input(adpcm, topDown)},
                          {"sound-only", Input(soundOnly, highColour)},
                          {"no-rate", Input(noRate, palette)},
                          {"short-converter", Input(failing, trueColour)},
                          {"ntsc", Input(hugeScale, palette)}});
}
