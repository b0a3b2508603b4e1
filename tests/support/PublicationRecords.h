#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "support/PublicationWriter.h"
#include "vorfile/VORObjectKey.h"

// Record writers for the publication's own classes, on top of the
// container layer of PublicationWriter. Each record is listed field by
// field in the order of its table, so a test can cut it after any field;
// a field that its reader finds in a folder of its own (an external
// resource identifier) is written there.
namespace PublicationRecords {

// One field of a record: its bytes in the record's data, or, for a field
// kept in a folder without key, that folder's data; a field whose folder
// holds more than data (the events) fills its folder itself.
struct Field {
  std::string name;
  std::vector<uint8_t> bytes;
  bool ownFolder = false;
  std::function<void(PublicationWriter::Folder &)> fill{};
};

// Writes the fields into folder: the first fieldCount of them (all by
// default) as the folder's data, each own-folder field as a folder without
// key after it.
void AddRecord(PublicationWriter::Folder &folder, const std::vector<Field> &fields, size_t fieldCount = SIZE_MAX);

struct ExternalIdentifier {
  int16_t locationKind = -1;
  std::string name;
  bool withStorage = true;
  uint8_t storage = 1;
};

struct Password {
  std::string text;
  std::vector<VORObjectKey> chapters;
};

// An object that a record lists by reference: a folder keyed by the
// reference, holding the object's record as its data (none when
// withoutRecord: an object whose record is missing) and, for an object
// that lists others in turn, their folders. Actions open their folders by
// the class half of the reference: their keys are 4 bytes long.
struct ListedObject {
  VORObjectKey reference;
  std::vector<uint8_t> record;
  bool withoutRecord = false;
  std::function<void(PublicationWriter::Folder &)> fill{};
  uint32_t keyLength = VORObjectKey::kSize;

  void AddTo(PublicationWriter::Folder &parent) const;
};

// The triggers, each with its own record.
ListedObject MouseTrigger(uint32_t id, uint16_t mouseCode);
ListedObject KeyboardTrigger(uint32_t id, uint16_t keyCode);
ListedObject DropTrigger(uint32_t id, const VORObjectKey &dropped);
ListedObject SynchronizationTrigger(uint32_t id, int32_t syncCode, const VORObjectKey &sender);
ListedObject AutoStartTrigger(uint32_t id);

// The fields every action record begins with; the extra word is written
// only for files of versions above 0x4000000.
struct ActionFields {
  VORObjectKey target{0, 0, 0};
  int32_t code = 0;
  VORObjectKey originView{0, 0, 0};
  VORObjectKey originPage{0, 0, 0};
  bool withExtraWord = false;
  int32_t extraWord = 0;

  std::vector<uint8_t> Bytes() const;
};

// An action (3, classCode, id): the common fields, then its own. A plain
// object action (3, 1) has no fields of its own.
ListedObject Action(uint16_t classCode, uint32_t id, const ActionFields &fields, const std::vector<uint8_t> &own = {});
// A plain object action (3, 1) asking the player (0, 0, 1) to quit (103).
ListedObject QuitAction(uint32_t id);
// A go-to-page action (3, 3) for the player: the view and the target page.
// The extra word, which files of versions above 0x4000000 need, is written
// when given, here and in the two writers below.
ListedObject GotoPageAction(uint32_t id, int32_t code, const VORObjectKey &page,
                            const VORObjectKey &view = VORObjectKey{0, 0, 0}, std::optional<int32_t> extraWord = {});
// A score action (3, 0x12) for the score manager (800 or 804): the correct
// byte, the 32-bit points, the question's name.
ListedObject ScoreAction(uint32_t id, int32_t code, uint8_t correct, int32_t points, const std::string &question,
                         std::optional<int32_t> extraWord = {});
// A bookmark action (3, 0x18) for the bookmarks (950-955): a page reference.
ListedObject BookmarkAction(uint32_t id, int32_t code, const VORObjectKey &page, std::optional<int32_t> extraWord = {});

// A launch action (3, 0x15) for the launch manager (1000, 1001): six
// strings, then two bytes.
struct LaunchAction {
  uint32_t id = 1;
  ActionFields fields{VORObjectKey{0, 0, 13}, 1000};
  std::string fileName;
  std::string second;
  std::string directory;
  std::string parameters;
  std::string fifth;
  std::string location;
  uint8_t unusedByte = 0;
  uint8_t exitAfter = 0;

