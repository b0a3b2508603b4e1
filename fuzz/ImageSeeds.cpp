// Writes the seed corpus of the image fuzzer: packed DIBs as the image
// loaders make them, of every depth, bottom-up and top-down, with full and
// short colour tables and channel masks, and a few cut short.

#include <cstdint>
#include <string>
#include <vector>

#include "support/FakeRecordFile.h"
#include "support/SeedCorpus.h"

namespace {

struct Dib {
  int32_t width = 3;
  int32_t height = 2;
  uint16_t bitCount = 24;
  uint32_t compression = 0;
  uint32_t coloursUsed = 0;
  // Colour-table entries written (and channel masks, for BI_BITFIELDS).
  uint32_t entries = 0;
  uint32_t masks = 0;

  std::vector<uint8_t> Bytes() const {
    RecordBytes bytes;
    bytes.Uint32(40).Uint32(static_cast<uint32_t>(width)).Uint32(static_cast<uint32_t>(height));
    bytes.Uint16(1).Uint16(bitCount).Uint32(compression).Uint32(0).Uint32(2835).Uint32(2835);
    bytes.Uint32(coloursUsed).Uint32(0);
    for (uint32_t i = 0; i < masks; ++i)
      bytes.Uint32(i == 0 ? 0x7C00 : i == 1 ? 0x3E0 : 0x1F);
    for (uint32_t i = 0; i < entries; ++i)
      bytes.Byte(static_cast<uint8_t>(i * 40))
          .Byte(static_cast<uint8_t>(255 - i))
          .Byte(static_cast<uint8_t>(i))
          .Byte(0);
    const uint64_t rowBytes = (static_cast<uint64_t>(width) * bitCount + 31) / 32 * 4;
    const int32_t rows = height < 0 ? -height : height;
    for (uint64_t i = 0; i < rowBytes * static_cast<uint64_t>(rows); ++i)
      bytes.Byte(static_cast<uint8_t>(i * 37 + 11));
    return bytes.Take();
  }
};

std::vector<uint8_t> Cut(std::vector<uint8_t> bytes, size_t length) {
  bytes.resize(length);
  return bytes;
}

} // namespace

int main(int argc, char **argv) {
  std::vector<SeedFile> seeds;
  for (uint16_t bits : {1, 2, 4, 8}) {
    Dib full{9, 5, bits, 0, 0, 1u << bits};
    seeds.push_back({"bits" + std::to_string(bits), full.Bytes()});
    Dib topDown = full;
    topDown.height = -3;
    seeds.push_back({"bits" + std::to_string(bits) + "-top-down", topDown.Bytes()});
  }
  seeds.push_back({"bits8-short-table", Dib{7, 3, 8, 0, 16, 16}.Bytes()});
  seeds.push_back({"bits16", Dib{5, 4, 16}.Bytes()});
  seeds.push_back({"bits16-masks", Dib{5, 4, 16, 3, 0, 0, 3}.Bytes()});
  seeds.push_back({"bits24", Dib{3, 2, 24}.Bytes()});
  seeds.push_back({"bits24-colours-used", Dib{3, 2, 24, 0, 2, 2}.Bytes()});
  seeds.push_back({"bits32", Dib{4, -2, 32}.Bytes()});
  seeds.push_back({"bits32-masks", Dib{4, 3, 32, 3, 0, 0, 3}.Bytes()});
  seeds.push_back({"cut-rows", Cut(Dib{8, 8, 8, 0, 0, 256}.Bytes(), 40 + 1024 + 20)});
  seeds.push_back({"cut-header", Cut(Dib{}.Bytes(), 30)});
  return WriteSeedCorpus(argc, argv, seeds);
}
