#include "model/VORPlayerPublication.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "model/PublicationTextSettings.h"
#include "model/VORPlayerChapter.h"
#include "support/FakeApp.h"
#include "support/MemoryFile.h"
#include "support/PublicationRecords.h"
#include "vorfile/SectionGuard.h"
#include "vorfile/VORCompiledFile.h"
#include "vorfile/VORFileException.h"

namespace {

using PublicationRecords::Chapter;
using PublicationRecords::Publication;

// A written publication opened as the player opens it.
class OpenedPublication {
public:
  explicit OpenedPublication(const std::vector<uint8_t> &bytes)
      : m_file(std::make_unique<MemoryFile>(bytes, "publication.vor")) {
    EXPECT_TRUE(m_file.Open(false, false));
  }
  std::unique_ptr<VORPlayerPublication> Load() { return VORPlayerPublication::LoadFromRoot(m_file); }
  VORCompiledFile &File() { return m_file; }

private:
  VORCompiledFile m_file;
};

std::unique_ptr<VORPlayerPublication> Load(const Publication &publication) {
  OpenedPublication opened(publication.Bytes());
  return opened.Load();
}

std::string Text(const VORObjectCode &reference) {
  return std::to_string(reference.category) + "/" + std::to_string(reference.code) + "/" + std::to_string(reference.id);
}

std::string Text(const VORExternalResourceIdentifier &identifier) {
  return std::to_string(identifier.GetLocationKind()) + ":" + identifier.GetFileName().CStr() + ":" +
         std::to_string(identifier.GetStorage());
}

Publication TwoChapters() {
  Publication publication;
  publication.properties.title = "Two chapters";
  Chapter first;
  first.reference = VORObjectKey{0, 2, 1};
  first.properties.title = "First";
  first.pages = {VORObjectKey{0, 4, 1}, VORObjectKey{0, 4, 2}};
  Chapter second;
  second.reference = VORObjectKey{0, 2, 2};
  second.properties.ownWindow = 1;
  second.properties.windowWidth = 320;
  publication.chapters = {first, second};
  return publication;
}

TEST(VORPlayerPublicationReadTest, ReadsThePublicationWithItsChapters) {
  FakeApp app;
  Publication written = TwoChapters();
  written.textResolution = 120;
  written.oleContainer = 1;
  written.dictionary = {1, 2, 3, 4, 5};
  std::unique_ptr<VORPlayerPublication> publication = Load(written);
  ASSERT_NE(publication, nullptr);
  EXPECT_STREQ(publication->GetPublicationProperties().title.CStr(), "Two chapters");
  EXPECT_EQ(publication->GetColourDepth(), 24);
  EXPECT_EQ(publication->GetPalette(), nullptr);
  EXPECT_EQ(publication->GetTextResolution(), 120);
  EXPECT_TRUE(publication->WantsOleContainer());
  EXPECT_EQ(publication->TakeSearchDictionary(), (std::vector<uint8_t>{1, 2, 3, 4, 5}));
  ASSERT_EQ(publication->GetChildCount(), 2u);
  auto *first = dynamic_cast<VORPlayerChapter *>(publication->ChildAt(0));
  auto *second = dynamic_cast<VORPlayerChapter *>(publication->ChildAt(1));
  ASSERT_TRUE(first && second);
  EXPECT_EQ(first->GetObjectCode(), VORObjectCode(0, 2, 1));
  EXPECT_STREQ(first->GetChapterProperties().title.CStr(), "First");
  EXPECT_EQ(second->GetObjectCode(), VORObjectCode(0, 2, 2));
  EXPECT_TRUE(second->HasOwnWindow());
  EXPECT_EQ(second->GetChapterProperties().windowWidth, 320);
  ASSERT_EQ(first->GetChildCount(), 2u) << "the pages, read with their chapter";
  EXPECT_EQ(VORChapter::ReferenceOf(first->ChildAt(1)), VORObjectCode(0, 4, 2));
  EXPECT_EQ(publication->GetParent(), nullptr);
  EXPECT_EQ(first->GetParent(), publication.get());
}

// References that are none or of no known class are left out without
// counting as missing; a chapter whose folder holds no record is left out
// and counted.
TEST(VORPlayerPublicationReadTest, ChildrenThatAreLeftOut) {
  FakeApp app;
  Publication written = TwoChapters();
  Chapter none;
  none.reference = VORObjectKey::None();
  Chapter unknown;
  unknown.reference = VORObjectKey{0, 3, 5};
  Chapter missing;
  missing.reference = VORObjectKey{0, 2, 7};
  missing.withoutProperties = true;
  written.chapters.insert(written.chapters.begin() + 1, {none, unknown, missing});
  OpenedPublication opened(written.Bytes());
  std::unique_ptr<VORPlayerPublication> publication = opened.Load();
  ASSERT_NE(publication, nullptr);
  ASSERT_EQ(publication->GetChildCount(), 2u);
  EXPECT_EQ(VORChapter::ReferenceOf(publication->ChildAt(0)), VORObjectCode(0, 2, 1));
  EXPECT_EQ(VORChapter::ReferenceOf(publication->ChildAt(1)), VORObjectCode(0, 2, 2));
  EXPECT_EQ(opened.File().GetSkippedObjectCount(), 1u);
}

// A chapter whose folder breaks off (an item claims more than the folder
// holds) has no record to read: it is left out and counted, and the
// publication reads on with the other chapters.
TEST(VORPlayerPublicationReadTest, AChapterWithABrokenItemIsLeftOut) {
  FakeApp app;
  Publication written = TwoChapters();
  Chapter broken;
  broken.reference = VORObjectKey{0, 2, 7};
  broken.withoutProperties = true;
  broken.trailingBytes = {100, 0, 0, 0, 1, 2, 3, 4}; // a folder item of 100 bytes, 4 of them present
  written.chapters.insert(written.chapters.begin() + 1, broken);
  OpenedPublication opened(written.Bytes());
  std::unique_ptr<VORPlayerPublication> publication = opened.Load();
  ASSERT_NE(publication, nullptr) << "one broken item does not refuse the publication";
  ASSERT_EQ(publication->GetChildCount(), 2u);
  EXPECT_EQ(VORChapter::ReferenceOf(publication->ChildAt(0)), VORObjectCode(0, 2, 1));
  EXPECT_EQ(VORChapter::ReferenceOf(publication->ChildAt(1)), VORObjectCode(0, 2, 2));
  EXPECT_EQ(opened.File().GetSkippedObjectCount(), 1u);
}

// The publication's record cut after each field in turn. Every field after
// the window style is written with a value unlike the one it takes when
// missing, so each case shows which fields were read.
TEST(VORPlayerPublicationReadTest, ARecordEndingAtEachFieldTakesTheStatedValues) {
  FakeApp app;
  Publication written = TwoChapters();
  PublicationRecords::PublicationProperties &p = written.properties;
  p.flags = 0x237;
  p.inactivityTimeout = 45;
  p.timeoutPage = VORObjectKey{0, 4, 7};
  p.closingPage = VORObjectKey{0, 4, 8};
  p.closingDelay = -1;
  p.exitPassword = "bye";
  p.displayMode = 3;
  p.firstResource = {1, "intro.avi", true, 2};
  p.secondResource = {2, "music.mid", false, 0};
  p.backgroundColor = 0x123456;
  p.characterSet = 128;
  p.passwordsOn = 1;
  p.passwords = {{"gold", {VORObjectKey{0, 2, 2}}}};
  p.refusedChapterPage = VORObjectKey{0, 4, 9};
  p.askUser = 0;

  using Props = VORPublication::VORPublicationProperties;
  struct Optional {
    const char *name;
    std::function<std::string(const Props &)> read;
    std::string written;
    std::string missing;
  };
  const Optional optional[] = {
      {"flags", [](const Props &r) { return std::to_string(r.flags); }, std::to_string(0x237), "0"},
      {"inactivity timeout", [](const Props &r) { return std::to_string(r.inactivityTimeout); }, "45", "600"},
      {"timeout page", [](const Props &r) { return Text(r.timeoutPage); }, "0/4/7", "0/0/0"},
      {"closing page", [](const Props &r) { return Text(r.closingPage); }, "0/4/8", "0/0/0"},
      {"closing delay", [](const Props &r) { return std::to_string(r.closingDelay); }, "-1", "30"},
      {"exit password", [](const Props &r) { return std::string(r.exitPassword.CStr()); }, "bye", ""},
      {"display mode", [](const Props &r) { return std::to_string(r.displayMode); }, "3", "0"},
      {"first external resource", [](const Props &r) { return Text(r.firstResource); }, "1:intro.avi:2", "-1::1"},
      // Its storage byte is missing from its own record: 0.
      {"second external resource", [](const Props &r) { return Text(r.secondResource); }, "2:music.mid:0", "-1::1"},
      {"background colour", [](const Props &r) { return std::to_string(r.backgroundColor); }, std::to_string(0x123456),
       "0"},
      {"character set", [](const Props &r) { return std::to_string(r.characterSet); }, "128", "0"},
      {"passwords on", [](const Props &r) { return std::to_string(r.passwordsOn); }, "1", "0"},
      {"password list", [](const Props &r) { return std::to_string(r.passwords.GetCount()); }, "1", "0"},
      {"refused-chapter page", [](const Props &r) { return Text(r.refusedChapterPage); }, "0/4/9", "0/0/0"},
      {"ask user", [](const Props &r) { return std::to_string(r.askUser); }, "0", "1"},
  };
  const std::vector<PublicationRecords::Field> fields = p.Fields();
  constexpr size_t kRequired = 10; // title bar to window style, each value of a pair counted
  ASSERT_EQ(fields.size(), kRequired + std::size(optional));

  for (size_t count = 0; count <= fields.size(); ++count) {
    const std::string cut = count == 0 ? "an empty record" : "a record ending after " + fields[count - 1].name;
    written.propertyFieldCount = count;
    std::unique_ptr<VORPlayerPublication> publication = Load(written);
    if (count < kRequired) {
      EXPECT_EQ(publication, nullptr) << cut << ": a required field is missing";
      continue;
    }
    ASSERT_NE(publication, nullptr) << cut;
    const Props &read = publication->GetPublicationProperties();
    EXPECT_EQ(read.windowStyle, 0xCB0000u) << cut;
    for (size_t i = 0; i < std::size(optional); ++i) {
      const bool present = kRequired + i < count;
      EXPECT_EQ(optional[i].read(read), present ? optional[i].written : optional[i].missing)
          << cut << ": " << optional[i].name;
    }
    EXPECT_EQ(publication->GetChildCount(), 2u) << cut << ": the chapters follow the properties";
  }
}

// Each value of the chapter's pairs counts as a field of its own. The two
// bytes and the border are required; a size or position the record no
// longer holds is 0 (the reading pinned here: the chapter is kept, with a
// window of 0 x 0 when the record ends before its size).
TEST(VORPlayerPublicationReadTest, AChapterRecordEndingAtEachField) {
  FakeApp app;
  Publication written = TwoChapters();
  Chapter &chapter = written.chapters[1];
  PublicationRecords::ChapterProperties &c = chapter.properties;
  c = {800, 600, 1, 0, "Own", 1, 10, 20, 300, 200, 0x10, 1};
  const std::vector<PublicationRecords::Field> fields = c.Fields();
  struct Expected {
    bool kept;
    int32_t values[6]; // page width, page height, x, y, window width, window height
    uint32_t windowStyle;
    uint8_t keepAspect;
  };
  const Expected expected[] = {
      {false, {}, 0, 0},                             // 0: nothing
      {false, {}, 0, 0},                             // 1: page width
      {false, {}, 0, 0},                             // 2: page height
      {false, {}, 0, 0},                             // 3: own window
      {false, {}, 0, 0},                             // 4: title bar
      {false, {}, 0, 0},                             // 5: title
      {true, {800, 600, 0, 0, 0, 0}, 0, 0},          // 6: border
      {true, {800, 600, 10, 0, 0, 0}, 0, 0},         // 7: x
      {true, {800, 600, 10, 20, 0, 0}, 0, 0},        // 8: y
      {true, {800, 600, 10, 20, 300, 0}, 0, 0},      // 9: window width
      {true, {800, 600, 10, 20, 300, 200}, 0, 0},    // 10: window height
      {true, {800, 600, 10, 20, 300, 200}, 0x10, 0}, // 11: window style
      {true, {800, 600, 10, 20, 300, 200}, 0x10, 1}, // 12: keep aspect ratio
  };
  ASSERT_EQ(fields.size() + 1, std::size(expected));
  for (size_t count = 0; count <= fields.size(); ++count) {
    const std::string cut = count == 0 ? "an empty record" : "a record ending after " + fields[count - 1].name;
    chapter.propertyFieldCount = count;
    OpenedPublication opened(written.Bytes());
    std::unique_ptr<VORPlayerPublication> publication = opened.Load();
    ASSERT_NE(publication, nullptr) << cut;
    const Expected &e = expected[count];
    ASSERT_EQ(publication->GetChildCount(), e.kept ? 2u : 1u) << cut;
    EXPECT_EQ(opened.File().GetSkippedObjectCount(), e.kept ? 0u : 1u) << cut << ": a skipped chapter is counted";
    if (!e.kept)
      continue;
    const VORChapter::VORChapterProperties &read =
        static_cast<VORChapter *>(publication->ChildAt(1))->GetChapterProperties();
    const int32_t values[] = {read.pageWidth, read.pageHeight, read.x, read.y, read.windowWidth, read.windowHeight};
    for (size_t i = 0; i < std::size(values); ++i)
      EXPECT_EQ(values[i], e.values[i]) << cut << ": value " << i;
    EXPECT_EQ(read.ownWindow, 1) << cut;
    EXPECT_EQ(read.titleBar, 0) << cut;
    EXPECT_EQ(read.border, 1) << cut;
    EXPECT_EQ(read.windowStyle, e.windowStyle) << cut << ": 0 when missing, not the 0xCB0000 of a new chapter";
    EXPECT_EQ(read.keepAspectRatio, e.keepAspect) << cut;
  }
}

TEST(VORPlayerPublicationReadTest, PaletteOfAnEightBitPublication) {
  struct Case {
    const char *what;
    int32_t depth;
    int64_t storedCount;
    uint32_t entriesWritten;
    bool trueColorDisplay;
    uint32_t expectedCount; // read entries
    bool defaultPalette;
  } cases[] = {
      {"8 bits: its own colours", 8, -1, 3, true, 3, false},
      {"8 bits, more than 256 colours: 256 read", 8, 300, 300, true, 256, false},
      {"8 bits, no count: none", 8, -1, 0, true, 0, false},
      {"16 bits on a palette display: the default palette", 16, -1, 0, false, 0, true},
      {"24 bits on a true-colour display: none", 24, -1, 0, true, 0, false},
  };
  for (const Case &c : cases) {
    FakeApp app;
    app.SetTrueColor(c.trueColorDisplay);
    Publication written = TwoChapters();
    written.colourDepth = c.depth;
    written.paletteCount = c.storedCount;
    for (uint32_t i = 0; i < c.entriesWritten; ++i)
      written.palette.push_back({static_cast<uint8_t>(i), 2, 3, 0});
    written.textResolution = 96;
    std::unique_ptr<VORPlayerPublication> publication = Load(written);
    ASSERT_NE(publication, nullptr) << c.what;
    EXPECT_EQ(publication->GetColourDepth(), c.depth) << c.what;
    const VORPaletteRecord *palette = publication->GetPalette();
    EXPECT_EQ(palette != nullptr, c.depth == 8) << c.what;
    if (palette) {
      EXPECT_EQ(palette->GetCount(), c.expectedCount) << c.what;
      if (c.expectedCount > 1) {
        EXPECT_EQ(palette->GetEntries()[1].blue, 1) << c.what;
        EXPECT_EQ(palette->GetEntries()[1].green, 2) << c.what;
        EXPECT_EQ(palette->GetEntries()[1].red, 3) << c.what;
      }
    }
    EXPECT_EQ(publication->UsesDefaultPalette(), c.defaultPalette) << c.what;
    EXPECT_EQ(publication->GetTextResolution(), 96) << c.what << ": the palette is not part of the publication's data";
    EXPECT_EQ(publication->GetChildCount(), 2u) << c.what;
  }
}

TEST(VORPlayerPublicationReadTest, SearchDictionarySizeIsBoundByItsRecord) {
  struct Case {
    const char *what;
    std::vector<uint8_t> bytes;
    int64_t storedSize;
    size_t expected;
  } cases[] = {
      {"as stored", {9, 8, 7}, -1, 3},
      {"shorter than the record", {9, 8, 7}, 2, 2},
      {"one byte more than the record holds", {9, 8, 7}, 4, 0},
      {"a size no file backs", {}, 0x7FFFFFFF, 0},
      {"the largest size", {1}, 0xFFFFFFFF, 0},
  };
  for (const Case &c : cases) {
    FakeApp app;
    Publication written = TwoChapters();
    written.dictionary = c.bytes;
    written.dictionarySize = c.storedSize;
    std::unique_ptr<VORPlayerPublication> publication = Load(written);
    ASSERT_NE(publication, nullptr) << c.what << ": a bad dictionary leaves only the search out";
    EXPECT_EQ(publication->TakeSearchDictionary().size(), c.expected) << c.what;
    EXPECT_EQ(publication->GetChildCount(), 2u) << c.what;
  }
}

// Every rich text of the run takes the publication's character set and text
// resolution; resolutions no display has leave the display's own.
TEST(VORPlayerPublicationReadTest, HandsItsCharacterSetAndTextResolutionToTheRichText) {
  FakeApp app;
  const struct {
    uint16_t characterSet;
    bool withResolution;
    int32_t resolution;
    int32_t expected;
  } cases[] = {
      {204, true, 96, 96}, {161, true, 120, 120}, {238, true, -1, -1},   {0, false, 0, -1},
      {0, true, 0, -1},    {0, true, -7, -1},     {0, true, 100000, -1}, {0, true, 2400, 2400},
  };
  for (const auto &c : cases) {
    PublicationTextSettings::Reset();
    Publication written = TwoChapters();
    written.properties.characterSet = c.characterSet;
    written.withTextResolution = c.withResolution;
    written.textResolution = c.resolution;
    ASSERT_NE(Load(written), nullptr);
    EXPECT_EQ(PublicationTextSettings::GetPreferredCharset(), c.characterSet) << c.resolution;
    EXPECT_EQ(PublicationTextSettings::GetTextResolution(), c.expected) << c.resolution;
    EXPECT_EQ(PublicationTextSettings::ResolveForDisplay(144), c.expected == -1 ? 144 : c.expected) << c.resolution;
  }
  PublicationTextSettings::Reset();
}

TEST(VORPlayerPublicationReadTest, PublicationDataMayBeEmpty) {
  FakeApp app;
  Publication written = TwoChapters();
  written.withColourDepth = false;
  written.withTextResolution = false;
  std::unique_ptr<VORPlayerPublication> publication = Load(written);
  ASSERT_NE(publication, nullptr);
  EXPECT_EQ(publication->GetColourDepth(), 24);
  EXPECT_EQ(publication->GetTextResolution(), -1);
}

TEST(VORPlayerPublicationReadTest, FilesWithoutAPublication) {
  FakeApp app;
  const std::vector<uint8_t> good = TwoChapters().Bytes();
  struct Case {
    const char *what;
    std::vector<uint8_t> bytes;
  } cases[] = {
      {"empty file", {}},
      {"garbage", {'n', 'o', 't', ' ', 'a', ' ', 'p', 'u', 'b', 'l', 'i', 'c', 'a', 't', 'i', 'o', 'n'}},
      {"truncated to the header", std::vector<uint8_t>(good.begin(), good.begin() + 8)},
      {"truncated in the middle", std::vector<uint8_t>(good.begin(), good.begin() + good.size() / 2)},
      {"one byte short", std::vector<uint8_t>(good.begin(), good.end() - 1)},
  };
  for (const Case &c : cases) {
    OpenedPublication opened(c.bytes);
    EXPECT_EQ(opened.Load(), nullptr) << c.what;
  }

  struct Root {
    const char *what;
    VORObjectKey reference;
  } roots[] = {
      {"root of no known class", VORObjectKey{0, 3, 0xFFFFFFFF}},
      {"root that is a chapter", VORObjectKey{0, 2, 0xFFFFFFFF}},
      {"root that is an action", VORObjectKey{3, 1, 0xFFFFFFFF}},
      {"root reference none", VORObjectKey::None()},
  };
  for (const Root &root : roots) {
    Publication written = TwoChapters();
    written.reference = root.reference;
    EXPECT_EQ(Load(written), nullptr) << root.what;
  }

  PublicationWriter noRoot;
  noRoot.AddEntry(1).AddData({1, 2, 3});
  EXPECT_EQ(OpenedPublication(noRoot.Bytes()).Load(), nullptr) << "no entry 0";
  PublicationWriter emptyRoot;
  emptyRoot.AddEntry(0);
  EXPECT_EQ(OpenedPublication(emptyRoot.Bytes()).Load(), nullptr) << "entry 0 without a publication";
}

// A page's objects are read later, each time with the root entry opened
// anew (its scan never goes back): the publication's and the chapter's
// folders open around the page's reader and close again, also when it fails.
TEST(VORPlayerPublicationReadTest, LoadPageObjectsOpensThePublicationAndChapterFolders) {
  FakeApp app;
  OpenedPublication opened(TwoChapters().Bytes());
  std::unique_ptr<VORPlayerPublication> publication = opened.Load();
  ASSERT_NE(publication, nullptr);
  VORCompiledFile &file = opened.File();
  const uint8_t rootKey[4] = {0, 0, 0, 0};

  using Reader = std::function<void(VORFile &)>;
  const auto loadInRoot = [&](const VORObjectCode &chapter, const Reader &read) {
    SectionGuard root(file);
    root.Open(rootKey, sizeof rootKey, false, false, false);
    publication->LoadPageObjects(file, chapter, read);
  };
  for (int round = 0; round < 2; ++round) {
    std::vector<VORObjectCode> pages;
    loadInRoot(VORObjectCode(0, 2, 1), [&](VORFile &inChapter) {
      VORObjectKey key = VORObjectKey::None();
      for (bool more = VORCompiledFile::ReadObjectCode(inChapter, key, VORObjectKey::kSize); more;
           more = VORCompiledFile::ReadNextObjectCode(inChapter, key, VORObjectKey::kSize))
        pages.push_back(VORObjectCode::FromKey(key));
    });
    EXPECT_EQ(pages, (std::vector<VORObjectCode>{VORObjectCode(0, 4, 1), VORObjectCode(0, 4, 2)})) << round;
  }
  EXPECT_THROW(loadInRoot(VORObjectCode(0, 2, 1), [](VORFile &) { throw 7; }), int);
  EXPECT_THROW(loadInRoot(VORObjectCode(0, 2, 9), [](VORFile &) {}), VORFileFolderNotFoundException);
  bool read = false;
  loadInRoot(VORObjectCode(0, 2, 2), [&](VORFile &) { read = true; });
  EXPECT_TRUE(read) << "every folder was closed again after the failures";
  EXPECT_FALSE(file.FirstKey(nullptr, 0)) << "no folder is left open";
}

} // namespace
