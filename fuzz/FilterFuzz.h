#pragma once

// What the import filters' fuzz targets share: the input as a file in
// memory, read by a reader, and allocations capped so that a header asking
// for gigabytes is refused (102) as a small machine would refuse it.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "filters/ImportFilters.h"
#include "filters/MemoryFilterIo.h"

constexpr uint64_t kFuzzAllocationLimit = 64 << 20;

inline void FuzzFilter(FilterReader reader, const uint8_t *data, size_t size) {
  MemoryFilterIo io;
  io.SetAllocationLimit(kFuzzAllocationLimit);
  io.AddFile("input", std::vector<uint8_t>(data, data + size));
  FilterContext context{};
  InitFilterContext(context, nullptr, 0, "input");
  const FilterResult result = reader(&context);
  // On success the records and picture stay; on failure nothing may.
  if (result == kFilterSuccess) {
    FilterHandle picture = nullptr;
    if (context.records != nullptr) {
      const auto *records = static_cast<const FilterImageRecord *>(io.Lock(context.records));
      picture = records[0].picture;
    }
    FreeFilterRecords(context);
    if (picture != nullptr)
      io.Free(picture);
  } else if (context.records != nullptr) {
    std::abort();
  }
  if (io.LiveBlocks() != 0 || io.OpenFiles() != 0)
    std::abort(); // a block or the file left behind
}