  ListedObject Object() const;
};

// A printer action (3, 0x14) for the printer (900): a page reference, the
// 32-bit option bits, the file name, then two optional bytes, written up
// to optionalCount of them.
struct PrinterAction {
  uint32_t id = 1;
  ActionFields fields{VORObjectKey{0, 0, 12}, 900};
  VORObjectKey page{0, 4, 1};
  uint32_t options = 0;
  std::string fileName;
  uint8_t nameOnly = 0;
  uint8_t inTemporaryFolder = 0;
  size_t optionalCount = 2;

  ListedObject Object() const;
};

// A sound action (3, 4) for the sound manager or a sound object, its own
// fields by code: 200 start (4), end (4), repeat count (2); 201 fade time
// (4), channel flags (1); 300 relative flag (1), volume (2), fade time (4),
// channel flags (1); written up to ownFieldCount of them.
struct SoundAction {
  uint32_t id = 1;
  ActionFields fields{VORObjectKey{0, 0, 2}, 201};
  int32_t start = 0;
  int32_t end = -1;
  int16_t repeatCount = 0;
  int32_t fadeTime = 0;
  uint8_t channels = 7;
  uint8_t relative = 0;
  int16_t volume = 100;
  size_t ownFieldCount = SIZE_MAX;

  // The record: the common fields, then its own.
  std::vector<uint8_t> Record() const;
  ListedObject Object() const;
};

// A browser action (3, 0x19) for a browser object (980): the operation
// byte, the address or variable name, then the optional resolve byte.
struct BrowserAction {
  uint32_t id = 1;
  ActionFields fields{VORObjectKey{1, 0x11, 1}, 980};
  uint8_t operation = 0;
  std::string text;
  bool withResolveMode = true;
  uint8_t resolveMode = 0;

  ListedObject Object() const;
};

// A frame-stream action (3, 0x1A) for a slideshow (209, 210): an optional
// 32-bit parameter.
struct FrameStreamAction {
  uint32_t id = 1;
  ActionFields fields{VORObjectKey{1, 8, 1}, 209};
  bool withParameter = true;
  int32_t parameter = 0;

  ListedObject Object() const;
};

// A store-information action (3, 0x13) for the score manager (802).
struct StoreInfo {
  uint32_t id = 1;
  ActionFields fields{VORObjectKey{0, 0, 4}, 802};
  uint8_t sourceKind = 0;
  std::string text;
  std::string targetFile;
  uint8_t ask = 0;
  std::string targetVariable;
  uint8_t replace = 1;
  // The four optional bytes, written up to optionalCount of them: source
  // and target in the temporary folder, source and target names held in
  // variables.
  uint8_t sourceTemporary = 0;
  uint8_t targetTemporary = 0;
  uint8_t sourceInVariable = 0;
  uint8_t targetInVariable = 0;
  size_t optionalCount = 4;

  ListedObject Object() const;
};

// One action of each kind the player reads, in this order: a plain object
// action (id 1, code 12 to (1, 2, 5)), a go-to-page action (2: 101, page
// (0, 4, 2), view (0, 0, 6)), a bookmark action (3: 950, page (0, 4, 1)), a
// launch action (4: "readme.txt", "", "docs", "/q", "", "PUBDIR", bytes 0
// and 1), a printer action (5: page (0, 4, 1), options 0x10000000,
// "notes.txt", bytes 1 and 0), a browser action (6: operation 1, "URL",
// resolve mode 2), a frame-stream action (7: 209, parameter 3), a score
// action (8: 804, correct 1, 5 points, "q1") and a store-information action
// (9: expression "SCORE_VALUE * 2" into "doubled", replace, the four
// optional bytes 1, 0, 0, 0). With the extra word (files of versions above
// 0x4000000) each carries the extra word 7.
std::vector<ListedObject> EveryActionKind(bool withExtraWord);

// An event's condition (3, 0x17): the operator, the flags (only for files
// of versions above 0x4000002), the variable name or expression, the
// operand; without the operator the record is empty.
struct Condition {
  uint32_t id = 1;
  bool withOperator = true;
  uint8_t op = 0;
  bool withFlags = false;
  uint8_t flags = 0;
  std::string variable;
  std::string operand;

