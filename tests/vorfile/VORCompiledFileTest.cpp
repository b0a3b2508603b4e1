#include "vorfile/VORCompiledFile.h"

#include "support/FakeRecordFile.h"
#include "support/MemoryFile.h"
#include "support/NestedFolders.h"
#include "support/PublicationWriter.h"
#include "vorfile/SectionGuard.h"
#include "vorfile/VORFileException.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;
using Folder = PublicationWriter::Folder;

constexpr uint32_t kKey8 = VORObjectKey::kSize;
constexpr uint32_t kKey4 = VORObjectKey::kClassSize;
constexpr uint32_t kDataBit = 0x80000000u;
constexpr uint32_t kNoKeyBit = 0x40000000u;

const VORObjectKey kChapter{0, 2, 10};
const VORObjectKey kOtherChapter{0, 2, 11};
const VORObjectKey kPage{0, 3, 20};

// The compiled file over bytes in memory, opened for reading.
struct Container {
  explicit Container(Bytes bytes) {
    auto owned = std::make_unique<MemoryFile>(std::move(bytes));
    memory = owned.get();
    file = std::make_unique<VORCompiledFile>(std::move(owned));
    EXPECT_TRUE(file->Open(false, false));
  }
  explicit Container(const PublicationWriter &writer) : Container(writer.Bytes()) {}

  MemoryFile *memory;
  std::unique_ptr<VORCompiledFile> file;
};

Bytes Uint32(uint32_t value) { return RecordBytes().Uint32(value).Take(); }

Bytes Join(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes &part : parts)
    out.insert(out.end(), part.begin(), part.end());
  return out;
}

Bytes Key(const VORObjectKey &reference, uint32_t length = kKey8) {
  return PublicationWriter::ReferenceKey(reference, length);
}

void OpenEntry(VORFile &file, uint32_t index, bool inMemory = false, bool openData = true) {
  const Bytes key = PublicationWriter::IndexKey(index);
  file.OpenFolder(key.data(), static_cast<uint32_t>(key.size()), false, inMemory, openData);
}

void OpenKeyed(VORFile &file, const VORObjectKey &reference, uint32_t length = kKey8, bool inMemory = false,
               bool openData = true) {
  const Bytes key = Key(reference, length);
  file.OpenFolder(key.data(), length, false, inMemory, openData);
}

void OpenNext(VORFile &file, bool inMemory = false) { file.OpenFolder(nullptr, 0, false, inMemory, true); }

