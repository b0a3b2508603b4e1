// Writes the seed corpus of the publication fuzzer: publications made by the
// test writer's record writers, each with another of the record's shapes.

#include <optional>

#include "support/FakeRecordFile.h"
#include "support/PublicationRecords.h"
#include "support/SeedCorpus.h"
#include "support/TestPageObject.h"

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
  store.fields.withExtraWord = true;
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

// A page whose event holds one action of every kind, store-information
// actions of every source kind and the other scoring codes, with objects
// for the page cache to load (one damaged, one of an unknown class), and a
// second page for the first to link. Files of versions above 0x4000000
// carry the actions' extra word.
Publication WithEveryAction(uint32_t version) {
  using namespace PublicationRecords;
  const bool withExtraWord = version > 0x4000000;
  const std::optional<int32_t> extraWord = withExtraWord ? std::optional<int32_t>(0) : std::nullopt;
  Publication publication = Plain();
  Event event;
  event.objects = EveryActionKind(withExtraWord);
  for (uint8_t kind = 0; kind <= 4; ++kind) {
    StoreInfo store;
    store.id = 10 + kind;
    store.fields.withExtraWord = withExtraWord;
    store.sourceKind = kind;
    store.text = kind == 4 ? "n = n + 1" : "n";
    store.targetFile = kind == 2 ? "" : "out.txt";
    store.targetVariable = "collected";
    store.replace = kind % 2;
    store.optionalCount = kind;
    event.objects.push_back(store.Object());
  }
  event.objects.push_back(ScoreAction(20, 800, 1, 3, "", extraWord));
  event.objects.push_back(ScoreAction(21, 801, 0, 0, "", extraWord));
  event.objects.push_back(ScoreAction(22, 805, 0, 0, "", extraWord));
  Condition condition;
  condition.op = 2;
  condition.withFlags = version > 0x4000002;
  condition.variable = "SCORE_TOTAL";
  condition.operand = "0";
  event.objects.push_back(condition.Object());
  event.delays = {0, 10, 20, 30};

  Page &page = publication.chapters[0].pages[0];
  page.properties.timedPageDelay = 500;
  page.properties.timedPage = VORObjectKey{0, 4, 2};
  page.properties.events.list = {event.Object()};
  page.properties.events.triggers = {AutoStartTrigger(1), MouseTrigger(2, 0x0102)};
  page.properties.events.indexes = {0, 0};
  const auto object = [](uint32_t id, uint32_t tag) {
    return PageObject{VORObjectKey{TestPageObject::kCategory, TestPageObject::kCode, id},
                      RecordBytes().Uint32(tag).Take()};
  };
  page.objects = {object(1, 11), object(2, 12), PageObject{VORObjectKey{1, 0x7E7E, 3}, {1, 2, 3, 4}}};
  publication.chapters[0].pages[1].objects = {object(4, TestPageObject::kCorruptTag), object(5, 15)};
  return publication;
}

// A page holding one object of every page-object class of the class table
// (a picture among them linking a resource object, a frame with a child, an
// animated image, sound and video objects) and entering and leaving with
// parameterised transitions; a second page with the other effects.
Publication WithEveryPageObject() {
  using namespace PublicationRecords;
  Publication publication = Plain();
  GraphicalRecord graphical;
  graphical.Place(10, 10, 90, 60);
  graphical.showEffect = "Fade";
  HotSpotRecord hotSpot;
  hotSpot.graphical = graphical;
  BackgroundRecord background;
  background.graphical = graphical;
  background.fillKind = 2;
  BorderRecord border;
  border.graphical = graphical;
  border.style = 1;
  ButtonRecord button;
  button.hotSpot = hotSpot;
  SlideshowRecord slideshow;
  slideshow.hotSpot = hotSpot;
  slideshow.slides = {{500, {4, 1, 30}, {"Zoom", 0x1C, ZoomFXFields(200, 0)}}};
  BrowserRecord browser;
  browser.graphical = graphical;
  TextRecord text;
  text.hotSpot = hotSpot;
  ScrollbarRecord scrollbar;
  scrollbar.hotSpot = hotSpot;
  scrollbar.target = {1, 4, 9};
  AnimationControllerRecord path;
  path.path = {{0, 0, 0, 0}, {50, 50, 300, 1}};
  SoundRecord sound;
  VideoRecord video;
  video.hotSpot = hotSpot;
  const PageObject resource = InternalResourceObject(30, 0, 12);
  Page &page = publication.chapters[0].pages[0];
  page.properties.enterTransition = {"Blind", 0x08, BlindFXFields(12, 1, 600, 1, 1)};
  page.properties.exitTransition = {"Shape", 0x1D, ShapeFXFields(3, 50, 5, 4, 3, 45, 800)};
  page.objects = {BackgroundObject(1, background),
                  BorderObject(2, border),
                  ButtonObject(3, button),
                  ImageObject(4, hotSpot, {AnimationControllerObject(5, path), resource}),
                  SimpleHotSpotObject(6, hotSpot),
                  FrameObject(7, hotSpot, {BackgroundObject(8, background)}),
                  TextObject(9, text),
                  ScrollbarObject(10, scrollbar),
                  SlideshowObject(11, slideshow, {resource}),
                  BrowserObject(12, browser),
                  VideoObject(13, video),
                  SoundObject(0, 14, sound),
                  SoundObject(2, 15, sound)};
  Page &second = publication.chapters[0].pages[1];
  second.properties.enterTransition = {"Block", 0x07, BlockFXFields(8, 6, 700, 2)};
  second.properties.exitTransition = {"Scroll", 0x09, ScrollFXFields(-4, 3, 300, 1)};
  second.objects = {ImageObject(1, hotSpot, {}, 6)};
  return publication;
}

} // namespace

int main(int argc, char **argv) {
  return WriteSeedCorpus(argc, argv,
                         {{"plain", Plain().Bytes()},
                          {"eight-bits", EightBitsWithPasswords().Bytes(0x04000001)},
                          {"short-records", ShortRecords().Bytes()},
                          {"events", WithEvents().Bytes(0x04000003)},
                          {"every-action", WithEveryAction(0).Bytes()},
                          {"every-action-extra-word", WithEveryAction(0x04000003).Bytes(0x04000003)},
                          {"every-page-object", WithEveryPageObject().Bytes()}});
}