  ListedObject Object() const;
};

// An event (3, 0): its actions and condition in the order given, then the
// delays as its data.
struct Event {
  uint32_t id = 1;
  std::vector<ListedObject> objects;
  std::vector<uint32_t> delays;

  ListedObject Object() const;
};

// The event list and the event map of a page or a page object: the
// list's events, the map's triggers, and the map's 16-bit indexes as
// stored (one per trigger, or fewer).
struct Events {
  std::vector<ListedObject> list;
  std::vector<ListedObject> triggers;
  std::vector<uint16_t> indexes;

  void AddListTo(PublicationWriter::Folder &folder) const;
  void AddMapTo(PublicationWriter::Folder &folder) const;
};

// The publication's properties record, 23 fields; the last three only
// when passwordsOn is set.
struct PublicationProperties {
  uint8_t titleBar = 1;
  std::string title = "Demo";
  int32_t border = 1;
  int32_t x = 50;
  int32_t y = 50;
  int32_t width = 640;
  int32_t height = 480;
  uint8_t changeDisplayMode = 0;
  uint8_t fullScreen = 0;
  uint32_t windowStyle = 0xCB0000;
  uint32_t flags = 0;
  int32_t inactivityTimeout = 600;
  VORObjectKey timeoutPage{0, 0, 0};
  VORObjectKey closingPage{0, 0, 0};
  int32_t closingDelay = 30;
  std::string exitPassword;
  uint8_t displayMode = 0;
  ExternalIdentifier firstResource;
  ExternalIdentifier secondResource;
  uint32_t backgroundColor = 0;
  uint16_t characterSet = 0;
  uint8_t passwordsOn = 0;
  std::vector<Password> passwords;
  VORObjectKey refusedChapterPage{0, 0, 0};
  uint8_t askUser = 1;

  std::vector<Field> Fields() const;
};

// A chapter's properties record, 9 fields; each of the pairs counts as two.
struct ChapterProperties {
  int32_t pageWidth = 640;
  int32_t pageHeight = 480;
  uint8_t ownWindow = 0;
  uint8_t titleBar = 1;
  std::string title;
  int32_t border = 0;
  int32_t x = 0;
  int32_t y = 0;
  int32_t windowWidth = 640;
  int32_t windowHeight = 480;
  uint32_t windowStyle = 0;
  uint8_t keepAspectRatio = 0;

  std::vector<Field> Fields() const;
};

// A page's properties record: the colour, the rectangle, the title, the
// delay, the timed page (only with a delay), the sound flags in its data;
// the two transitions (no effect), the event list and the event map in
// folders without key.
// A transition as pages and graphical objects store it: in a folder without
// key the effect's name and its record's reference, then the record's own
// folder keyed by its class holding the first fieldCount fields. No code:
// no record (reference none).
struct FXRecord {
  std::string name;
  uint16_t code = 0;
  std::vector<Field> fields{};
  size_t fieldCount = SIZE_MAX;

