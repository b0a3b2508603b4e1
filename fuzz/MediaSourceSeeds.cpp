// Seeds of the media-source fuzzer: a choice byte, then a resource's bytes:
// RIFF WAVE files and animations of the publication's own picture format,
// of 8 bits with display times and of 24 bits drawn over earlier frames.
#include <cstdint>
#include <vector>

#include "support/InternalImageWriter.h"
#include "support/SeedCorpus.h"
#include "support/WaveFileWriter.h"

namespace {

std::vector<uint8_t> Seed(uint8_t choice, const std::vector<uint8_t> &entry) {
  std::vector<uint8_t> seed{choice};
  seed.insert(seed.end(), entry.begin(), entry.end());
  return seed;
}

std::vector<uint8_t> Animation(uint16_t depth, uint32_t timing) {
  using namespace InternalImageWriter;
  Picture picture;
  picture.depth = depth;
  picture.width = 6;
  picture.height = 4;
  picture.timing = timing;
  if (depth == 8)
    picture.colours = GreyishTable(256);
  const uint32_t bytesPerPixel = depth / 8u;
  for (int i = 0; i < 3; ++i) {
    Frame frame;
    frame.time = i == 1 ? 40000 : -1;
    const int16_t right = static_cast<int16_t>(2 + 2 * i);
    std::vector<uint8_t> pixels(static_cast<size_t>(right) * 4 * bytesPerPixel, static_cast<uint8_t>(5 + i));
    frame.parts = {RawPart(0, 0, right, 4, pixels)};
    picture.frames.push_back(frame);
  }
  return picture.Bytes();
}

} // namespace

int main(int argc, char **argv) {
  using namespace WaveFileWriter;
  std::vector<uint8_t> adpcm = PcmFormat(1, 8000, 4);
  adpcm[0] = 0x11;
  adpcm.insert(adpcm.end(), {2, 0, 0xF9, 0x01});
  return WriteSeedCorpus(
      argc, argv,
      {{"mono16", Seed(0x00, PcmFile(1, 1000, 16, SineTone16(1000, 50, 300, 9000)))},
       {"stereo8-long-loans", Seed(0x1C, PcmFile(2, 500, 8, std::vector<uint8_t>(900, 0x80)))},
       {"odd-chunk",
        Seed(0x04, File({{"LIST", {'i', 'n', 'f'}}, {"fmt ", PcmFormat(1, 800, 8)}, {"data", {1, 2, 3}}}))},
       {"adpcm", Seed(0x08, File({{"fmt ", adpcm}, {"fact", {0, 1, 0, 0}}, {"data", std::vector<uint8_t>(256, 7)}}))},
       {"animation8", Seed(0x00, Animation(8, 66666))},
       {"animation8-key-index", Seed(0x02, Animation(8, 0))},
       {"animation24-key-colour", Seed(0x01, Animation(24, 100000))}});
}
