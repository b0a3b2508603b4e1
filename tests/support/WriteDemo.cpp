// Writes the demo publication to the path given: run at build time, so
// that scripts/run has something to play.
#include <cstdio>
#include <vector>

#include "support/DemoPublication.h"

int main(int argc, char **argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s demo.vor\n", argv[0]);
    return 2;
  }
  const std::vector<uint8_t> bytes = DemoPublication::Make().Bytes();
  std::FILE *file = std::fopen(argv[1], "wb");
  if (file == nullptr) {
    std::perror(argv[1]);
    return 1;
  }
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  const bool closed = std::fclose(file) == 0;
  if (!written || !closed) {
    std::perror(argv[1]);
    return 1;
  }
  return 0;
}