  Field AsField(const std::string &label) const;
};
// The eight effect records, their fields in file order.
std::vector<Field> FadeFXFields(uint16_t duration, uint16_t levels, uint32_t colour);
std::vector<Field> PixelFXFields(uint32_t duration, uint8_t mode);
std::vector<Field> BlindFXFields(uint16_t strips, uint8_t mode, uint16_t duration, uint8_t fixedPicture,
                                 uint8_t vertical);
std::vector<Field> BlockFXFields(int32_t columns, int32_t rows, uint32_t duration, uint8_t order);
std::vector<Field> ScrollFXFields(int32_t dx, int32_t dy, uint32_t duration, uint16_t wipe);
std::vector<Field> SlideFXFields(int32_t dx, int32_t dy, uint32_t duration);
std::vector<Field> ShapeFXFields(uint8_t shape, int16_t starRatio, uint16_t sides, int32_t columns, int32_t rows,
                                 int32_t rotation, uint32_t duration);
std::vector<Field> ZoomFXFields(uint32_t duration, uint8_t mode);

struct PageProperties {
  uint32_t backgroundColor = 0xFFFFFFFF;
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 640;
  int32_t bottom = 480;
  std::string title;
  int32_t timedPageDelay = -1;
  VORObjectKey timedPage{0, 0, 0};
  uint8_t soundFlags = 0;
  PublicationRecords::Events events{};
  FXRecord enterTransition{};
  FXRecord exitTransition{};

  std::vector<Field> Fields() const;
};

// An object on a page: its folder, keyed by its reference, holding the
// record's bytes, then what fill adds (the folders without key of a record
// in several parts).
struct PageObject {
  VORObjectKey reference;
  std::vector<uint8_t> record;
  std::function<void(PublicationWriter::Folder &)> fill{};
  // A record in several parts: written with AddRecord (the first
  // fieldCount fields) in place of record.
  std::vector<Field> fields{};
  size_t fieldCount = SIZE_MAX;
  // Child objects, each a folder keyed by its reference after the record.
  std::vector<PageObject> children{};

  void AddTo(PublicationWriter::Folder &parent) const;
};

// A show or hide transition as a graphical object stores it: the effect's
// name, no parameter record.
std::vector<uint8_t> TransitionBytes(const std::string &effectName);

// A graphical object's record, the 27 fields of its table in file order
// (the two transitions and the events in folders without key; the
// glide-back duration only when draggable is set; the key colour or key
// index only for their transparency kinds).
struct GraphicalRecord {
  uint8_t leadingFlags = 0;
  std::string showEffect;
  std::string hideEffect;
  PublicationRecords::Events events{};
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 100;
  int32_t bottom = 100;
  uint8_t horizontalSizing = 1;
  uint8_t verticalSizing = 1;
  uint16_t opacity = 256;
  int32_t blendX = 0;
  int32_t blendY = 0;
  uint8_t transparentColour = 0;
  VORObjectKey showAnimation{0, 0, 0};
  VORObjectKey hideAnimation{0, 0, 0};
  VORObjectKey pathAnimation{0, 0, 0};
  uint8_t visibleAtStart = 1;
  int32_t showDelay = -1;
  int32_t shadowX = 0;
  int32_t shadowY = 0;
  uint32_t shadowColour = 0;
  uint16_t shadowOpacity = 256;
  uint8_t draggable = 0;
  uint16_t glideBack = 1000;
  uint8_t acceptsDrops = 0;
  VORObjectKey linkedResource{0, 0, 0};
  std::vector<VORObjectKey> acceptedObjects;
  std::vector<VORObjectKey> dropTargets;
  // The image layout.
  int32_t sourceLeft = 0;
  int32_t sourceTop = 0;
  int32_t sourceRight = -1;
  int32_t sourceBottom = -1;
  uint8_t fitMode = 1;
  uint8_t transparencyKind = 0;
  uint32_t keyColour = 0xFF00FF;
  uint8_t keyIndex = 0;
  uint8_t keepAspect = 1;
  int32_t hideDelay = -1;
  uint8_t modalTransition = 1;

  // The object's rectangle on its page (or in its frame).
  void Place(int32_t l, int32_t t, int32_t r, int32_t b) {
    left = l;
    top = t;
    right = r;
    bottom = b;
  }
  std::vector<Field> Fields() const;
};

// A hotspot's record: the graphical record, the pass-through flags, the
// pointer and the pressed pointer (folders without key), the repeat byte.
struct HotSpotRecord {
  GraphicalRecord graphical;
  uint8_t flags = 0xFF;
  ExternalIdentifier cursor{-1, ""};
  ExternalIdentifier pressedCursor{-1, ""};
  uint8_t autoRepeat = 0;