uint32_t ReadUint32(VORFile &file) {
  uint8_t bytes[4];
  file.ReadExact(bytes, sizeof(bytes));
  return bytes[0] | bytes[1] << 8 | bytes[2] << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

std::vector<VORObjectKey> ReadReferences(VORCompiledFile &file, uint32_t length = kKey8) {
  std::vector<VORObjectKey> references;
  VORObjectKey reference = VORObjectKey::None();
  for (bool more = file.ReadObjectCode(reference, length); more; more = file.ReadNextObjectCode(reference, length)) {
    references.push_back(reference);
    reference = VORObjectKey::None();
  }
  return references;
}

enum class Outcome { kNothing, kFolderNotFound, kIncompleteRead, kCorruptFile, kFileError, kOther };

const char *Name(Outcome outcome) {
  static const char *const kNames[] = {"nothing",      "folder not found", "incomplete read",
                                       "corrupt file", "file error",       "another exception"};
  return kNames[static_cast<int>(outcome)];
}

Outcome OutcomeOf(const std::function<void()> &action) {
  try {
    action();
  } catch (const VORFileFolderNotFoundException &) {
    return Outcome::kFolderNotFound;
  } catch (const VORFileIncompleteReadException &) {
    return Outcome::kIncompleteRead;
  } catch (const VORFileCorruptFileException &) {
    return Outcome::kCorruptFile;
  } catch (const VORFileErrorException &) {
    return Outcome::kFileError;
  } catch (...) {
    return Outcome::kOther;
  }
  return Outcome::kNothing;
}

// Version, N, the table, then the entries as given.
Bytes ContainerBytes(uint32_t count, std::initializer_list<uint32_t> table, Bytes entries) {
  Bytes out = Join({Uint32(0), Uint32(count)});
  for (uint32_t offset : table)
    out = Join({out, Uint32(offset)});
  return Join({out, entries});
}

// One entry at offset 0 keyed by index 0 and holding `body`.
Bytes SingleEntry(const Bytes &body) {
  return ContainerBytes(1, {0}, Join({Uint32(static_cast<uint32_t>(body.size()) + 4), Uint32(0), body}));
}

Bytes Truncated(Bytes bytes, size_t count) {
  bytes.resize(bytes.size() - count);
  return bytes;
}

Bytes DataItem(const Bytes &bytes) { return Join({Uint32(kDataBit | static_cast<uint32_t>(bytes.size())), bytes}); }

Bytes KeyedItem(const Bytes &key, const Bytes &body) {
  return Join({Uint32(static_cast<uint32_t>(key.size() + body.size())), key, body});
}

TEST(VORCompiledFileTest, OpensAndReadsNestedFolders) {
  PublicationWriter writer(0x04000001);
  Folder &root = writer.AddEntry(0);
  root.AddData(RecordBytes().Uint32(1).Take());
  Folder &chapter = root.AddFolder(kChapter);
  chapter.AddData(RecordBytes().Uint32(2).Take());
  chapter.AddFolder(kPage).AddData(RecordBytes().Uint32(3).Take());
  root.AddFolder(kOtherChapter).AddData(RecordBytes().Uint32(4).Take());

  for (bool inMemory : {false, true}) {
    Container container(writer);
    VORCompiledFile &file = *container.file;
    EXPECT_EQ(file.GetVersion(), 0x04000001u);
    EXPECT_EQ(file.GetEntryCount(), 1u);
    OpenEntry(file, 0, inMemory);
    EXPECT_EQ(ReadUint32(file), 1u) << inMemory;
    OpenKeyed(file, kChapter, kKey8, inMemory);
    EXPECT_EQ(ReadUint32(file), 2u) << inMemory;
    OpenKeyed(file, kPage, kKey8, inMemory);
    EXPECT_EQ(ReadUint32(file), 3u) << inMemory;
    file.CloseFolder();
    file.CloseFolder();
    // Back in the root: its own record goes on where it stopped.
    EXPECT_EQ(OutcomeOf([&] { ReadUint32(file); }), Outcome::kIncompleteRead);
    OpenKeyed(file, kOtherChapter, kKey8, inMemory);
    EXPECT_EQ(ReadUint32(file), 4u) << inMemory;
    file.CloseFolder();
    file.CloseFolder();
    // No folder open: nothing to read.
    uint32_t got = 99;
    uint8_t byte = 0;
    file.Read(&byte, 1, got);
    EXPECT_EQ(got, 0u);
  }
}

TEST(VORCompiledFileTest, KeyLengthZeroOpensTheNextFolderItemKeyedOrNot) {
  PublicationWriter writer;
  Folder &root = writer.AddEntry(0);
  root.AddData({9});
  root.AddAnonymousFolder().AddData(Uint32(1));
  root.AddFolder(kChapter).AddData(Uint32(2));
  root.AddAnonymousFolder().AddData(Uint32(3));
  Container container(writer);
  VORCompiledFile &file = *container.file;
  OpenEntry(file, 0);
  OpenNext(file);
  EXPECT_EQ(ReadUint32(file), 1u);
  file.CloseFolder();
  // A keyed item opened without key starts with its key bytes: 00 00 02 00
  // read as an item header claims far more than the folder holds.
  EXPECT_EQ(OutcomeOf([&] { OpenNext(file); }), Outcome::kCorruptFile);
  OpenNext(file);
  EXPECT_EQ(ReadUint32(file), 3u);
  file.CloseFolder();
  EXPECT_EQ(OutcomeOf([&] { OpenNext(file); }), Outcome::kFolderNotFound);
}

// Readers that compare only the class half open their folders with a key of
// 4 bytes, and the sub-folder begins right after the key bytes read. Such
// folders are therefore stored with a 4-byte key: the publication under the
// root entry, and the actions inside their event's folder.
TEST(VORCompiledFileTest, FoldersReadByTheClassHalfAreStoredWithFourByteKeys) {
  const VORObjectKey publication{0, 1, VORObjectKey::kNoId};
  const VORObjectKey action{3, 1, VORObjectKey::kNoId};
  PublicationWriter writer;
  Folder &root = writer.AddEntry(0);
  root.AddData(Key(publication, kKey4));
  Folder &folder = root.AddFolder(publication, kKey4);
  folder.AddData(Uint32(24));
  folder.AddAnonymousFolder().AddData(Uint32(0));
  folder.AddFolder(kChapter).AddData(Uint32(2));
  folder.AddFolder(kOtherChapter).AddData(Uint32(3));
  Folder &event = folder.AddFolder(kPage);
  event.AddData({});
  event.AddFolder(action, kKey4).AddData(Uint32(100));
  event.AddFolder(action, kKey4).AddData(Uint32(200));

  Container container(writer);
  VORCompiledFile &file = *container.file;
  SectionGuard rootGuard(file);
  rootGuard.Open(PublicationWriter::IndexKey(0).data(), VORCompiledFile::kEntryKeySize, false, false, true);
  VORObjectKey rootClass = VORObjectKey::None();
  uint8_t classHalf[kKey4];
  file.ReadExact(classHalf, kKey4);
  rootClass.FromBytes(classHalf, kKey4);
  EXPECT_TRUE(rootClass.Equals(publication));

  SectionGuard publicationGuard(file);
  publicationGuard.Open(rootClass, kKey4, false, true, true);
  EXPECT_EQ(ReadUint32(file), 24u);
  // The children's keys: the anonymous part of the record is passed over.
  const std::vector<VORObjectKey> chapters = ReadReferences(file);
  ASSERT_EQ(chapters.size(), 3u);
  EXPECT_TRUE(chapters[0].Equals(kChapter));
  EXPECT_TRUE(chapters[1].Equals(kOtherChapter));
  EXPECT_TRUE(chapters[2].Equals(kPage));

  // Two actions of one class: the forward scan opens them one after the other.
  OpenKeyed(file, kPage);
  for (uint32_t expected : {100u, 200u}) {
    SectionGuard actionGuard(file);
    actionGuard.Open(action, kKey4, false, false, true);
    EXPECT_EQ(ReadUint32(file), expected);
  }
  EXPECT_EQ(OutcomeOf([&] { OpenKeyed(file, action, kKey4); }), Outcome::kFolderNotFound);
}

TEST(VORCompiledFileTest, ReadObjectCodeWithFourBytesKeepsThePresetId) {
  PublicationWriter writer;
  Folder &root = writer.AddEntry(0);
  root.AddFolder(VORObjectKey{3, 5, VORObjectKey::kNoId}, kKey4);
  root.AddFolder(VORObjectKey{3, 6, VORObjectKey::kNoId}, kKey4);
  Container container(writer);
  VORCompiledFile &file = *container.file;
  OpenEntry(file, 0, false, false);
  VORObjectKey reference{0, 0, 77};
  ASSERT_TRUE(file.ReadObjectCode(reference, kKey4));
  EXPECT_TRUE(reference.Equals(VORObjectKey{3, 5, 77}));
  ASSERT_TRUE(file.ReadNextObjectCode(reference, kKey4));
  EXPECT_TRUE(reference.Equals(VORObjectKey{3, 6, 77}));
  EXPECT_FALSE(file.ReadNextObjectCode(reference, kKey4));
  EXPECT_FALSE(file.ReadNextObjectCode(reference, kKey4)) << "the walk stays over";
}

// A folder's walks end at its own end, whatever the bytes after it hold.
TEST(VORCompiledFileTest, WalksStopAtTheFoldersEnd) {
  PublicationWriter writer;
  Folder &root = writer.AddEntry(0);
  Folder &first = root.AddFolder(kChapter);
  first.AddFolder(kPage).AddData(Uint32(1));
  root.AddData(Uint32(2));
  root.AddFolder(kOtherChapter).AddData(Uint32(3));
  Container container(writer);
  VORCompiledFile &file = *container.file;
  OpenEntry(file, 0);
  EXPECT_EQ(ReadUint32(file), 2u) << "the root's data is its first data item, after the sub-folder";
  OpenKeyed(file, kChapter);

  // The data walk: the root's data item right after this folder is not its data.
  uint32_t size = 5;
  EXPECT_EQ(file.GetDataSize(size), 0u);
  EXPECT_EQ(OutcomeOf([&] { ReadUint32(file); }), Outcome::kIncompleteRead);
  // The key walk: the sibling's key is not this folder's.
  const std::vector<VORObjectKey> keys = ReadReferences(file);
  ASSERT_EQ(keys.size(), 1u);
  EXPECT_TRUE(keys[0].Equals(kPage));
  // The scan: the sibling is not found inside this folder.
  OpenKeyed(file, kPage);
  file.CloseFolder();
  EXPECT_EQ(OutcomeOf([&] { OpenKeyed(file, kOtherChapter); }), Outcome::kFolderNotFound);
  file.CloseFolder();
  OpenKeyed(file, kOtherChapter);
  EXPECT_EQ(ReadUint32(file), 3u);
}

TEST(VORCompiledFileTest, KeyWalksPassOverDataAndAnonymousItems) {
  PublicationWriter writer;
  Folder &root = writer.AddEntry(0);
  root.AddData({1, 2, 3, 4, 5, 6, 7, 8});
  root.AddAnonymousFolder().AddData(Key(kPage));
  root.AddFolder(kChapter);
  root.AddData(Key(kPage));
  root.AddFolder(kOtherChapter);
  Container container(writer);
  VORCompiledFile &file = *container.file;
  OpenEntry(file, 0);
  const std::vector<VORObjectKey> keys = ReadReferences(file);
  ASSERT_EQ(keys.size(), 2u);
  EXPECT_TRUE(keys[0].Equals(kChapter));
  EXPECT_TRUE(keys[1].Equals(kOtherChapter));
  // A walk starts over at FirstKey.
  EXPECT_EQ(ReadReferences(file).size(), 2u);
}

TEST(VORCompiledFileTest, SiblingsOpenInFileOrderAndReopeningTheParentStartsOver) {
  PublicationWriter writer;
  Folder &root = writer.AddEntry(0);
  root.AddFolder(kChapter).AddData(Uint32(1));
  root.AddFolder(kOtherChapter).AddData(Uint32(2));
  Container container(writer);
  VORCompiledFile &file = *container.file;
  OpenEntry(file, 0);
  OpenKeyed(file, kOtherChapter);
  file.CloseFolder();
  EXPECT_EQ(OutcomeOf([&] { OpenKeyed(file, kChapter); }), Outcome::kFolderNotFound);
  file.CloseFolder();
  OpenEntry(file, 0);
  OpenKeyed(file, kChapter);
  EXPECT_EQ(ReadUint32(file), 1u);
}

TEST(VORCompiledFileTest, FailedOpenLeavesTheChainAsItWas) {
  PublicationWriter writer;
  Folder &root = writer.AddEntry(0);
  root.AddData(Uint32(1));
  root.AddFolder(kChapter).AddData(Uint32(2));
  Container container(writer);
  VORCompiledFile &file = *container.file;
  OpenEntry(file, 0);
  EXPECT_EQ(OutcomeOf([&] { OpenKeyed(file, kPage); }), Outcome::kFolderNotFound);
  EXPECT_EQ(ReadUint32(file), 1u) << "the root is still the innermost folder";
  file.CloseFolder();
  EXPECT_EQ(OutcomeOf([&] { ReadUint32(file); }), Outcome::kIncompleteRead) << "and its close closed it";
}

TEST(VORCompiledFileTest, ReadStopsAtTheEndOfTheRecord) {
  PublicationWriter writer;
  writer.AddEntry(0).AddData({1, 2, 3}).AddData({4, 5});
  Container container(writer);
  VORCompiledFile &file = *container.file;
  OpenEntry(file, 0);
  uint8_t buffer[8] = {};
  uint32_t got = 0;
  file.Read(buffer, sizeof(buffer), got);
  EXPECT_EQ(got, 3u);
  file.Read(buffer, sizeof(buffer), got);
  EXPECT_EQ(got, 0u) << "the second data item is never read";
}

TEST(VORCompiledFileTest, SeekData) {
  struct Case {
    const char *name;
    int32_t offset;
    int32_t origin;
    bool result;
    uint32_t position; // where reading goes on
  } cases[] = {
      {"start", 3, 0, true, 3},
      {"start at the end", 10, 0, true, 10},
      {"start beyond the end", 11, 0, false, 4},
      {"start before the start", -1, 0, false, 4},
      {"current forward", 2, 1, true, 6},
      {"current back to the start", -4, 1, true, 0},
      {"current before the start", -5, 1, false, 4},
      {"end", 0, 2, true, 10},
      {"end beyond", 1, 2, false, 4},
      {"end back", -10, 2, true, 0},
      {"end before the start", -11, 2, false, 4},
      {"other origin", 3, 7, true, 4},
      {"most negative offset", INT32_MIN, 1, false, 4},
  };
  PublicationWriter writer;
  writer.AddEntry(0).AddData({0, 1, 2, 3, 4, 5, 6, 7, 8, 9});
  for (bool inMemory : {false, true}) {
    Container container(writer);
    VORCompiledFile &file = *container.file;
    OpenEntry(file, 0, inMemory);
    for (const Case &c : cases) {
      ASSERT_TRUE(file.SeekData(4, 0));
      EXPECT_EQ(file.SeekData(c.offset, c.origin), c.result) << c.name;
      uint8_t byte = 0xFF;
      uint32_t got = 0;
      file.Read(&byte, 1, got);
      if (c.position < 10) {
        EXPECT_EQ(got, 1u) << c.name;
        EXPECT_EQ(byte, c.position) << c.name;
      } else {
        EXPECT_EQ(got, 0u) << c.name;
      }
    }
  }
}

TEST(VORCompiledFileTest, AbsentEntryIsNotReadAtAll) {
  PublicationWriter writer;
  writer.AddEntry(1).AddData({1});
  Container container(writer);
  const int reads = container.memory->GetReadCount();
  EXPECT_EQ(OutcomeOf([&] { OpenEntry(*container.file, 0); }), Outcome::kFolderNotFound);
  EXPECT_EQ(OutcomeOf([&] { OpenEntry(*container.file, 2); }), Outcome::kFolderNotFound);
  EXPECT_EQ(container.memory->GetReadCount(), reads);
}

TEST(VORCompiledFileTest, OpeningForWritingIsRefusedAndTouchesNothing) {
  PublicationWriter writer;
  writer.AddEntry(0).AddData({1});
  const Bytes bytes = writer.Bytes();
  for (bool createNew : {false, true}) {
    auto owned = std::make_unique<MemoryFile>(bytes);
    MemoryFile &memory = *owned;
    VORCompiledFile file(std::move(owned));
    EXPECT_FALSE(file.Open(createNew, true)) << createNew;
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ(memory.GetOpenCount(), 0u);
    EXPECT_EQ(memory.GetBytes(), bytes);
    // The refusal leaves the file to be opened for reading.
    ASSERT_TRUE(file.Open(false, false));
    OpenEntry(file, 0);
    file.Write("x", 1);
    EXPECT_EQ(memory.GetBytes(), bytes);
  }
}

TEST(VORCompiledFileTest, CloseClosesEveryFolderAndTheFile) {
  PublicationWriter writer;
  writer.AddEntry(0).AddFolder(kChapter).AddData({1});
  auto owned = std::make_unique<MemoryFile>(writer.Bytes());
  MemoryFile *memory = owned.get();
  VORCompiledFile file(std::move(owned));
  ASSERT_TRUE(file.Open(false, false));
  EXPECT_EQ(memory->GetOpenCount(), 1u);
  OpenEntry(file, 0);
  OpenKeyed(file, kChapter);
  file.Close();
  EXPECT_FALSE(file.IsOpen());
  EXPECT_FALSE(file.Open(false, false)) << "the file went with the close";
  EXPECT_EQ(OutcomeOf([&] { OpenEntry(file, 0); }), Outcome::kFolderNotFound);
}

TEST(VORCompiledFileTest, SkippedObjectsAreCounted) {
  Container container(PublicationWriter().Bytes());
  EXPECT_EQ(container.file->GetSkippedObjectCount(), 0u);
  container.file->CountSkippedObject();
  container.file->CountSkippedObject();
  EXPECT_EQ(container.file->GetSkippedObjectCount(), 2u);
}

// Every malformed container gives its exception, and nothing reads outside
// what the file holds (the sanitizers watch the host build). Each case runs
// with its folders read directly and through a memory window.
TEST(VORCompiledFileTest, MalformedContainers) {
  using Action = std::function<void(VORCompiledFile &, bool inMemory)>;
  const Action openRoot = [](VORCompiledFile &f, bool m) { OpenEntry(f, 0, m); };
  const Action openChapter = [](VORCompiledFile &f, bool m) {
    OpenEntry(f, 0, m, false);
    OpenKeyed(f, kChapter, kKey8, m);
  };
  const Bytes chapterKey = Key(kChapter);
  const Bytes goodChapter = KeyedItem(chapterKey, DataItem(Uint32(1)));
  struct Case {
    const char *name;
    Bytes bytes;
    Action action;
    Outcome expected;
  } cases[] = {
      {"N = 0", ContainerBytes(0, {}, {}), openRoot, Outcome::kFolderNotFound},
      {"absent entry", ContainerBytes(2, {0xFFFFFFFF, 0}, Join({Uint32(4), Uint32(1)})), openRoot,
       Outcome::kFolderNotFound},
      {"index >= N", SingleEntry(DataItem({1})), [](VORCompiledFile &f, bool m) { OpenEntry(f, 1, m); },
       Outcome::kFolderNotFound},
      {"truncated table", ContainerBytes(3, {0, 0}, {}), openRoot, Outcome::kFolderNotFound},
      // 4N wraps to 4 in 32 bits: the one offset present must not make entry
      // 1 (or any other) readable from beyond the table.
      {"entry count overflowing 4N", ContainerBytes(0x40000001, {0}, Join({Uint32(4), Uint32(1)})),
       [](VORCompiledFile &f, bool m) { OpenEntry(f, 1, m); }, Outcome::kFolderNotFound},
      {"entry count beyond the file", ContainerBytes(1000, {0}, Join({Uint32(4), Uint32(0)})), openRoot,
       Outcome::kFolderNotFound},
      // 0xFFFFFFF8 + 12 wraps to offset 4 in 32 bits.
      {"entry offset wrapping past 32 bits", ContainerBytes(1, {0xFFFFFFF8}, Join({Uint32(4), Uint32(0)})), openRoot,
       Outcome::kFolderNotFound},
      {"entry beyond the file", ContainerBytes(1, {1000}, {}), openRoot, Outcome::kFolderNotFound},
      {"entry ending inside its length", ContainerBytes(1, {0}, {4, 0}), openRoot, Outcome::kFolderNotFound},
      {"entry length L smaller than the key length K", ContainerBytes(1, {0}, Join({Uint32(2), Uint32(0)})), openRoot,
       Outcome::kCorruptFile},
      {"entry with another key", ContainerBytes(1, {0}, Join({Uint32(4), Uint32(1)})), openRoot,
       Outcome::kFolderNotFound},
      {"top-level key shorter than an index", SingleEntry({}),
       [](VORCompiledFile &f, bool m) { f.OpenFolder("\0\0", 2, false, m, true); }, Outcome::kFolderNotFound},
      // A broken item ends the scan: the folder asked for counts as missing,
      // and nothing after the broken item is read as an item, even where a
      // well-formed one follows.
      {"item shorter than its key", SingleEntry(Join({Uint32(3), {1, 2, 3}})), openChapter,
       Outcome::kFolderNotFound},
      {"item shorter than its key before the one asked for", SingleEntry(Join({Uint32(3), {1, 2, 3}, goodChapter})),
       openChapter, Outcome::kFolderNotFound},
      {"item running past its folder", SingleEntry(Join({Uint32(100), chapterKey})), openChapter,
       Outcome::kFolderNotFound},
      {"item length at the header's limit", SingleEntry(Join({Uint32(0x3FFFFFFF), chapterKey})), openChapter,
       Outcome::kFolderNotFound},
      {"data item running past its folder before the one asked for",
       SingleEntry(Join({Uint32(kDataBit | 100), goodChapter})), openChapter, Outcome::kFolderNotFound},
      {"anonymous item running past its folder, opened without key",
       SingleEntry(Join({Uint32(kNoKeyBit | 100), goodChapter})),
       [](VORCompiledFile &f, bool m) {
         OpenEntry(f, 0, m, false);
         OpenNext(f, m);
       },
       Outcome::kFolderNotFound},
      {"item before the data running past its folder", SingleEntry(Join({Uint32(kNoKeyBit | 50), DataItem({1})})),
       openRoot, Outcome::kCorruptFile},
      {"data longer than its folder", SingleEntry(Join({Uint32(kDataBit | 5), Uint32(1)})), openRoot,
       Outcome::kCorruptFile},
      // The chapter's data item claims the root's data that follows it.
      {"data running into its sibling",
       SingleEntry(Join({KeyedItem(chapterKey, Join({Uint32(kDataBit | 12), Uint32(1)})), DataItem(Uint32(2))})),
       openChapter, Outcome::kCorruptFile},
      // A file cut short: its entry's length runs past the end of the file.
      // The entry is refused as a whole rather than read as if its last items
      // were merely missing.
      {"file ending inside a key", Truncated(SingleEntry(goodChapter), 14), openChapter, Outcome::kCorruptFile},
      {"file ending inside a record", Truncated(SingleEntry(goodChapter), 2),
       [](VORCompiledFile &f, bool m) {
         OpenEntry(f, 0, m, false);
         OpenKeyed(f, kChapter, kKey8, m);
         ReadUint32(f);
       },
       Outcome::kCorruptFile},
      {"anonymous item", SingleEntry(Join({Uint32(kNoKeyBit | 12), chapterKey, Uint32(0)})), openChapter,
       Outcome::kFolderNotFound},
      // The id half stands where the sub-folder's first item header should.
      {"4-byte key prefix match on an 8-byte key",
       SingleEntry(KeyedItem(Key(VORObjectKey{3, 1, 0x40}), DataItem(Uint32(1)))),
       [](VORCompiledFile &f, bool m) {
         OpenEntry(f, 0, m);
         OpenKeyed(f, VORObjectKey{3, 1, VORObjectKey::kNoId}, kKey4, m);
       },
       Outcome::kCorruptFile},
      {"sibling before the previous match", SingleEntry(Join({goodChapter, KeyedItem(Key(kPage), {})})),
       [](VORCompiledFile &f, bool m) {
         OpenEntry(f, 0, m);
         OpenKeyed(f, kPage, kKey8, m);
         f.CloseFolder();
         OpenKeyed(f, kChapter, kKey8, m);
       },
       Outcome::kFolderNotFound},
      {"folder with only sub-folders", SingleEntry(goodChapter),
       [](VORCompiledFile &f, bool m) {
         OpenEntry(f, 0, m);
         ReadUint32(f);
       },
       Outcome::kIncompleteRead},
      {"empty data item", SingleEntry(DataItem({})),
       [](VORCompiledFile &f, bool m) {
         OpenEntry(f, 0, m);
         uint8_t byte;
         f.ReadExact(&byte, 0);
       },
       Outcome::kIncompleteRead},
      {"second data item never read", SingleEntry(Join({DataItem({1}), DataItem(Uint32(2))})),
       [](VORCompiledFile &f, bool m) {
         OpenEntry(f, 0, m);
         uint8_t byte;
         f.ReadExact(&byte, 1);
         ReadUint32(f);
       },
       Outcome::kIncompleteRead},
      {"seek without data", SingleEntry(goodChapter),
       [](VORCompiledFile &f, bool m) {
         OpenEntry(f, 0, m);
         f.SeekData(0, 0);
       },
       Outcome::kCorruptFile},
      {"seek with no folder open", SingleEntry(goodChapter), [](VORCompiledFile &f, bool) { f.SeekData(0, 0); },
       Outcome::kCorruptFile},
  };
  for (const Case &c : cases) {
    for (bool inMemory : {false, true}) {
      Container container(c.bytes);
      const Outcome outcome = OutcomeOf([&] { c.action(*container.file, inMemory); });
      EXPECT_EQ(outcome, c.expected) << c.name << (inMemory ? " (in memory): " : ": ") << Name(outcome)
                                     << " instead of " << Name(c.expected);
    }
  }
}

TEST(VORCompiledFileTest, FailingReadsAreFileErrors) {
  PublicationWriter writer;
  writer.AddEntry(0).AddData({1}).AddFolder(kChapter).AddData({2});
  Container container(writer);
  VORCompiledFile &file = *container.file;
  OpenEntry(file, 0);
  container.memory->SetReadsFail(true);
  uint8_t byte;
  EXPECT_EQ(OutcomeOf([&] { file.ReadExact(&byte, 1); }), Outcome::kFileError);
  EXPECT_EQ(OutcomeOf([&] { OpenKeyed(file, kChapter); }), Outcome::kFileError);
  VORObjectKey reference = VORObjectKey::None();
  EXPECT_EQ(OutcomeOf([&] { file.ReadObjectCode(reference, kKey8); }), Outcome::kFileError);
}

TEST(VORCompiledFileTest, ShortFilesOpenWithAnEmptyTable) {
  for (const Bytes &bytes : {Bytes{}, Bytes{1, 2}, Bytes{1, 0, 0, 0, 1}}) {
    Container container(bytes);
    EXPECT_EQ(container.file->GetEntryCount(), 0u);
    EXPECT_EQ(OutcomeOf([&] { OpenEntry(*container.file, 0); }), Outcome::kFolderNotFound);
  }
}

// Folders open inside one another down to the limit, the data of each
// read there, whether read from the file or through a memory window; one
// level more is a damaged file, and a file nested thousands deep is read
// no further than the limit.
TEST(VORCompiledFileTest, FoldersNestNoDeeperThanTheLimit) {
  constexpr uint32_t kLimit = VORCompiledFile::kMaxFolderDepth;
  // The entry counts as the first folder.
  for (const uint32_t levels : {kLimit - 2, kLimit - 1, 5000u}) {
    for (const bool inMemory : {false, true}) {
      SCOPED_TRACE(std::to_string(levels) + (inMemory ? " levels, in memory" : " levels"));
      Container container(SingleEntry(NestedFolders(levels, Key(kPage), Uint32(0x12345678))));
      VORCompiledFile &file = *container.file;
      OpenEntry(file, 0, inMemory);
      uint32_t opened = 1;
      for (; opened < kLimit && opened <= levels; ++opened) {
        OpenKeyed(file, kPage, kKey8, inMemory);
        ASSERT_EQ(ReadUint32(file), 0x12345678u) << opened;
      }
      const Outcome deeper = OutcomeOf([&] { OpenKeyed(file, kPage, kKey8, inMemory); });
      EXPECT_STREQ(Name(deeper), Name(levels + 1 < kLimit ? Outcome::kFolderNotFound : Outcome::kCorruptFile));
      // The folders close one by one, and the outer ones read on.
      file.CloseFolder();
      EXPECT_EQ(OutcomeOf([&] { ReadUint32(file); }), Outcome::kIncompleteRead);
      for (uint32_t closed = 1; closed + 1 < opened; ++closed)
        file.CloseFolder();
      const std::vector<VORObjectKey> keys = ReadReferences(file);
      ASSERT_EQ(keys.size(), 1u);
      EXPECT_TRUE(keys[0].Equals(kPage));
      file.CloseFolder();
      OpenEntry(file, 0, inMemory);
      OpenKeyed(file, kPage, kKey8, inMemory);
      EXPECT_EQ(ReadUint32(file), 0x12345678u);
    }
  }
}

} // namespace
