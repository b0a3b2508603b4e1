// Plays any bytes through the metafile record filters as the drawing
// context's enumerations hand records to them. The first byte chooses the
// filter state (bit 0 mask mode, bit 1 key-colour mode, bit 2 the Windows
// format), the next three the key colour; the rest is a sequence of records,
// each as long as its size field says (cut to what remains, as a player that
// checked the file would), copied to memory of exactly that length so that a
// read past a record is a sanitizer report. An altered copy must be a whole
// record of its own kind whose size field tells its length, no longer than
// the record it replaces.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

#include "display/MetaRecordFilter.h"

namespace {

constexpr size_t kStateBytes = 4;
constexpr size_t kMaxRecords = 256;

uint32_t Read32(const uint8_t *p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
         static_cast<uint32_t>(p[3]) << 24;
}

uint16_t Read16(const uint8_t *p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

// Enhanced records: type (4), size in bytes (4). Windows records: size in
// 16-bit words (4), function (2).
size_t DeclaredSize(const uint8_t *record, size_t remaining, bool windows) {
  if (remaining < 8)
    return remaining;
  const uint64_t declared = windows ? uint64_t{Read32(record)} * 2 : Read32(record + 4);
  // A record always moves the walk on.
  return static_cast<size_t>(std::clamp<uint64_t>(declared, 1, remaining));
}

void CheckAltered(const std::vector<uint8_t> &original, const std::vector<uint8_t> &altered, bool windows) {
  if (altered.size() > original.size() || altered.size() < (windows ? 6u : 8u))
    std::abort(); // the copy is no whole record, or longer than what it replaces
  if (windows) {
    if (uint64_t{Read32(altered.data())} * 2 != altered.size() ||
        Read16(altered.data() + 4) != Read16(original.data() + 4))
      std::abort();
  } else if (Read32(altered.data() + 4) != altered.size() || Read32(altered.data()) != Read32(original.data())) {
    std::abort();
  }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size < kStateBytes)
    return 0;
  MetaRecordFilterState state;
  state.maskMode = (data[0] & 1) != 0;
  state.keyMode = (data[0] & 2) != 0;
  const bool windows = (data[0] & 4) != 0;
  state.keyColor = MakeColorRef(data[1], data[2], data[3]);

  size_t offset = kStateBytes;
  for (size_t n = 0; offset < size && n < kMaxRecords; ++n) {
    const size_t length = DeclaredSize(data + offset, size - offset, windows);
    const std::vector<uint8_t> record(data + offset, data + offset + length);
    // Its own block, exactly as long: the vector's storage may be longer.
    auto exact = std::make_unique<uint8_t[]>(length);
    std::copy(record.begin(), record.end(), exact.get());
    std::vector<uint8_t> altered;
    const bool changed = windows ? AlterMetaRecord(exact.get(), length, state, altered)
                                 : AlterEnhMetaRecord(exact.get(), length, state, altered);
    if (changed)
      CheckAltered(record, altered, windows);
    // Nothing changes without a mode that changes something.
    if (changed && !state.maskMode && !state.keyMode)
      std::abort();
    offset += length;
  }
  std::vector<uint8_t> none;
  if (AlterEnhMetaRecord(nullptr, 0, state, none) || AlterMetaRecord(nullptr, 0, state, none))
    std::abort();
  return 0;
}