  std::vector<Field> Fields() const;
};

// A page object of the given class whose record is the fields (the first
// fieldCount of them), with its children.
PageObject ObjectWithFields(const VORObjectKey &reference, std::vector<Field> fields, size_t fieldCount = SIZE_MAX,
                            std::vector<PageObject> children = {});
// An external resource object (4, 0): the events (none), the identifier in
// a folder of its own, the 32-bit resource type when given.
PageObject ExternalResourceObject(uint32_t id, const ExternalIdentifier &identifier,
                                  std::optional<int32_t> resourceType = 0);
// An internal resource object (4, 1): the events (none), the 32-bit number
// and the kind byte of its identifier.
PageObject InternalResourceObject(uint32_t id, int32_t number, uint8_t kind);
// An image object (1, 3; or 1, 6 with code 6): the hotspot record and its
// children, usually the resource object its record links.
PageObject ImageObject(uint32_t id, const HotSpotRecord &record, std::vector<PageObject> children = {},
                       uint16_t code = 3);
// An image object (1, 3) showing the top-level resource resourceNumber, a
// picture of the publication's own format: its record links its one child,
// an internal resource object (id + 1) naming that resource.
PageObject PictureObject(uint32_t id, HotSpotRecord record, int32_t resourceNumber);

// ---- Buttons, simple hotspots and frames ----
// A button's record (1, 2): the hotspot record, then the 16-bit button
// flags, the normal, pressed and highlighted picture references (8 bytes
// each), the face, light and dark colours (COLORREF) and the 16-bit bevel
// width.
struct ButtonRecord {
  HotSpotRecord hotSpot;
  uint16_t buttonFlags = 0x11;
  VORObjectKey normalImage = VORObjectKey::None();
  VORObjectKey pressedImage = VORObjectKey::None();
  VORObjectKey highlightImage = VORObjectKey::None();
  uint32_t faceColor = 0xC0C0C0;
  uint32_t lightColor = 0xFFFFFF;
  uint32_t darkColor = 0x000000;
  uint16_t bevelWidth = 2;

  std::vector<Field> Fields() const;
};
PageObject ButtonObject(uint32_t id, const ButtonRecord &record, std::vector<PageObject> children = {});
// A simple hotspot (1, 7): the hotspot record alone.
PageObject SimpleHotSpotObject(uint32_t id, const HotSpotRecord &record);
// A frame (1, 1): the hotspot record; its children's rectangles are
// relative to the frame's corner.
PageObject FrameObject(uint32_t id, const HotSpotRecord &record, std::vector<PageObject> children);

// ---- Slideshows ----
// A slideshow's record (1, 8): the hotspot record, the 16-bit slide flags
// and repeat count, the 16-bit slide count n, n 32-bit delays, n slide
// references (8 bytes each), then n transitions, each in a folder without
// key. countOverride writes another count than the slides given (a
// damaged record).
struct SlideshowRecord {
  struct Slide {
    uint32_t delay = 1000;
    VORObjectKey reference = VORObjectKey::None();
    FXRecord transition{};
  };
  HotSpotRecord hotSpot;
  uint16_t slideFlags = 1;
  int16_t repeatCount = 0;
  std::vector<Slide> slides;
  std::optional<uint16_t> countOverride{};

  std::vector<Field> Fields() const;
};
PageObject SlideshowObject(uint32_t id, const SlideshowRecord &record, std::vector<PageObject> children = {});

// A background's record (1, 0): the graphical record, the fill kind; colour
// 1 only for fill kinds 1 and 2; colour 2 and the direction only for kind 2.
struct BackgroundRecord {
  GraphicalRecord graphical;
  uint8_t fillKind = 0;
  uint32_t colour1 = 0xFFFFFF;
  uint32_t colour2 = 0xFFFFFF;
  uint8_t direction = 2;

