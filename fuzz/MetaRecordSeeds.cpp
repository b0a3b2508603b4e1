// Writes the seed corpus of the metafile record fuzzer: for each filter
// state, the records the filters alter and one they pass, in the enhanced
// and the Windows format.

#include <cstdint>
#include <string>
#include <vector>

#include "display/MetaRecordFilter.h"
#include "support/FakeRecordFile.h"
#include "support/SeedCorpus.h"

namespace {

constexpr uint32_t kKey = 0x00FF00FF;
constexpr uint8_t kWindowsFormat = 4;

std::vector<uint8_t> EnhancedRecords() {
  RecordBytes bytes;
  bytes.Uint32(kEmrSetBkColor).Uint32(12).Uint32(0x123456);
  bytes.Uint32(kEmrSelectObject).Uint32(12).Uint32(kStockObjectFlag | kStockBlackBrush);
  bytes.Uint32(kEmrSelectObject).Uint32(12).Uint32(kStockObjectFlag | kStockBlackPen);
  bytes.Uint32(kEmrCreatePen).Uint32(28).Uint32(1).Uint32(0).Uint32(3).Uint32(0).Uint32(kKey);
  bytes.Uint32(kEmrCreateBrushIndirect).Uint32(24).Uint32(2).Uint32(0).Uint32(kKey).Uint32(0);
  bytes.Uint32(kEmrCreatePen).Uint32(16).Uint32(1).Uint32(0); // shorter than a pen
  bytes.Uint32(14).Uint32(20).Uint32(0).Uint32(0).Uint32(0);  // EMR_EOF, passed on
  return bytes.Take();
}

std::vector<uint8_t> WindowsRecords() {
  RecordBytes bytes;
  bytes.Uint32(5).Uint16(kMetaSetBkColor).Uint32(0x123456);
  bytes.Uint32(8).Uint16(kMetaCreatePenIndirect).Uint16(0).Uint16(1).Uint16(0).Uint32(kKey);
  bytes.Uint32(7).Uint16(kMetaCreateBrushIndirect).Uint16(0).Uint32(kKey).Uint16(0);
  bytes.Uint32(4).Uint16(kMetaCreatePenIndirect).Uint16(0); // shorter than a pen
  bytes.Uint32(3).Uint16(0);                                // the end record, passed on
  return bytes.Take();
}

} // namespace

int main(int argc, char **argv) {
  std::vector<SeedFile> seeds;
  for (uint8_t modes = 0; modes < 4; ++modes) {
    for (bool windows : {false, true}) {
      std::vector<uint8_t> seed = {static_cast<uint8_t>(modes | (windows ? kWindowsFormat : 0)), 0xFF, 0x00, 0xFF};
      const std::vector<uint8_t> records = windows ? WindowsRecords() : EnhancedRecords();
      seed.insert(seed.end(), records.begin(), records.end());
      seeds.push_back({std::string(windows ? "windows" : "enhanced") + "-modes" + std::to_string(modes), seed});
    }
  }
  return WriteSeedCorpus(argc, argv, seeds);
}
