// Seeds of the page-object fuzzers, written with the test writer's record
// writers: entry 0 holds the objects, entry 1 transition parameters, entry
// 2 a picture and entry 3 a sound of the publication's own resources.
// VOR_SEED_SET "pageobject": every graphical object's record, the eight
// transition records and animation controllers of every motion;
// "mediaobject": sound objects of the three kinds and video objects, with
// events whose sound and video actions address them.
#include <string>
#include <vector>

#include "support/InternalImageWriter.h"
#include "support/PublicationRecords.h"
#include "support/PublicationWriter.h"
#include "support/SeedCorpus.h"
#include "support/WaveFileWriter.h"

namespace {

using namespace PublicationRecords;

constexpr int32_t kPictureEntry = 2;
constexpr int32_t kSoundEntry = 3;
constexpr uint8_t kInternalPictureKind = 12;
constexpr uint8_t kWaveKind = 5;

std::vector<uint8_t> Picture() {
  InternalImageWriter::Picture picture;
  picture.colours = InternalImageWriter::GreyishTable(256);
  InternalImageWriter::Frame frame;
  frame.parts = {InternalImageWriter::RawPart(0, 0, 4, 2, {1, 2, 3, 4, 5, 6, 7, 8})};
  picture.frames = {frame};
  return picture.Bytes();
}

std::vector<FXRecord> EveryEffect() {
  return {{"Fade", 0x0A, FadeFXFields(500, 16, 0xFF00FF)},
          {"Pixel", 0x0B, PixelFXFields(400, 1)},
          {"Blind", 0x08, BlindFXFields(12, 1, 600, 1, 1)},
          {"Block", 0x07, BlockFXFields(8, 6, 700, 2)},
          {"Scroll", 0x09, ScrollFXFields(-4, 3, 300, 1)},
          {"Slide", 0x1B, SlideFXFields(5, -5, 300)},
          {"Shape", 0x1D, ShapeFXFields(3, 50, 5, 4, 3, 45, 800)},
          {"Zoom", 0x1C, ZoomFXFields(900, 1)},
          {"Fade", 0x0A, FadeFXFields(1, 0, 0), 2}, // cut after the levels
          {"Jigsaw", 0, {}}};
}

// The events of an object: an auto-start and a mouse trigger each naming
// the one event, which holds the actions.
Events EventsWith(std::vector<ListedObject> actions) {
  Event event;
  event.objects = std::move(actions);
  event.delays.assign(event.objects.size(), 0);
  Events events;
  events.list = {event.Object()};
  events.triggers = {AutoStartTrigger(1), MouseTrigger(2, 0x0102), SynchronizationTrigger(3, 700, {0, 0, 0})};
  events.indexes = {0, 0, 0};
  return events;
}

ListedObject GraphicalAction(uint32_t id, const VORObjectKey &target, int32_t code) {
  ActionFields fields;
  fields.target = target;
  fields.code = code;
  return Action(2, id, fields);
}

std::vector<uint8_t> File(const std::vector<PageObject> &objects, const std::vector<FXRecord> &effects) {
  PublicationWriter writer;
  PublicationWriter::Folder &entry = writer.AddEntry(0);
  for (const PageObject &object : objects)
    object.AddTo(entry);
  std::vector<Field> fields;
  for (const FXRecord &effect : effects)
    fields.push_back(effect.AsField(effect.name));
  AddRecord(writer.AddEntry(1), fields);
  writer.AddEntry(kPictureEntry).AddData(Picture());
  writer.AddEntry(kSoundEntry)
      .AddData(WaveFileWriter::PcmFile(1, 1000, 16, WaveFileWriter::SineTone16(1000, 50, 300, 9000)));
  return writer.Bytes();
}

GraphicalRecord Placed(int32_t left, int32_t top, const std::string &effect = "") {
  GraphicalRecord record;
  record.Place(left, top, left + 80, top + 60);
  record.showEffect = effect;
  record.hideEffect = effect;
  return record;
}

std::vector<SeedFile> GraphicalSeeds() {
  std::vector<SeedFile> seeds;
  const VORObjectKey backgroundKey{1, 0, 1};
  BackgroundRecord gradient;
  gradient.graphical = Placed(0, 0, "Fade");
  gradient.graphical.events =
      EventsWith({GraphicalAction(1, backgroundKey, 13), GraphicalAction(2, backgroundKey, 12),
                  GraphicalAction(3, backgroundKey, 19), GraphicalAction(4, backgroundKey, 20)});
  gradient.fillKind = 2;
  gradient.colour2 = 0x102030;
  BorderRecord border;
  border.graphical = Placed(10, 10);
  border.style = 2;
  border.width = 4;
  border.radius = 8;
  ButtonRecord button;
  button.hotSpot.graphical = Placed(20, 20);
  button.hotSpot.graphical.linkedResource = {4, 1, 9};
  HotSpotRecord hotSpot;
  hotSpot.graphical = Placed(30, 30);
  hotSpot.graphical.draggable = 1;
  hotSpot.graphical.acceptedObjects = {{1, 0, 1}, {1, 2, 3}};
  hotSpot.graphical.dropTargets = {{1, 7, 4}};
  hotSpot.cursor = {1, "hand.cur"};
  SlideshowRecord slideshow;
  slideshow.hotSpot.graphical = Placed(40, 40);
  slideshow.slides = {{500, {4, 1, 9}, {"Fade", 0x0A, FadeFXFields(300, 8, 0)}},
                      {800, {4, 1, 10}, {"Zoom", 0x1C, ZoomFXFields(200, 0)}}};
  BrowserRecord browser;
  browser.graphical = Placed(50, 50);
  browser.startUrl = "http://localhost/";
  TextRecord text;
  text.hotSpot.graphical = Placed(60, 60);
  text.rtf = "{\\rtf1 Hello {\\b bold} world\\par second line}";
  text.segmentTags = {1, 2};
  text.segmentEnds = {100, 200};
  text.links = {TextLinkRecord{}};
  ScrollbarRecord scrollbar;
  scrollbar.target = {1, 4, 7};
  scrollbar.hotSpot.graphical = Placed(150, 60);
  AnimationControllerRecord path;
  path.path = {{0, 0, 0, 0}, {100, 50, 400, 1}, {-20, 300, 250, 2}};
  AnimationControllerRecord bounce;
  bounce.kind = 4;
  bounce.speed = -3;
  bounce.edgeHitLimit = 3;
  AnimationControllerRecord flyIn;
  flyIn.kind = 2;
  flyIn.entryAngle = 135;
  flyIn.exitAngle = -90;
  const PageObject picture = InternalResourceObject(9, kPictureEntry, kInternalPictureKind);
  HotSpotRecord image = hotSpot;
  image.graphical.linkedResource = {4, 1, 9};
  seeds.emplace_back("every-object",
                     File({BackgroundObject(1, gradient), BorderObject(2, border), ButtonObject(3, button, {picture}),
                           SimpleHotSpotObject(4, hotSpot), ImageObject(5, image, {picture}),
                           SlideshowObject(6, slideshow, {picture}), BrowserObject(8, browser), TextObject(7, text),
                           ScrollbarObject(10, scrollbar), FrameObject(11, hotSpot, {BackgroundObject(12, gradient)})},
                          EveryEffect()));
  HotSpotRecord moving = hotSpot;
  seeds.emplace_back("animations", File({ImageObject(20, moving, {AnimationControllerObject(21, path), picture}),
                                         ImageObject(22, moving, {AnimationControllerObject(23, bounce)}),
                                         ImageObject(24, moving, {AnimationControllerObject(25, flyIn)})},
                                        {}));
  seeds.emplace_back("transitions", File({}, EveryEffect()));
  seeds.emplace_back("cut-records",
                     File({BackgroundObject(1, gradient), ObjectWithFields({1, 9, 2}, border.Fields(), 30),
                           ObjectWithFields({1, 4, 3}, text.Fields(), 33), AnimationControllerObject(4, path, 3)},
                          {}));
  return seeds;
}

std::vector<SeedFile> MediaSeeds() {
  const VORObjectKey waveKey{2, 0, 1};
  const VORObjectKey midiKey{2, 1, 2};
  const VORObjectKey cdKey{2, 2, 3};
  const VORObjectKey videoKey{1, 5, 4};
  const auto soundAction = [](uint32_t id, const VORObjectKey &target, int32_t code) {
    SoundAction action;
    action.id = id;
    action.fields.target = target;
    action.fields.code = code;
    action.volume = 60;
    action.fadeTime = 100;
    return action.Object();
  };
  const auto videoAction = [&videoKey](uint32_t id, int32_t code, int32_t first, int32_t second) {
    ActionFields fields;
    fields.target = videoKey;
    fields.code = code;
    return VideoAction(id, fields, first, second);
  };
  SoundRecord wave;
  wave.flags = 0x22;
  wave.start = 100;
  wave.end = 250;
  wave.fadeInTime = 50;
  wave.events = EventsWith({soundAction(1, waveKey, 200), soundAction(2, waveKey, 300), soundAction(3, waveKey, 201),
                            soundAction(4, midiKey, 200), soundAction(5, cdKey, 200)});
  SoundRecord midi;
  midi.repeatCount = -1;
  SoundRecord cd;
  cd.start = 3;
  cd.end = 4;
  VideoRecord video;
  video.hotSpot.graphical = Placed(0, 0);
  video.hotSpot.graphical.linkedResource = {4, 1, 9};
  video.videoFlags = 0x28;
  video.keyColor = 0xFF00FF;
  video.hotSpot.graphical.events = EventsWith({videoAction(1, 200, 0, 500), videoAction(2, 204, 100, 1),
                                               videoAction(3, 201, -1, -1), soundAction(4, waveKey, 201)});
  const PageObject sound = InternalResourceObject(9, kSoundEntry, kWaveKind);
  const PageObject animation = InternalResourceObject(9, kPictureEntry, 13);
  std::vector<SeedFile> seeds;
  seeds.emplace_back(
      "sounds", File({SoundObject(0, 1, wave, {sound}),
                      SoundObject(1, 2, midi, {ExternalResourceObject(7, {1, "tune.mid"}, 8)}), SoundObject(2, 3, cd)},
                     {}));
  seeds.emplace_back("video", File({VideoObject(4, video, {animation}), SoundObject(0, 1, wave, {sound})}, {}));
  seeds.emplace_back("avi-video", File({AviVideoObject(4, video, "movie.avi")}, {}));
  seeds.emplace_back("cut-sound", File({SoundObject(0, 1, wave, {sound}, 5), SoundObject(2, 3, cd, {}, 8)}, {}));
  return seeds;
}

} // namespace

int main(int argc, char **argv) {
  const std::string set = VOR_SEED_SET;
  return WriteSeedCorpus(argc, argv, set == "mediaobject" ? MediaSeeds() : GraphicalSeeds());
}