  std::vector<Field> Fields() const;
};
PageObject BackgroundObject(uint32_t id, const BackgroundRecord &record, std::vector<PageObject> children = {});

// A border's record (1, 9): the graphical record, then the style byte, the
// signed 16-bit width and corner radius, the two colours, the 16-bit border
// opacity and the border picture's reference.
struct BorderRecord {
  GraphicalRecord graphical;
  uint8_t style = 0;
  int16_t width = 1;
  int16_t radius = 0;
  uint32_t colour1 = 0xFFFFFF;
  uint32_t colour2 = 0;
  uint16_t opacity = 256;
  VORObjectKey image{0, 0, 0};

  std::vector<Field> Fields() const;
};
PageObject BorderObject(uint32_t id, const BorderRecord &record, std::vector<PageObject> children = {});

// A web-browser object's record (1, 0x11): the graphical record, then the
// navigate-on-show byte, the start address, the ask-to-connect, frame and
// status-band bytes, the resolve-mode byte and the system-browser byte.
struct BrowserRecord {
  GraphicalRecord graphical;
  uint8_t navigateOnShow = 1;
  std::string startUrl;
  uint8_t askToConnect = 0;
  uint8_t frame = 1;
  uint8_t statusBand = 1;
  uint8_t resolveMode = 0;
  uint8_t systemBrowserFallback = 0;

  std::vector<Field> Fields() const;
};
PageObject BrowserObject(uint32_t id, const BrowserRecord &record, size_t fieldCount = SIZE_MAX);

// A sound object's record (2, 0 wave; 2, 1 MIDI; 2, 2 CD audio): the
// events, the flag byte, the 16-bit repeat count, the 32-bit start and end,
// the 16-bit volume, the 32-bit fade-in and fade-out times.
struct SoundRecord {
  PublicationRecords::Events events{};
  uint8_t flags = 0;
  int16_t repeatCount = 0;
  int32_t start = 0;
  int32_t end = -1;
  int16_t volume = 100;
  int32_t fadeInTime = 0;
  int32_t fadeOutTime = 0;

  std::vector<Field> Fields() const;
};
// A sound object of the given code with its children: the resource object
// of a wave's sound, the external one of a MIDI file.
PageObject SoundObject(uint16_t code, uint32_t id, const SoundRecord &record, std::vector<PageObject> children = {},
                       size_t fieldCount = SIZE_MAX);

// An animation controller's record (0, 9): the events, the 32-bit path
// entry count and the entries (x, y signed 32-bit; duration, value 16-bit),
// the kind byte, the signed 16-bit speed, the entry and exit angles, the
// signed 16-bit edge-hit limit, the 16-bit entry and exit times.
struct AnimationControllerRecord {
  struct Entry {
    int32_t x = 0;
    int32_t y = 0;
    uint16_t duration = 0;
    uint16_t value = 0;
  };
  PublicationRecords::Events events{};
  std::vector<Entry> path;
  // The count written; the path's size when not given (a damaged record
  // says more than it holds).
  std::optional<uint32_t> pathCount;
  uint8_t kind = 0;
  int16_t speed = 1;
  int16_t entryAngle = 0;
  int16_t exitAngle = 0;
  int16_t edgeHitLimit = -1;
  uint16_t entryTime = 1000;
  uint16_t exitTime = 1000;

  std::vector<Field> Fields() const;
};
PageObject AnimationControllerObject(uint32_t id, const AnimationControllerRecord &record,
                                     size_t fieldCount = SIZE_MAX);

// ---- Videos ----
// A video's record (1, 5): the hotspot record, then the 16-bit video flags,
// the 16-bit repeat count, the 32-bit key colour and the no-sound byte.
struct VideoRecord {
  HotSpotRecord hotSpot;
  uint16_t videoFlags = 0;
  int16_t repeatCount = 0;
  uint32_t keyColor = 0xFFFFFFFF;
  uint8_t noSound = 0;

