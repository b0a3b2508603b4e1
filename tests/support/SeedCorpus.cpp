#include "support/SeedCorpus.h"

#include <cstdio>

namespace {

bool WriteBytes(const std::string &path, const std::vector<uint8_t> &bytes) {
  FILE *out = std::fopen(path.c_str(), "wb");
  if (!out)
    return false;
  const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
  return std::fclose(out) == 0 && ok;
}

} // namespace

int WriteSeedCorpus(int argc, char **argv, const std::vector<SeedFile> &files) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
    return 2;
  }
  const std::string folder = argv[1];
  for (const SeedFile &file : files) {
    if (!WriteBytes(folder + "/" + file.first, file.second)) {
      std::fprintf(stderr, "%s: cannot write %s\n", argv[0], file.first.c_str());
      return 1;
    }
  }
  return 0;
}
