// Writes the seed corpus of the RIFF WAVE fuzzer: PCM files of a few
// shapes, a file with an odd chunk before its format, a compressed format
// with extra bytes. The first byte of each seed chooses how it is played.

#include <cstdint>
#include <vector>

#include "support/SeedCorpus.h"
#include "support/WaveFileWriter.h"

namespace {

std::vector<uint8_t> Seed(uint8_t choice, const std::vector<uint8_t> &file) {
  std::vector<uint8_t> seed{choice};
  seed.insert(seed.end(), file.begin(), file.end());
  return seed;
}

} // namespace

int main(int argc, char **argv) {
  using WaveFileWriter::File;
  using WaveFileWriter::PcmFormat;
  std::vector<uint8_t> adpcm = PcmFormat(1, 8000, 4);
  adpcm[0] = 0x11;
  adpcm.insert(adpcm.end(), {2, 0, 0xF9, 0x01});
  const std::vector<SeedFile> seeds = {
      {"mono16", Seed(0x12, WaveFileWriter::PcmFile(1, 1000, 16, WaveFileWriter::SineTone16(1000, 50, 300, 9000)))},
      {"stereo8", Seed(0x63, WaveFileWriter::PcmFile(2, 500, 8, std::vector<uint8_t>(900, 0x80)))},
      {"odd-chunk", Seed(0x05, File({{"LIST", {'i', 'n', 'f'}}, {"fmt ", PcmFormat(1, 800, 8)}, {"data", {1, 2, 3}}}))},
      {"adpcm", Seed(0x81, File({{"fmt ", adpcm}, {"fact", {0, 1, 0, 0}}, {"data", std::vector<uint8_t>(256, 7)}}))},
  };
  return WriteSeedCorpus(argc, argv, seeds);
}