  std::vector<Field> Fields() const;
};
// A video object with its children, usually the resource object its record
// links.
PageObject VideoObject(uint32_t id, const VideoRecord &record, std::vector<PageObject> children = {},
                       size_t fieldCount = SIZE_MAX);
// A video object (1, 5) playing the file beside the publication: its record
// links its one child (id + 1), an external resource object of kind 6 (AVI).
PageObject AviVideoObject(uint32_t id, VideoRecord record, const std::string &fileName);
// A video action (3, 5) for a video object: 200 from and to (ms), 204
// position and seek mode; 201 has the two fields too.
ListedObject VideoAction(uint32_t id, const ActionFields &fields, int32_t first = -1, int32_t second = -1);

struct Page {
  Page() = default;
  // A page with the default record.
  Page(const VORObjectKey &key) : reference(key) {} // NOLINT(google-explicit-constructor): lists of keys

  VORObjectKey reference{0, 4, 1};
  PageProperties properties;
  size_t propertyFieldCount = SIZE_MAX;
  std::vector<PageObject> objects;
  // Written as an empty folder: a page whose record is missing.
  bool withoutRecord = false;
};

struct Chapter {
  VORObjectKey reference{0, 2, 1};
  ChapterProperties properties;
  size_t propertyFieldCount = SIZE_MAX;
  // One folder per page, keyed by its reference.
  std::vector<Page> pages;
  // Written without a properties folder: a chapter whose record is missing.
  bool withoutProperties = false;
  // Bytes added after the pages as they are, for malformed chapters.
  std::vector<uint8_t> trailingBytes;
};

struct PaletteEntry {
  uint8_t blue, green, red, reserved;
};

// The whole publication: the root entry 0 holding the publication's folder
// (keyed by its class half, as its reader opens it), in it the publication's
// data (colour depth, text resolution), the folders without key of the
// palette (8-bit publications), the search dictionary, the OLE-container
// flag and the properties, then one folder per chapter.
struct Publication {
  static constexpr uint32_t kRootEntry = 0;

  VORObjectKey reference{0, 1, 0xFFFFFFFF};
  bool withColourDepth = true;
  int32_t colourDepth = 24;
  std::vector<PaletteEntry> palette;
  // The palette count as stored; the entry count when negative.
  int64_t paletteCount = -1;
  std::vector<uint8_t> dictionary;
  // The dictionary size as stored; the dictionary's own size when negative.
  int64_t dictionarySize = -1;
  uint8_t oleContainer = 0;
  bool withTextResolution = true;
  int32_t textResolution = -1;
  PublicationProperties properties;
  size_t propertyFieldCount = SIZE_MAX;
  std::vector<Chapter> chapters;
  // Internal resources by number (1 and up): each a top-level entry whose
  // one data item is the resource's bytes (number 1 in the internal picture
  // format is the cover).
  std::map<uint32_t, std::vector<uint8_t>> internalResources;

  // Adds the root entry and the internal resources to writer.
  void AddTo(PublicationWriter &writer) const;
  std::vector<uint8_t> Bytes(uint32_t version = 0) const;
};

// The written file as a byte string, as the scratch folder writes files.
std::string FileText(const Publication &publication, uint32_t version = 0);

// A page of the given size whose own colour is colour.
Page ColouredPage(uint32_t id, uint32_t colour, int32_t width = 200, int32_t height = 100);
// One chapter of 200 x 100 pages, shown in a main window of 400 x 300 with a
// title bar and the given flags: the pages leave margins to look at.
Publication SmallPagesInAWindow(const std::string &title, uint32_t flags, std::vector<Page> pages);

// ---- Text objects ----
// A text style record: the presence mask, the flags word, then the fields
// the mask names, in the order face (32-bit length and bytes), size, text,
// background and shadow colours, tag ids (32-bit count and ids), alignment,
// spacing, first, left and right indents, tab stops (count, kind and
// position each).
struct TextStyleRecord {
  uint32_t mask = 0;
  uint32_t flags = 0;
  std::string face;
  int32_t size = 12;
  uint32_t textColour = 0;
  uint32_t backgroundColour = 0;
  uint32_t shadowColour = 0;
  std::vector<int32_t> tagIds;
  int32_t alignment = 0;
  int32_t spacing = 1024;
  int32_t firstIndent = 0;
  int32_t leftIndent = 0;
  int32_t rightIndent = 0;

