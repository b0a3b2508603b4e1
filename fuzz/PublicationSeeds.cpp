// Writes the seed corpus of the publication fuzzer: publications made by the
// test writer's record writers, each with another of the record's shapes.

#include "support/PublicationRecords.h"
#include "support/SeedCorpus.h"

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

} // namespace

int main(int argc, char **argv) {
  return WriteSeedCorpus(argc, argv,
                         {{"plain", Plain().Bytes()},
                          {"eight-bits", EightBitsWithPasswords().Bytes(0x04000001)},
                          {"short-records", ShortRecords().Bytes()}});
}
