// Seeds of the palette fuzzer: colours to match (plain and palette
// indexes), a row of pixels, then palette records of no, few, all and too
// many entries.
#include <vector>

#include "FuzzBytes.h"
#include "support/SeedCorpus.h"

namespace {

std::vector<uint8_t> Record(int32_t count, uint32_t entries) {
  FuzzSeed record;
  record.Put<int32_t>(count);
  for (uint32_t i = 0; i < entries; ++i)
    record.Put<uint8_t>(static_cast<uint8_t>(i * 7))
        .Put<uint8_t>(static_cast<uint8_t>(255 - i))
        .Put<uint8_t>(static_cast<uint8_t>(i * 3))
        .Put<uint8_t>(0);
  return record.Take();
}

std::vector<uint8_t> Input(const std::vector<uint8_t> &record) {
  FuzzSeed input;
  const uint32_t colours[] = {0x000000, 0xFFFFFF, 0x0080FF, 0x01000005, 0x010000FF, 0x00123456};
  input.Put<uint8_t>(static_cast<uint8_t>(sizeof colours / sizeof colours[0]));
  for (const uint32_t colour : colours)
    input.Put<uint32_t>(colour);
  constexpr uint8_t kWidth = 9;
  input.Put<uint8_t>(kWidth);
  for (int i = 0; i < kWidth * 3; ++i)
    input.Put<uint8_t>(static_cast<uint8_t>(i * 29));
  return input.Append(record).Take();
}

} // namespace

int main(int argc, char **argv) {
  return WriteSeedCorpus(argc, argv,
                         {{"empty", Input(Record(0, 0))},
                          {"two", Input(Record(2, 2))},
                          {"sixteen", Input(Record(16, 16))},
                          {"full", Input(Record(256, 256))},
                          {"over-counted", Input(Record(1000, 256))},
                          {"negative", Input(Record(-5, 3))},
                          {"cut", Input(Record(8, 5))},
                          {"no-count", Input({})}});
}
