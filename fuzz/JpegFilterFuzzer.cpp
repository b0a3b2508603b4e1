// The JPEG import filter's entry over any bytes as a file: the picture
// decoded and handed out as the player asks for it, its progress reported
// until a late report cancels, and the description read alone; nothing may
// be left allocated, and a picture handed out must be one live block.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "FilterFuzz.h"

namespace {

// One file per process, written anew for every input.
const std::string &InputPath() {
  static const std::string path = [] {
    char name[] = "/tmp/vor-jpeg-fuzz-XXXXXX";
    const int file = mkstemp(name);
    if (file < 0)
      std::abort();
    close(file);
    return std::string(name);
  }();
  return path;
}

int32_t CancelLate(FilterProgress *progress) { return progress->userValue != 0 && progress->done > 90 ? 1 : 0; }

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const std::string &path = InputPath();
  std::FILE *file = std::fopen(path.c_str(), "wb");
  if (file == nullptr || std::fwrite(data, 1, size, file) != size || std::fclose(file) != 0)
    std::abort();
  MemoryFilterIo io;
  io.SetAllocationLimit(kFuzzAllocationLimit);
  for (const uintptr_t cancels : {0u, 1u}) {
    FilterHandle picture = nullptr;
    const FilterResult result = ImportJpegImage(CancelLate, cancels, path.c_str(), &picture);
    if ((result == kFilterSuccess) != (picture != nullptr) || (picture != nullptr && io.LiveBlocks() != 1))
      std::abort(); // a picture handed out on success only, and nothing else kept
    if (picture != nullptr)
      io.Free(picture);
  }
  FilterContext context{};
  InitFilterContext(context, nullptr, 0, path.c_str());
  context.decode = 0;
  ReadJpegFile(&context);
  FreeFilterRecords(context);
  if (io.LiveBlocks() != 0 || io.OpenFiles() != 0)
    std::abort(); // a block or the file left behind
  return 0;
}