  std::vector<uint8_t> Bytes() const;
};
// A hypertext link: its id, its event list and its event map.
struct TextLinkRecord {
  int32_t id = 1;
  PublicationRecords::Events events{};
};
// A text object's record (1, 4): the hotspot record, then (only when the
// leading flags byte is 0) the RTF text, the vertical alignment byte, the
// 32-bit text flags, tab width, shadow x and y, the default and highlight
// styles, the read-along segment count and its two arrays (tag ids, end
// times), the sound reference, the input flags (with flag 0x1 the input
// variable's name and the maximum length), the link count and, when not 0,
// four link styles and each link's id and event list (a folder); the
// scrollbar, external text and further references; each link's event map
// (a folder); the scroll mode byte and the smooth-text byte.
struct TextRecord {
  HotSpotRecord hotSpot;
  std::string rtf = "{\\rtf1 text}";
  uint8_t verticalAlignment = 0;
  uint32_t textFlags = 1;
  int32_t tabWidth = 30;
  int32_t shadowX = 3;
  int32_t shadowY = 3;
  TextStyleRecord defaultStyle{};
  TextStyleRecord highlightStyle{};
  std::vector<int32_t> segmentTags;
  std::vector<uint32_t> segmentEnds;
  // The segment count as stored; the arrays' size when negative.
  int64_t segmentCount = -1;
  VORObjectKey sound{0, 0, 0};
  uint32_t inputFlags = 0;
  std::string inputVariable;
  uint32_t maxLength = 0;
  std::vector<TextLinkRecord> links;
  // The link count as stored; the links' number when negative.
  int64_t linkCount = -1;
  TextStyleRecord linkStyles[4]{};
  VORObjectKey scrollbar{0, 0, 0};
  VORObjectKey externalText{0, 0, 0};
  VORObjectKey further{0, 0, 0};
  uint8_t scrollMode = 0;
  uint8_t smoothText = 1;

  std::vector<Field> Fields() const;
};
PageObject TextObject(uint32_t id, const TextRecord &record, size_t fieldCount = SIZE_MAX,
                      std::vector<PageObject> children = {});

} // namespace PublicationRecords

namespace PublicationRecords {

// ---- Scrollbars ----
// A scrollbar's record (1, 0x10): its own fields come first: the target
// reference, the 32-bit auto-layout flag, the up and down button
// references, four dropped references (only in files of versions up to
// 0x100001, which fileVersion names), the thumb and track references, the
// thumb size and the position (8-byte doubles), the frame and
// proportional-thumb bytes; then the hotspot record.
struct ScrollbarRecord {
  static constexpr uint32_t kLastVersionWithDroppedReferences = 0x100001;

  uint32_t fileVersion = 0;
  VORObjectKey target{0, 0, 0};
  uint32_t autoLayout = 1;
  VORObjectKey upButton{0, 0, 0};
  VORObjectKey downButton{0, 0, 0};
  VORObjectKey thumb{0, 0, 0};
  VORObjectKey track{0, 0, 0};
  double thumbSize = 0.1;
  double position = 0.0;
  uint8_t frame = 0;
  uint8_t proportionalThumb = 1;
  HotSpotRecord hotSpot;

  std::vector<Field> Fields() const;
};
PageObject ScrollbarObject(uint32_t id, const ScrollbarRecord &record, std::vector<PageObject> children = {},
                           size_t fieldCount = SIZE_MAX);

// A scrollbar action (3, 0xD): the 16-bit kind and second word, the
// position and the size (8-byte doubles), written up to ownFieldCount of
// them.
struct ScrollbarAction {
  uint32_t id = 1;
  ActionFields fields{VORObjectKey{1, 0x10, 1}, 600};
  uint16_t kind = 0;
  uint16_t second = 0;
  double position = 0.0;
  double size = 0.1;
  size_t ownFieldCount = SIZE_MAX;

  ListedObject Object() const;
};

} // namespace PublicationRecords
