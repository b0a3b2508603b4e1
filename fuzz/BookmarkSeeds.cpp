// Seeds of the bookmark fuzzer: a flag byte (bit 0: several bookmarks
// allowed), then a bookmark file as the player writes it.
#include <vector>

#include "engine/BookmarkFile.h"
#include "support/SeedCorpus.h"

namespace {

SeedFile Seed(const char *name, uint8_t flags, const std::vector<uint8_t> &file) {
  std::vector<uint8_t> bytes{flags};
  bytes.insert(bytes.end(), file.begin(), file.end());
  return {name, bytes};
}

std::vector<uint8_t> Written(const std::vector<VORObjectCode> &pages) {
  return BookmarkFile::ToTextMode(BookmarkFile::Encode(pages));
}

} // namespace

int main(int argc, char **argv) {
  const std::vector<VORObjectCode> three = {VORObjectCode(0, 4, 1), VORObjectCode(0, 4, 2), VORObjectCode(0, 4, 3)};
  // Ids holding 0x0A and 0x1A: stored folded, and not an end of file.
  const std::vector<VORObjectCode> folded = {VORObjectCode(0, 4, 0x0A), VORObjectCode(0, 4, 0x1A0A),
                                             VORObjectCode(0x0A, 0x0D, 2)};
  std::vector<uint8_t> overCounted = Written(three);
  overCounted[0] = 9; // more records than the file holds
  std::vector<uint8_t> cut = Written(three);
  cut.resize(cut.size() - 3);
  return WriteSeedCorpus(argc, argv,
                         {Seed("empty", 1, Written({})), Seed("three", 1, Written(three)),
                          Seed("three-single", 0, Written(three)), Seed("folded", 1, Written(folded)),
                          Seed("over-counted", 1, overCounted), Seed("cut", 1, cut),
                          Seed("negative-count", 1, {0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 4, 0, 1, 0, 0, 0})});
}
