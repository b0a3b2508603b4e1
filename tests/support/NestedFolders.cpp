#include "support/NestedFolders.h"

#include <cstddef>

namespace {

constexpr uint32_t kDataItem = 0x80000000u;
constexpr size_t kHeaderSize = 4;

void PutUint32(std::vector<uint8_t> &out, uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8)
    out.push_back(static_cast<uint8_t>(value >> shift));
}

} // namespace

std::vector<uint8_t> NestedFolders(uint32_t depth, const std::vector<uint8_t> &key, const std::vector<uint8_t> &data) {
  const size_t dataItem = kHeaderSize + data.size();
  const size_t level = kHeaderSize + key.size() + dataItem;
  std::vector<uint8_t> out;
  out.reserve(level * depth);
  for (uint32_t i = 0; i < depth; ++i) {
    // What follows this header: the key, the data item and the deeper levels.
    PutUint32(out, static_cast<uint32_t>(key.size() + dataItem + level * (depth - i - 1)));
    out.insert(out.end(), key.begin(), key.end());
    PutUint32(out, kDataItem | static_cast<uint32_t>(data.size()));
    out.insert(out.end(), data.begin(), data.end());
  }
  return out;
}
