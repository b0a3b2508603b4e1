#include "support/DemoPublication.h"

#include <cstdio>
#include <iterator>
#include <string>
#include <vector>

#include "support/InternalImageWriter.h"
#include "support/PictureFileWriter.h"
#include "support/WaveFileWriter.h"

namespace DemoPublication {

namespace {

// Colours as the records store them: 0x00BBGGRR.
constexpr uint32_t kSlateBlue = 0x00A05030;
constexpr uint32_t kTeal = 0x00808000;
constexpr uint32_t kOchre = 0x0020A0D0;
constexpr uint32_t kDarkGrey = 0x00404040;
constexpr int32_t kPageDelayMs = 3000;
// The sound page leaves on its sound's end; without a sound device its
// timer takes it on after this.
constexpr int32_t kSoundPageFallbackMs = 6000;
constexpr int32_t kChimeResource = 2;
// The page colour that stands for the publication's.
constexpr uint32_t kPublicationColour = 0xFFFFFFFF;
// A colour with this bit names an entry of the publication's palette.
constexpr uint32_t kPaletteIndex = 0x01000000;
constexpr uint32_t kOchreEntry = 3;
constexpr uint32_t kDarkGreyEntry = 4;

// Entries as the record stores them (blue, green, red): black, the demo's
// colours at the entries named above, white.
PublicationRecords::PaletteEntry Entry(uint32_t colour) {
  return {static_cast<uint8_t>(colour >> 16), static_cast<uint8_t>(colour >> 8), static_cast<uint8_t>(colour), 0};
}
std::vector<PublicationRecords::PaletteEntry> DemoPalette() {
  return {Entry(0), Entry(kSlateBlue), Entry(kTeal), Entry(kOchre), Entry(kDarkGrey), Entry(0x00FFFFFF)};
}

PublicationRecords::Page TimedPage(uint32_t id, uint32_t colour, int32_t width, int32_t height, uint32_t next) {
  PublicationRecords::Page page(VORObjectKey{0, 4, id});
  page.properties.backgroundColor = colour;
  page.properties.right = width;
  page.properties.bottom = height;
  page.properties.title = "Page " + std::to_string(id);
  page.properties.timedPageDelay = kPageDelayMs;
  page.properties.timedPage = VORObjectKey{0, 4, next};
  return page;
}

// A colour 0x00BBGGRR as a 24-bit pixel value, stored blue first.
uint32_t PixelOf(uint32_t colour) { return (colour >> 16 & 0xFF) | (colour & 0xFF00) | (colour & 0xFF) << 16; }

// An image object showing the cover picture inside the gradient page's
// border, its lower half's colour taken as transparent, with a shadow that
// falls only under the half that shows.
PublicationRecords::PageObject CoverPictureObject(uint32_t id) {
  PublicationRecords::HotSpotRecord image;
  image.graphical.Place(100, 80, 100 + kCoverWidth / 2, 80 + kCoverHeight / 2);
  image.graphical.shadowX = 5;
  image.graphical.shadowY = 5;
  image.graphical.shadowColour = kDarkGrey;
  image.graphical.transparentColour = 1;
  image.graphical.transparencyKind = 1;
  image.graphical.keyColour = kCoverBottom;
  return PublicationRecords::PictureObject(id, image, kCoverResource);
}

// A page filled by a background object with a gradient from the top-left
// corner, with a rounded border inside it that casts a shadow.
PublicationRecords::Page GradientPage(uint32_t id, uint32_t next) {
  PublicationRecords::Page page = TimedPage(id, kPublicationColour, 320, 240, next);
  PublicationRecords::BackgroundRecord background;
  background.graphical.right = 320;
  background.graphical.bottom = 240;
  background.fillKind = 2;
  background.colour1 = kSlateBlue;
  background.colour2 = kOchre;
  background.direction = 2;
  PublicationRecords::BorderRecord border;
  border.graphical.Place(60, 50, 260, 190);
  border.graphical.shadowX = 6;
  border.graphical.shadowY = 6;
  border.graphical.shadowColour = kDarkGrey;
  border.style = 1;
  border.width = 4;
  border.radius = 16;
  border.colour1 = 0x00FFFFFF;
  // Beside the background, not inside it: a child lies over its parent.
  page.objects = {PublicationRecords::BackgroundObject(1, background), PublicationRecords::BorderObject(2, border),
                  CoverPictureObject(3)};
  return page;
}

// Borders of every style side by side on a plain background.
PublicationRecords::Page BorderPage(uint32_t id, uint32_t next) {
  PublicationRecords::Page page = TimedPage(id, kPublicationColour, 320, 240, next);
  PublicationRecords::BackgroundRecord background;
  background.graphical.right = 320;
  background.graphical.bottom = 240;
  background.fillKind = 1;
  background.colour1 = 0x00E0E0E0;
  struct Style {
    uint8_t style;
    int16_t width, radius;
  };
  const Style styles[] = {{1, 2, 0}, {1, 3, 12}, {2, 6, 0}, {3, 8, 10}, {4, 3, 0}, {100, 3, 0}, {101, 3, 0}};
  std::vector<PublicationRecords::PageObject> borders;
  uint32_t borderId = 2;
  int32_t x = 10, y = 10;
  for (const Style &style : styles) {
    PublicationRecords::BorderRecord border;
    border.graphical.Place(x, y, x + 90, y + 60);
    border.style = style.style;
    border.width = style.width;
    border.radius = style.radius;
    border.colour1 = kSlateBlue;
    border.colour2 = 0x00FFFFFF;
    borders.push_back(PublicationRecords::BorderObject(borderId++, border));
    x += 100;
    if (x > 220) {
      x = 10;
      y += 75;
    }
  }
  page.objects = {PublicationRecords::BackgroundObject(1, background)};
  page.objects.insert(page.objects.end(), borders.begin(), borders.end());
  return page;
}

// Two rising notes, 16-bit mono.
std::vector<uint8_t> Chime() {
  constexpr uint32_t kRate = 22050, kNoteSamples = kRate * 2 / 5;
  constexpr int16_t kAmplitude = 6000;
  std::vector<uint8_t> samples = WaveFileWriter::SineTone16(kRate, 523, kNoteSamples, kAmplitude);
  const std::vector<uint8_t> second = WaveFileWriter::SineTone16(kRate, 659, kNoteSamples, kAmplitude);
  samples.insert(samples.end(), second.begin(), second.end());
  return WaveFileWriter::PcmFile(1, kRate, 16, samples);
}

// A page that plays the chime on entry from a wave object; the object's own
// event waits for the end of its sound and goes to the next page.
PublicationRecords::Page SoundPage(uint32_t id, uint32_t next) {
  constexpr uint32_t kWaveId = 1;
  constexpr uint8_t kPlaysOnEntry = 0x02;
  constexpr uint8_t kWaveKind = 5;
  constexpr int32_t kSoundEnded = 701;
  constexpr int32_t kGotoPage = 101;
  PublicationRecords::Page page = TimedPage(id, kTeal, 320, 240, next);
  page.properties.timedPageDelay = kSoundPageFallbackMs;
  PublicationRecords::Event goNext;
  goNext.objects = {PublicationRecords::GotoPageAction(1, kGotoPage, VORObjectKey{0, 4, next})};
  goNext.delays = {0};
  PublicationRecords::SoundRecord sound;
  sound.flags = kPlaysOnEntry;
  sound.events.list = {goNext.Object()};
  sound.events.triggers = {PublicationRecords::SynchronizationTrigger(1, kSoundEnded, VORObjectKey{2, 0, kWaveId})};
  sound.events.indexes = {0};
  page.objects = {PublicationRecords::SoundObject(
      0, kWaveId, sound, {PublicationRecords::InternalResourceObject(kWaveId + 1, kChimeResource, kWaveKind)})};
  return page;
}

// A page of motion: an ochre square that appears a second after the page,
// a slate-blue one that flies in from the top right, and a white one that
// travels round a path; the page stays eight seconds.
PublicationRecords::Page MotionPage(uint32_t id, uint32_t next) {
  constexpr int32_t kMotionPageMs = 8000;
  constexpr uint8_t kFlyIn = 2;
  const auto square = [](int32_t left, int32_t top, int32_t size, uint32_t colour) {
    PublicationRecords::BackgroundRecord record;
    record.graphical.Place(left, top, left + size, top + size);
    record.fillKind = 1;
    record.colour1 = colour;
    return record;
  };
  PublicationRecords::Page page = TimedPage(id, kTeal, 320, 240, next);
  page.properties.timedPageDelay = kMotionPageMs;
  PublicationRecords::BackgroundRecord appearing = square(30, 30, 60, kOchre);
  appearing.graphical.visibleAtStart = 0;
  appearing.graphical.showDelay = 1000;
  PublicationRecords::BackgroundRecord flying = square(200, 40, 60, kSlateBlue);
  flying.graphical.showAnimation = VORObjectKey{0, 9, 21};
  PublicationRecords::AnimationControllerRecord flyIn;
  flyIn.kind = kFlyIn;
  flyIn.entryAngle = 45;
  flyIn.entryTime = 1500;
  PublicationRecords::BackgroundRecord travelling = square(20, 180, 30, 0x00FFFFFF);
  travelling.graphical.pathAnimation = VORObjectKey{0, 9, 31};
  PublicationRecords::AnimationControllerRecord path;
  path.path = {{35, 195, 0, 0}, {285, 195, 2500, 0}, {285, 130, 1000, 0}, {35, 130, 2500, 0}};
  page.objects = {
      PublicationRecords::BackgroundObject(10, appearing),
      PublicationRecords::BackgroundObject(20, flying, {PublicationRecords::AnimationControllerObject(21, flyIn)}),
      PublicationRecords::BackgroundObject(30, travelling, {PublicationRecords::AnimationControllerObject(31, path)}),
  };
  return page;
}

// A page that the reader's bookmarks keep: shown, it adds itself (the
// bookmark file then lies in the temporary folder, named after the
// publication).
PublicationRecords::Page BookmarkPage(uint32_t id, uint32_t next) {
  constexpr int32_t kAddBookmark = 950;
  PublicationRecords::Page page = TimedPage(id, kSlateBlue, 320, 240, next);
  page.properties.title = "Bookmarked page";
  PublicationRecords::Event bookmark;
  bookmark.objects = {PublicationRecords::BookmarkAction(1, kAddBookmark, VORObjectKey{0, 4, id})};
  bookmark.delays = {0};
  page.properties.events.list = {bookmark.Object()};
  page.properties.events.triggers = {PublicationRecords::AutoStartTrigger(1)};
  page.properties.events.indexes = {0};
  return page;
}

// The video beside the publication ("movie.avi") over most of a 320 x 240
// page, played twice.
PublicationRecords::PageObject MovieObject(uint16_t flags) {
  PublicationRecords::VideoRecord video;
  video.hotSpot.graphical.Place(32, 24, 288, 216);
  video.videoFlags = flags;
  video.repeatCount = 1;
  return PublicationRecords::AviVideoObject(1, video, "movie.avi");
}

// A page that plays the video beside the publication ("movie.avi", written
// by the build with ffmpeg) with its sound, stretched over most of the
// page, repeated once; the page goes on after its delay.
PublicationRecords::Page VideoPage(uint32_t id, uint32_t next) {
  constexpr uint16_t kStretchedAndPlayWhenShown = 0x02 | 0x08;
  constexpr int32_t kVideoPageDelayMs = 5000;
  PublicationRecords::Page page = TimedPage(id, kSlateBlue, 320, 240, next);
  page.properties.timedPageDelay = kVideoPageDelayMs;
  page.objects = {MovieObject(kStretchedAndPlayWhenShown)};
  return page;
}

// A slideshow page: three pictures of the publication's own format (a
// colour each) that change every second in order, endlessly, with a fade
// into each; the last page of the chain leads to it, and it leads on to
// the chapter window.
constexpr uint32_t kSlideshowPageId = 12;
constexpr uint32_t kPrintPageId = 32;
constexpr int32_t kFirstSlideResource = 10;

std::vector<uint8_t> SolidPicture(uint32_t colour) {
  using namespace InternalImageWriter;
  constexpr int16_t kWidth = 160, kHeight = 120;
  Picture picture;
  picture.width = kWidth;
  picture.height = kHeight;
  picture.depth = 24;
  Frame frame;
  frame.parts = {
      PackedPart(0, 0, kWidth, kHeight, std::vector<Block>(kHeight, Block{kWidth, {PixelOf(colour)}, {}}), 3)};
  picture.frames = {frame};
  return picture.Bytes();
}

// The shared chapter's last page leads to the chapter window's page (4); a
// page added here, which itself leads on to 4, goes between them.
void InsertBeforeChapterWindow(PublicationRecords::Publication &publication, PublicationRecords::Page page) {
  constexpr uint32_t kChapterWindowPage = 4;
  std::vector<PublicationRecords::Page> &pages = publication.chapters[0].pages;
  for (PublicationRecords::Page &before : pages)
    if (before.properties.timedPage.code == 4 && before.properties.timedPage.id == kChapterWindowPage)
      before.properties.timedPage = VORObjectKey{0, 4, page.reference.id};
  pages.push_back(std::move(page));
}

void AddSlideshowPage(PublicationRecords::Publication &publication) {
  constexpr uint8_t kInternalPictureKind = 12;
  constexpr int16_t kEndless = -1;
  const uint32_t colours[] = {kOchre, kSlateBlue, 0x00FFFFFF};
  PublicationRecords::SlideshowRecord record;
  record.hotSpot.graphical.Place(80, 60, 240, 180);
  record.repeatCount = kEndless;
  std::vector<PublicationRecords::PageObject> slides;
  for (uint32_t i = 0; i < 3; ++i) {
    const int32_t resource = kFirstSlideResource + static_cast<int32_t>(i);
    publication.internalResources[resource] = SolidPicture(colours[i]);
    slides.push_back(PublicationRecords::InternalResourceObject(2 + i, resource, kInternalPictureKind));
    record.slides.push_back(
        {1000, VORObjectKey{4, 1, 2 + i}, {"Fade", 10, PublicationRecords::FadeFXFields(300, 8, 0)}});
  }
  PublicationRecords::Page page = TimedPage(kSlideshowPageId, kTeal, 320, 240, 4);
  page.properties.timedPageDelay = 6000;
  page.objects = {PublicationRecords::SlideshowObject(1, record, slides)};
  InsertBeforeChapterWindow(publication, page);
}

// A page where the system's AVI device plays the same video (MCI mode)
// into a window over the object, centred at its own size, twice; it leads
// on to the chapter window.
void AddMciVideoPage(PublicationRecords::Publication &publication) {
  constexpr uint32_t kMciVideoPageId = 33;
  constexpr uint16_t kCentredMciPlayWhenShown = 0x03 | 0x08 | 0x10;
  constexpr int32_t kMciVideoPageDelayMs = 5000;
  PublicationRecords::Page page = TimedPage(kMciVideoPageId, kOchre, 320, 240, 4);
  page.properties.timedPageDelay = kMciVideoPageDelayMs;
  page.objects = {MovieObject(kCentredMciPlayWhenShown)};
  InsertBeforeChapterWindow(publication, page);
}

} // namespace

// ---- The page to play with --------------------------------------------------

namespace {

constexpr int32_t kShowAction = 12;
constexpr int32_t kHideAtOnce = 18;
constexpr int32_t kGotoPageAction = 101;
constexpr uint16_t kLeftUpCode = 2;
constexpr uint16_t kEnterCode = 7;
constexpr uint16_t kLeaveCode = 8;
constexpr uint16_t kBackgroundCode = 0;
constexpr uint16_t kButtonCode = 2;

PublicationRecords::GraphicalRecord Placed(const PlayArea &area) {
  PublicationRecords::GraphicalRecord record;
  record.left = area.left;
  record.top = area.top;
  record.right = area.right;
  record.bottom = area.bottom;
  return record;
}

PublicationRecords::BackgroundRecord FilledArea(const PlayArea &area, uint32_t colour) {
  PublicationRecords::BackgroundRecord record;
  record.graphical = Placed(area);
  record.fillKind = 1;
  record.colour1 = colour;
  return record;
}

// An event of one action, fired by one trigger; the events are numbered in
// the order added.
void AddEvent(PublicationRecords::Events &events, PublicationRecords::ListedObject trigger,
              PublicationRecords::ListedObject action) {
  PublicationRecords::Event event;
  event.id = static_cast<uint32_t>(events.list.size() + 1);
  event.objects = {std::move(action)};
  event.delays = {0};
  events.indexes.push_back(static_cast<uint16_t>(events.list.size()));
  events.list.push_back(event.Object());
  events.triggers.push_back(std::move(trigger));
}

PublicationRecords::ListedObject ObjectAction(uint32_t id, const VORObjectKey &target, int32_t code) {
  PublicationRecords::ActionFields fields;
  fields.target = target;
  fields.code = code;
  return PublicationRecords::Action(1, id, fields);
}

} // namespace

PublicationRecords::Page PlayPage(uint32_t id, uint32_t next) {
  constexpr uint32_t kNextId = 10, kSquareId = 20, kHoverId = 21, kLampId = 30, kDraggableId = 40;
  constexpr uint32_t kTargetId = 50, kMarkId = 60, kFrameId = 70, kPageFillId = 80;
  constexpr uint32_t kArrowId = 90, kRefusingId = 100;
  PublicationRecords::Page page(VORObjectKey{0, 4, id});
  page.properties.backgroundColor = kPlayBackground;
  page.properties.right = 320;
  page.properties.bottom = 240;
  page.properties.title = "Play";

  PublicationRecords::ButtonRecord nextButton;
  nextButton.hotSpot.graphical = Placed(kNextButton);
  AddEvent(nextButton.hotSpot.graphical.events, PublicationRecords::MouseTrigger(1, kLeftUpCode),
           PublicationRecords::GotoPageAction(1, kGotoPageAction, VORObjectKey{0, 4, next}));

  PublicationRecords::HotSpotRecord hover;
  hover.graphical = Placed(kHover);
  const VORObjectKey lamp{1, kBackgroundCode, kLampId};
  AddEvent(hover.graphical.events, PublicationRecords::MouseTrigger(1, kEnterCode), ObjectAction(1, lamp, kShowAction));
  AddEvent(hover.graphical.events, PublicationRecords::MouseTrigger(2, kLeaveCode), ObjectAction(2, lamp, kHideAtOnce));
  PublicationRecords::BackgroundRecord lampRecord = FilledArea(kLamp, kLampColour);
  lampRecord.graphical.visibleAtStart = 0;

  PublicationRecords::ButtonRecord draggable;
  draggable.hotSpot.graphical = Placed(kDraggable);
  draggable.hotSpot.graphical.draggable = 1;
  draggable.hotSpot.graphical.glideBack = 1000;
  const VORObjectKey draggableKey{1, kButtonCode, kDraggableId};

  PublicationRecords::BackgroundRecord target = FilledArea(kDropTarget, kTargetColour);
  target.graphical.acceptsDrops = 1;
  const VORObjectKey mark{1, kBackgroundCode, kMarkId};
  AddEvent(target.graphical.events, PublicationRecords::DropTrigger(1, draggableKey),
           ObjectAction(1, mark, kShowAction));
  PublicationRecords::BackgroundRecord markRecord = FilledArea(kDropMark, kMarkColour);
  markRecord.graphical.visibleAtStart = 0;

  // Takes drops, but only of the frame: the block glides back from it.
  PublicationRecords::BackgroundRecord refusing = FilledArea(kRefusingTarget, kRefusingColour);
  refusing.graphical.acceptsDrops = 1;
  refusing.graphical.acceptedObjects = {VORObjectKey{1, 1, kFrameId}};

  // The children's rectangles are relative to the frame's corner.
  PublicationRecords::HotSpotRecord frame;
  frame.graphical = Placed(kFrame);
  const int32_t width = kFrame.right - kFrame.left, height = kFrame.bottom - kFrame.top;
  const std::vector<PublicationRecords::PageObject> halves = {
      PublicationRecords::BackgroundObject(kFrameId + 1, FilledArea({0, 0, width / 2, height}, kFrameLeftColour)),
      PublicationRecords::BackgroundObject(kFrameId + 2, FilledArea({width / 2, 0, width, height}, kLampColour)),
  };

  // The arrow lies in a frame over the whole button (a child lies over its
  // parent), placed relative to the button's corner; the button's pressed
  // drawing moves its children, the arrow with them.
  PublicationRecords::HotSpotRecord arrowHolder;
  arrowHolder.graphical = Placed(kNextButton);
  const PublicationRecords::PageObject arrowFrame = PublicationRecords::FrameObject(
      kArrowId + 1, arrowHolder,
      {PublicationRecords::BackgroundObject(
          kArrowId, FilledArea({kNextArrow.left - kNextButton.left, kNextArrow.top - kNextButton.top,
                                kNextArrow.right - kNextButton.left, kNextArrow.bottom - kNextButton.top},
                               kTargetColour))});

  page.objects = {
      // The page's colour is the margins'; an object fills the page itself.
      PublicationRecords::BackgroundObject(kPageFillId, FilledArea({0, 0, 320, 240}, kPlayBackground)),
      PublicationRecords::BackgroundObject(kSquareId, FilledArea(kHover, kOchre)),
      PublicationRecords::SimpleHotSpotObject(kHoverId, hover),
      PublicationRecords::BackgroundObject(kLampId, lampRecord),
      PublicationRecords::BackgroundObject(kTargetId, target),
      PublicationRecords::BackgroundObject(kMarkId, markRecord),
      PublicationRecords::BackgroundObject(kRefusingId, refusing),
      PublicationRecords::FrameObject(kFrameId, frame, halves),
      PublicationRecords::ButtonObject(kNextId, nextButton, {arrowFrame}),
      PublicationRecords::ButtonObject(kDraggableId, draggable),
  };
  return page;
}

// ---- The page of scrolled text -------------------------------------------------

namespace {

constexpr uint16_t kTextCode = 4;
constexpr uint16_t kScrollbarCode = 0x10;
constexpr uint32_t kScrollTextPageId = 30;
constexpr int32_t kScrollTextPageMs = 20000;

const char kScrollRtf[] =
    "{\\rtf1 {\\b Scrolled text}\\par "
    "This text is longer than its box. The scrollbar beside it scrolls it: its buttons go up and down a page, "
    "a press on the track above or below the thumb does the same, and the thumb can be dragged.\\par "
    "The thumb's height follows the share of the text that shows, and it moves as the text scrolls.\\par "
    "Links light up under the pointer: {\\id1 go on} to the next page, or back to {\\id2 the first page}.\\par "
    "Line one of the rest.\\par Line two.\\par Line three.\\par Line four.\\par Line five.\\par "
    "Line six.\\par Line seven.\\par Line eight.\\par Line nine.\\par The end of the text: {\\id1 go on}.}";

PublicationRecords::TextStyleRecord LinkStyle(uint32_t colour) {
  constexpr uint32_t kTextColourField = 0x80;
  PublicationRecords::TextStyleRecord style;
  style.mask = kTextColourField;
  style.textColour = colour;
  return style;
}

PublicationRecords::TextLinkRecord GotoLink(int32_t id, uint32_t page) {
  PublicationRecords::TextLinkRecord link;
  link.id = id;
  AddEvent(link.events, PublicationRecords::MouseTrigger(1, kLeftUpCode),
           PublicationRecords::GotoPageAction(1, kGotoPageAction, VORObjectKey{0, 4, page}));
  return link;
}

PublicationRecords::ButtonRecord PartButton() {
  PublicationRecords::ButtonRecord button;
  // Laid out by the scrollbar: the design rectangle does not matter.
  button.hotSpot.graphical = Placed(kScrollbar);
  return button;
}

void AddScrollTextPage(PublicationRecords::Publication &publication) {
  PublicationRecords::Page page = ScrollTextPage(kScrollTextPageId, 4);
  page.properties.timedPageDelay = kScrollTextPageMs;
  page.properties.timedPage = VORObjectKey{0, 4, 4};
  InsertBeforeChapterWindow(publication, page);
}

} // namespace

PublicationRecords::Page ScrollTextPage(uint32_t id, uint32_t next) {
  constexpr uint32_t kFillId = 1, kTextId = 2, kBarId = 3, kUpId = 4, kDownId = 5, kTrackId = 6, kThumbId = 7;
  const VORObjectKey textKey{1, kTextCode, kTextId};
  const VORObjectKey barKey{1, kScrollbarCode, kBarId};
  PublicationRecords::Page page(VORObjectKey{0, 4, id});
  page.properties.backgroundColor = kLampColour;
  page.properties.right = 320;
  page.properties.bottom = 240;
  page.properties.title = "Scrolled text";

  PublicationRecords::TextRecord text;
  text.hotSpot.graphical = Placed(kScrollText);
  text.rtf = kScrollRtf;
  // Plain text, without the shadow a new text has.
  constexpr uint32_t kShadowField = 0x200, kNoShadow = 0x200;
  text.defaultStyle.mask = kShadowField;
  text.defaultStyle.flags = kNoShadow;
  text.links = {GotoLink(1, next), GotoLink(2, 1)};
  text.linkStyles[0] = LinkStyle(0x00C00000); // blue
  text.linkStyles[2] = LinkStyle(0x0000A000); // green under the pointer
  text.linkStyles[3] = LinkStyle(0x000000C0); // red while pressed
  text.scrollbar = barKey;

  PublicationRecords::ScrollbarRecord bar;
  bar.hotSpot.graphical = Placed(kScrollbar);
  bar.target = textKey;
  bar.upButton = VORObjectKey{1, kButtonCode, kUpId};
  bar.downButton = VORObjectKey{1, kButtonCode, kDownId};
  bar.track = VORObjectKey{1, kBackgroundCode, kTrackId};
  bar.thumb = VORObjectKey{1, kButtonCode, kThumbId};
  bar.frame = 1;
  PublicationRecords::BackgroundRecord track = FilledArea(kScrollbar, kTrackColour);
  const std::vector<PublicationRecords::PageObject> parts = {
      PublicationRecords::BackgroundObject(kTrackId, track),
      PublicationRecords::ButtonObject(kUpId, PartButton()),
      PublicationRecords::ButtonObject(kDownId, PartButton()),
      PublicationRecords::ButtonObject(kThumbId, PartButton()),
  };

  page.objects = {
      PublicationRecords::BackgroundObject(kFillId, FilledArea({0, 0, 320, 240}, kLampColour)),
      PublicationRecords::TextObject(kTextId, text),
      PublicationRecords::ScrollbarObject(kBarId, bar, parts),
  };
  return page;
}

// ---- The page that prints ---------------------------------------------------

namespace {

constexpr int32_t kPrintAction = 900;
constexpr VORObjectKey kPrinter{0, 0, 12};

PublicationRecords::ListedObject PrintRequest(uint32_t id, uint32_t page, bool textFile) {
  constexpr uint32_t kTextFileBit = 0x10000000;
  PublicationRecords::PrinterAction request;
  request.id = id;
  request.fields = {kPrinter, kPrintAction};
  request.page = VORObjectKey{0, 4, page};
  request.options = textFile ? kTextFileBit : 0;
  request.fileName = textFile ? kPrintTextFile : "";
  request.nameOnly = textFile ? 1 : 0;
  return request.Object();
}

} // namespace

PublicationRecords::Page PrintPage(uint32_t id, uint32_t next) {
  constexpr uint32_t kFirstQuarterId = 10, kPageButtonId = 20, kTextButtonId = 21;
  PublicationRecords::Page page = TimedPage(id, 0x00FFFFFF, 320, 240, next);
  page.properties.title = "Print";
  page.properties.timedPageDelay = kPrintPageDelayMs;
  for (uint32_t i = 0; i < 4; ++i) {
    const int32_t left = static_cast<int32_t>(i % 2) * 160, top = static_cast<int32_t>(i / 2) * 120;
    page.objects.push_back(PublicationRecords::BackgroundObject(
        kFirstQuarterId + i, FilledArea({left, top, left + 160, top + 120}, kPrintQuarterColours[i])));
  }
  PublicationRecords::ButtonRecord pageButton;
  pageButton.hotSpot.graphical = Placed(kPrintPageButton);
  AddEvent(pageButton.hotSpot.graphical.events, PublicationRecords::MouseTrigger(1, kLeftUpCode),
           PrintRequest(1, id, false));
  PublicationRecords::ButtonRecord textButton;
  textButton.hotSpot.graphical = Placed(kPrintTextButton);
  AddEvent(textButton.hotSpot.graphical.events, PublicationRecords::MouseTrigger(1, kLeftUpCode),
           PrintRequest(1, id, true));
  page.objects.push_back(PublicationRecords::ButtonObject(kPageButtonId, pageButton));
  page.objects.push_back(PublicationRecords::ButtonObject(kTextButtonId, textButton));
  return page;
}

std::string PrintText() {
  constexpr int kLines = 150;
  std::string text;
  for (int i = 1; i <= kLines; ++i) {
    char line[80];
    std::snprintf(line, sizeof line, "Line %03d of the demo text, printed whole on one sheet\n", i);
    text += line;
  }
  return text;
}

PublicationRecords::Publication PrintCheck(int32_t firstDelayMs, int32_t secondDelayMs, int32_t textPageDelayMs) {
  constexpr uint32_t kPageId = 32, kTextPageId = 33;
  PublicationRecords::Publication publication;
  publication.properties.title = "VOR Print";
  publication.properties.titleBar = 1;
  publication.properties.border = 1;
  publication.properties.width = 640;
  publication.properties.height = 480;
  publication.properties.x = 100; // percent: at the screen's right edge,
  publication.properties.y = 100; // clear of the printer view at its corner
  publication.properties.fullScreen = 0;
  publication.properties.flags = 0x10 | 0x20;
  PublicationRecords::Chapter chapter;
  chapter.properties.pageWidth = 320;
  chapter.properties.pageHeight = 240;
  PublicationRecords::Page page = PrintPage(kPageId, kPageId);
  page.properties.timedPageDelay = -1; // it stays
  page.properties.timedPage = VORObjectKey{0, 0, 0};
  PublicationRecords::Event event;
  // The score of a question named like the variable is the value its field
  // on the page of printed text shows.
  constexpr uint8_t kNotAdded = 0;
  event.objects = {PublicationRecords::ScoreAction(3, 804, kNotAdded, kPrintedValue, kPrintedVariable),
                   PrintRequest(1, kPageId, false), PrintRequest(2, kPageId, true),
                   PrintRequest(4, kTextPageId, false)};
  event.delays = {0, static_cast<uint32_t>(firstDelayMs), static_cast<uint32_t>(secondDelayMs),
                  static_cast<uint32_t>(textPageDelayMs)};
  page.properties.events.indexes = {0};
  page.properties.events.list = {event.Object()};
  page.properties.events.triggers = {PublicationRecords::AutoStartTrigger(1)};
  chapter.pages = {page, PrintedTextPage(kTextPageId)};
  publication.chapters = {chapter};
  return publication;
}

// ---- The page to type on ------------------------------------------------------

namespace {

constexpr uint32_t kTextInputPageId = 31;
constexpr int32_t kTextInputPageMs = 15000;
constexpr uint32_t kPaleGreen = 0x00E0F0E0;
constexpr uint32_t kReadAlongRed = 0x000000D0;
// Style presence bits: face, size, text colour, background and shadow
// colours; with the flags 0x100 and 0x200 the text has neither.
constexpr uint32_t kPlainStyleMask = 0x20 | 0x40 | 0x80 | 0x100 | 0x200;
constexpr uint32_t kNoBackgroundNoShadow = 0x100 | 0x200;
constexpr uint32_t kTextColourPresent = 0x80;

PublicationRecords::TextStyleRecord PlainStyle() {
  PublicationRecords::TextStyleRecord style;
  style.mask = kPlainStyleMask;
  style.flags = kNoBackgroundNoShadow;
  style.face = "Arial";
  style.size = 14;
  return style;
}

PublicationRecords::TextRecord PlainText(const PlayArea &area, const std::string &rtf) {
  PublicationRecords::TextRecord record;
  record.hotSpot.graphical = Placed(area);
  record.rtf = rtf;
  record.defaultStyle = PlainStyle();
  return record;
}

void AddTextInputPage(PublicationRecords::Publication &publication) {
  InsertBeforeChapterWindow(publication, TextInputPage(kTextInputPageId, 4));
}

} // namespace

PublicationRecords::TextRecord VisitorField() {
  constexpr uint32_t kTakesEverything = 0x1 | 0x2 | 0x4 | 0x8;
  constexpr uint32_t kCommitsEachChange = 0x80;
  constexpr uint32_t kFocusWhenShown = 0x400;
  PublicationRecords::TextRecord field = PlainText(kVisitorField, "{\\rtf1 }");
  field.inputFlags = kTakesEverything | kCommitsEachChange | kFocusWhenShown;
  field.inputVariable = kVisitorVariable;
  field.maxLength = kVisitorMaxLength;
  return field;
}

PublicationRecords::Page TextInputPage(uint32_t id, uint32_t next) {
  constexpr uint32_t kPageFillId = 1, kBoxId = 2, kPromptId = 3, kFieldId = 4, kGreetingId = 5, kReadAlongId = 6;
  constexpr uint32_t kWaveId = 7;
  constexpr uint8_t kWaveKind = 5;
  constexpr uint32_t kReadAlongWhenShown = 0x1 | 0x4;
  PublicationRecords::Page page = TimedPage(id, kPaleGreen, 320, 240, next);
  page.properties.timedPageDelay = kTextInputPageMs;
  page.properties.title = "Type";

  PublicationRecords::TextRecord readAlong =
      PlainText({20, 170, 300, 200}, "{\\rtf1 {\\id1 Read} {\\id2 along} {\\id3 with} {\\id4 the} {\\id5 chime.}}");
  readAlong.textFlags = kReadAlongWhenShown;
  readAlong.segmentTags = {1, 2, 3, 4, 5};
  readAlong.segmentEnds = {300, 600, 900, 1200, 1500};
  readAlong.sound = VORObjectKey{2, 0, kWaveId};
  readAlong.highlightStyle.mask = kTextColourPresent;
  readAlong.highlightStyle.textColour = kReadAlongRed;

  page.objects = {
      PublicationRecords::BackgroundObject(kPageFillId, FilledArea({0, 0, 320, 240}, kPaleGreen)),
      PublicationRecords::BackgroundObject(kBoxId, FilledArea(kVisitorField, kLampColour)),
      PublicationRecords::TextObject(kPromptId, PlainText({20, 20, 300, 50}, "{\\rtf1 Type your name:}")),
      PublicationRecords::TextObject(kFieldId, VisitorField()),
      PublicationRecords::TextObject(kGreetingId,
                                     PlainText({20, 110, 300, 140}, "{\\rtf1 Hello, {\\id-1 [VISITOR]}!}")),
      PublicationRecords::TextObject(kReadAlongId, readAlong),
      PublicationRecords::SoundObject(
          0, kWaveId, PublicationRecords::SoundRecord{},
          {PublicationRecords::InternalResourceObject(kWaveId + 1, kChimeResource, kWaveKind)}),
  };
  return page;
}

PublicationRecords::Page PrintedTextPage(uint32_t id) {
  constexpr uint32_t kFromFileId = 1, kResourceId = 2, kFieldId = 3;
  constexpr int16_t kPublicationFolder = 1;
  constexpr int32_t kTextFileKind = 9;
  // Large and plain, so that the printed sheet reads back with OCR.
  constexpr int32_t kLargeSize = 28;
  PublicationRecords::Page page = TimedPage(id, 0x00FFFFFF, 320, 240, id);
  page.properties.timedPageDelay = -1;
  page.properties.timedPage = VORObjectKey{0, 0, 0};
  page.properties.title = "Printed text";
  PublicationRecords::TextRecord fromFile = PlainText({10, 10, 310, 110}, "{\\rtf1 own words}");
  fromFile.defaultStyle.size = kLargeSize;
  fromFile.externalText = VORObjectKey{4, 0, kResourceId};
  // The field's group names its size: a tagged run does not take the
  // default style's size.
  const std::string field = std::string("{\\rtf1 Score {\\fs56\\id-1 [") + kPrintedVariable + "]}}";
  PublicationRecords::TextRecord shown = PlainText({10, 130, 310, 230}, field);
  shown.defaultStyle.size = kLargeSize;
  page.objects = {
      PublicationRecords::TextObject(kFromFileId, fromFile, SIZE_MAX,
                                     {PublicationRecords::ExternalResourceObject(
                                         kResourceId, {kPublicationFolder, kPrintedTextFile}, kTextFileKind)}),
      PublicationRecords::TextObject(kFieldId, shown),
  };
  return page;
}

std::vector<uint8_t> Cover() {
  using namespace InternalImageWriter;
  constexpr uint32_t kBytesPerPixel = 3;
  constexpr int16_t kWidth = kCoverWidth, kHalf = kCoverHeight / 2, kHeight = kCoverHeight;
  Picture picture;
  picture.width = kCoverWidth;
  picture.height = kCoverHeight;
  picture.depth = 24;
  // Blocks count at most 65535 pixels: a block a row.
  std::vector<Block> top(kHalf, Block{kCoverWidth, {PixelOf(kCoverTop)}, {}});
  std::vector<Block> bottom(kHalf, Block{kCoverWidth, {PixelOf(kCoverBottom)}, {}});
  Frame frame;
  frame.parts = {PackedPart(0, 0, kWidth, kHalf, top, kBytesPerPixel),
                 PackedPart(0, kHalf, kWidth, kHeight, bottom, kBytesPerPixel)};
  picture.frames = {frame};
  return picture.Bytes();
}

const std::vector<PictureSpot> &PictureSpots() {
  static const std::vector<PictureSpot> spots = {
      {"demo.jpg", 20, 40, 80, 60, 0x000000C0, 0x00C0C000},   {"demo.pcx", 120, 40, 80, 60, 0x0000C000, 0x00C000C0},
      {"demo.tga", 220, 40, 80, 60, 0x00C00000, 0x0000C0C0},  {"demo.png", 20, 140, 80, 60, 0x000080FF, 0x00FF8000},
      {"demo.cgm", 120, 140, 80, 60, 0x0000FF80, 0x008000FF}, {"demo.bmp", 220, 140, 80, 60, 0x00FF0080, 0x0080FF00},
  };
  return spots;
}

PublicationRecords::Page PicturePage(uint32_t id, uint32_t next) {
  constexpr int16_t kPublicationFolder = 1;
  constexpr uint8_t kReadAsPicture = 2;
  constexpr int32_t kPictureFileKind = 2;
  PublicationRecords::Page page = TimedPage(id, 0x00FFFFFF, 320, 240, next);
  uint32_t objectId = 1;
  for (const PictureSpot &spot : PictureSpots()) {
    PublicationRecords::HotSpotRecord image;
    image.graphical.Place(spot.left, spot.top, spot.left + spot.width, spot.top + spot.height);
    image.graphical.linkedResource = VORObjectKey{4, 0, objectId + 1};
    const PublicationRecords::ExternalIdentifier file{kPublicationFolder, spot.fileName, true, kReadAsPicture};
    page.objects.push_back(PublicationRecords::ImageObject(
        objectId, image, {PublicationRecords::ExternalResourceObject(objectId + 1, file, kPictureFileKind)}));
    objectId += 2;
  }
  return page;
}

std::map<std::string, std::vector<uint8_t>> PictureFiles() {
  std::map<std::string, std::vector<uint8_t>> files;
  for (const PictureSpot &spot : PictureSpots()) {
    const std::string name = spot.fileName;
    const PictureFileWriter::TwoColours picture{64, 48, spot.topColour, spot.bottomColour};
    files[name] = PictureFileWriter::Write(name.substr(name.rfind('.') + 1), picture);
  }
  return files;
}

// ---- Pages entering with every effect ---------------------------------------

namespace {

// A chain of pages that each enter with another transition effect: fade,
// pixel dissolve, blinds, blocks, jigsaw, scroll, slide, growing stars,
// zoom, and last a fade through black onto a page whose square fades in
// by itself. Each page is filled by its colour and holds a square of a
// second colour, so that the effects' shapes show.
constexpr uint32_t kFirstEffectPageId = 20;
constexpr int32_t kEffectPageDelayMs = 2500;
constexpr uint16_t kFadeCode = 10, kPixelCode = 11, kBlindCode = 8, kBlockCode = 7, kScrollCode = 9, kSlideCode = 27,
                   kShapeCode = 29, kZoomCode = 28;

void AddTransitionPages(PublicationRecords::Publication &publication) {
  using namespace PublicationRecords;
  const FXRecord effects[] = {
      {"Fade", kFadeCode, FadeFXFields(800, 16, 0xFFFFFFFF)},
      {"Pixel", kPixelCode, PixelFXFields(1000, 0)},
      {"Blind", kBlindCode, BlindFXFields(8, 0, 800, 1, 1)},
      {"Block", kBlockCode, BlockFXFields(8, 6, 1000, 10)},
      {"Jigsaw", kBlockCode, BlockFXFields(6, 4, 1200, 10)},
      {"Scroll", kScrollCode, ScrollFXFields(1, 0, 800, 0)},
      {"Slide", kSlideCode, SlideFXFields(0, 1, 800)},
      {"Shape", kShapeCode, ShapeFXFields(2, 128, 5, 3, 2, 0, 1200)},
      {"Zoom", kZoomCode, ZoomFXFields(800, 5)},
      {"Fade", kFadeCode, FadeFXFields(1200, 32, 0x00000000)},
  };
  const uint32_t colours[][2] = {{kSlateBlue, kOchre}, {kTeal, 0x00FFFFFF}, {kOchre, kSlateBlue}, {kDarkGrey, kTeal}};
  uint32_t id = kFirstEffectPageId;
  for (const FXRecord &effect : effects) {
    const uint32_t *pair = colours[(id - kFirstEffectPageId) % 4];
    Page page = TimedPage(id, pair[0], 320, 240, 4);
    page.properties.title = "Enters with " + effect.name;
    page.properties.timedPageDelay = kEffectPageDelayMs;
    page.properties.enterTransition = effect;
    const bool last = &effect == &effects[std::size(effects) - 1];
    BackgroundRecord square = FilledArea({100, 60, 220, 180}, pair[1]);
    square.graphical.showEffect = last ? "Fade" : "";
    page.objects = {BackgroundObject(1, FilledArea({0, 0, 320, 240}, pair[0])), BackgroundObject(2, square)};
    InsertBeforeChapterWindow(publication, page);
    ++id;
  }
}

} // namespace

PublicationRecords::Publication Make() {
  PublicationRecords::Publication publication;
  auto &properties = publication.properties;
  properties.title = "VOR Demo";
  properties.titleBar = 1;
  properties.border = 1;
  properties.width = 640;
  properties.height = 480;
  properties.x = 50;
  properties.y = 50;
  properties.fullScreen = 0;
  properties.flags = 0x10 | 0x20; // Escape and the close box end the demo
  properties.backgroundColor = kPaletteIndex | kDarkGreyEntry;
  // An 8-bit publication: the window shows the colours that name entries of
  // its palette through the palette.
  publication.colourDepth = 8;
  publication.palette = DemoPalette();

  // Pages of 320 x 240 and larger: a small page sits in the middle of the
  // window in margins of its colour, a large one scrolls.
  PublicationRecords::Chapter shared;
  shared.reference = VORObjectKey{0, 2, 1};
  shared.properties.pageWidth = 320;
  shared.properties.pageHeight = 240;
  shared.pages = {
      TimedPage(1, kSlateBlue, 320, 240, 2),
      TimedPage(2, kTeal, 480, 360, 3),
      TimedPage(3, kPublicationColour, 1000, 700, 5),
      GradientPage(5, 6),
      BorderPage(6, 7),
      SoundPage(7, 8),
      MotionPage(8, 13),
      PlayPage(13, 9),
      BookmarkPage(9, 10),
      VideoPage(10, 11),
      PicturePage(11, 4),
  };

  // A chapter in a window of its own, which goes back to the first page.
  PublicationRecords::Chapter own;
  own.reference = VORObjectKey{0, 2, 2};
  own.properties.ownWindow = 1;
  own.properties.titleBar = 1;
  own.properties.title = "Chapter window";
  own.properties.border = 1;
  own.properties.x = 10;
  own.properties.y = 10;
  own.properties.windowWidth = 320;
  own.properties.windowHeight = 240;
  own.properties.pageWidth = 200;
  own.properties.pageHeight = 150;
  own.pages = {TimedPage(4, kPaletteIndex | kOchreEntry, 200, 150, 1)};

  publication.chapters = {shared, own};
  publication.internalResources[kCoverResource] = Cover();
  publication.internalResources[kChimeResource] = Chime();
  AddSlideshowPage(publication);
  AddTransitionPages(publication);
  AddScrollTextPage(publication);
  InsertBeforeChapterWindow(publication, PrintPage(kPrintPageId, 4));
  AddMciVideoPage(publication);
  AddTextInputPage(publication);
  return publication;
}

} // namespace DemoPublication
