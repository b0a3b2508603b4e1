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

// A page whose events hold every kind of trigger, a condition with its
// flags (versions above 0x4000002) and actions with delays.
Publication WithEvents() {
  using namespace PublicationRecords;
  Publication publication = Plain();
  ActionFields fields;
  fields.target = VORObjectKey{0, 0, 1};
  fields.code = 101;
  fields.withExtraWord = true;
  Condition condition;
  condition.op = 8;
  condition.withFlags = true;
  condition.flags = 1;
  condition.variable = "name";
  condition.operand = "a";
  StoreInfo store;
  store.sourceKind = 3;
  store.text = "1 + 2";
  store.targetVariable = "sum";
  Event event;
  event.objects = {Action(1, 1, fields), condition.Object(), store.Object()};
  event.delays = {100, 55};
  Events &events = publication.chapters[0].pages[0].properties.events;
  events.list = {event.Object()};
  events.triggers = {MouseTrigger(1, 0x0102), KeyboardTrigger(2, 'a'), DropTrigger(3, VORObjectKey{1, 2, 3}),
                     SynchronizationTrigger(4, 700, VORObjectKey{2, 0, 1}), AutoStartTrigger(5)};
  events.indexes = {0, 0, 0, 0, 0};
  return publication;
}

} // namespace

int main(int argc, char **argv) {
  return WriteSeedCorpus(argc, argv,
                         {{"plain", Plain().Bytes()},
                          {"eight-bits", EightBitsWithPasswords().Bytes(0x04000001)},
                          {"short-records", ShortRecords().Bytes()},
                          {"events", WithEvents().Bytes(0x04000003)}});
}
