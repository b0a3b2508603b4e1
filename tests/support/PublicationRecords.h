#pragma once

#include <cstdint>
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
// kept in a folder without key, that folder's data.
struct Field {
  std::string name;
  std::vector<uint8_t> bytes;
  bool ownFolder = false;
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
// the two transitions (no effect), the event list and the event map
// (empty) in folders without key.
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

  std::vector<Field> Fields() const;
};

// An object on a page: its folder, keyed by its reference, holding the
// record's bytes.
struct PageObject {
  VORObjectKey reference;
  std::vector<uint8_t> record;
};

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

  // Adds the root entry to writer.
  void AddTo(PublicationWriter &writer) const;
  std::vector<uint8_t> Bytes(uint32_t version = 0) const;
};

} // namespace PublicationRecords
