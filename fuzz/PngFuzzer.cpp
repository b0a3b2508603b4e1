// Any bytes as a PNG file, through its reader; nothing may be read or written
// outside the blocks, and every block and the file are released.
#include "FilterFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  FuzzFilter(ReadPngFile, data, size);
  return 0;
}
