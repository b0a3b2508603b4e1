// Writes the seed corpus of the publication fuzzer: publications made by the
// test writer's record writers, each with another of the record's shapes.

#include <cstdio>
#include <string>
#include <vector>

#include "support/PublicationRecords.h"

namespace {

using PublicationRecords::Chapter;
using PublicationRecords::Publication;

Publication Plain() {
  Publication publication;
  Chapter first;
  first.pages = {VORObjectKey{0, 4, 1}, VORObjectKey{0, 4, 2}};
  Chapter second;
  second.reference = VORObjectKey{0, 2, 2};
  second.properties.ownWindow = 1;
  publication.chapters = {first, second};
  return publication;
}

Publication EightBitsWithPasswords() {
  Publication publication = Plain();
  publication.colourDepth = 8;
  publication.palette = {{0, 0, 0, 0}, {255, 255, 255, 0}};
  publication.dictionary = {'a', 'b', 'c'};
  publication.oleContainer = 1;
  publication.properties.passwordsOn = 1;
  publication.properties.passwords = {{"gold", {VORObjectKey{0, 2, 2}}}, {"", {VORObjectKey{0, 2, 1}}}};
  publication.properties.firstResource = {1, "intro.avi", true, 2};
  return publication;
}

Publication ShortRecords() {
  Publication publication = Plain();
  publication.propertyFieldCount = 12;
  publication.chapters[1].propertyFieldCount = 7;
  publication.withTextResolution = false;
  return publication;
}

bool Write(const std::string &path, const std::vector<uint8_t> &bytes) {
  FILE *out = std::fopen(path.c_str(), "wb");
  if (!out)
    return false;
  const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
  return std::fclose(out) == 0 && ok;
}

} // namespace

int main(int argc, char **argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
    return 2;
  }
  const std::string folder = argv[1];
  const bool ok = Write(folder + "/plain", Plain().Bytes()) &&
                  Write(folder + "/eight-bits", EightBitsWithPasswords().Bytes(0x04000001)) &&
                  Write(folder + "/short-records", ShortRecords().Bytes());
  return ok ? 0 : 1;
}
