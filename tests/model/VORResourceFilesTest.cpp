#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "model/PublicationFile.h"
#include "model/VORExternalResourceFile.h"
#include "model/VORExternalResourceIdentifier.h"
#include "model/VORInternalResourceFile.h"
#include "model/VORInternalResourceIdentifier.h"
#include "model/VORResource.h"
#include "model/VORResourceManager.h"
#include "support/FakeApp.h"
#include "support/FakeFileManager.h"
#include "support/FakeRecordFile.h"
#include "support/FakeResourcePlatform.h"
#include "support/MemoryFile.h"
#include "support/PublicationWriter.h"
#include "vorfile/SectionGuard.h"
#include "vorfile/VORCompiledFile.h"
#include "vorfile/XQImageFile.h"

namespace {

constexpr uint32_t kPictureNumber = 1;
constexpr uint32_t kAbsentNumber = 2;
constexpr uint32_t kEmptyNumber = 3;
constexpr uint32_t kPictureSize = 3000;
const VORObjectKey kPageKey{0, 4, 1};
const std::vector<uint8_t> kPageRecord = {'p', 'a', 'g', 'e'};

std::vector<uint8_t> Bytes(const std::string &text) { return std::vector<uint8_t>(text.begin(), text.end()); }

// Entry 0 the publication with one page folder; entry 1 a resource; entry
// 2 absent; entry 3 a resource without bytes.
std::vector<uint8_t> WrittenPublication() {
  PublicationWriter writer;
  writer.AddEntry(0).AddData({0, 0, 0, 0}).AddFolder(kPageKey).AddData(kPageRecord);
  writer.AddEntry(kPictureNumber).AddData(CountingBytes(kPictureSize));
  writer.AddEntry(kEmptyNumber).AddData({});
  writer.SetEntryCount(4);
  return writer.Bytes();
}

// The holder as the application makes it, over the written bytes; it
// counts the openings of the file.
class WrittenPublicationFile {
public:
  WrittenPublicationFile()
      : m_bytes(WrittenPublication()),
        holder(VORExternalResourceIdentifier(VORExternalResourceIdentifier::kFullPath, "demo.vor"),
               [this](const VORExternalResourceIdentifier &) -> std::unique_ptr<VORFile> {
                 ++openings;
                 auto file = std::make_unique<VORCompiledFile>(std::make_unique<MemoryFile>(m_bytes, "demo.vor"));
                 if (!file->Open(false, false))
                   return nullptr;
                 return file;
               }) {}

private:
  std::vector<uint8_t> m_bytes;

public:
  int openings = 0;
  PublicationFile holder;
};

TEST(VORInternalResourceFileTest, ReadsItsEntryFoundByNumber) {
  WrittenPublicationFile publication;
  VORInternalResourceFile file(VORInternalResourceIdentifier(kPictureNumber, VORFileKind::kInternalPicture),
                               publication.holder);
  EXPECT_EQ(file.GetFileType(), VORFileKind::kInternalPicture);
  ASSERT_TRUE(file.Open());
  uint32_t size = 0;
  ASSERT_TRUE(file.GetSize(size));
  EXPECT_EQ(size, kPictureSize);
  ASSERT_TRUE(file.Seek(static_cast<int32_t>(kPictureSize - 10), 0));
  std::vector<uint8_t> buffer(100);
  uint32_t got = 0;
  ASSERT_TRUE(file.Read(buffer.data(), 100, got));
  EXPECT_EQ(got, 10u) << "the rest of the data";
  EXPECT_EQ(buffer[0], static_cast<uint8_t>(kPictureSize - 10));
  ASSERT_TRUE(file.Read(buffer.data(), 100, got));
  EXPECT_EQ(got, 0u) << "then nothing, without failing";
  EXPECT_FALSE(file.Seek(static_cast<int32_t>(kPictureSize + 1), 0));
  file.Close();
  EXPECT_FALSE(file.IsOpen());
  EXPECT_EQ(publication.holder.GetOpenCount(), 0u) << "resources do not count on the shared opening";
}

TEST(VORInternalResourceFileTest, AbsentAndEmptyEntries) {
  WrittenPublicationFile publication;
  VORInternalResourceFile absent(VORInternalResourceIdentifier(kAbsentNumber, VORFileKind::kInternalPicture),
                                 publication.holder);
  EXPECT_TRUE(absent.Exists()) << "known only when it is opened";
  EXPECT_FALSE(absent.Open());
  uint32_t size = 1;
  EXPECT_FALSE(absent.GetSize(size));
  EXPECT_EQ(size, 0u);

  VORInternalResourceFile beyond(VORInternalResourceIdentifier(99, VORFileKind::kInternalPicture), publication.holder);
  EXPECT_FALSE(beyond.Open());

  VORInternalResourceFile empty(VORInternalResourceIdentifier(kEmptyNumber, VORFileKind::kInternalPicture),
                                publication.holder);
  ASSERT_TRUE(empty.Open());
  uint8_t byte = 0;
  uint32_t got = 0;
  EXPECT_FALSE(empty.Read(&byte, 1, got)) << "no data at all";
  EXPECT_FALSE(empty.Seek(0, 0));
}

TEST(VORInternalResourceFileTest, SizeOfAClosedFileLeavesItClosed) {
  WrittenPublicationFile publication;
  VORInternalResourceFile file(VORInternalResourceIdentifier(kPictureNumber, VORFileKind::kInternalPicture),
                               publication.holder);
  uint32_t size = 0;
  ASSERT_TRUE(file.GetSize(size));
  EXPECT_EQ(size, kPictureSize);
  EXPECT_FALSE(file.IsOpen());
}

TEST(VORInternalResourceFileTest, SameIdentifierIsTheSameFile) {
  WrittenPublicationFile publication;
  VORInternalResourceFile a(VORInternalResourceIdentifier(1, 12), publication.holder);
  VORInternalResourceFile b(VORInternalResourceIdentifier(1, 12), publication.holder);
  VORInternalResourceFile otherKind(VORInternalResourceIdentifier(1, 13), publication.holder);
  EXPECT_TRUE(a.IsSame(b));
  EXPECT_FALSE(a.IsSame(otherKind));
  EXPECT_FALSE(a.HasChanged());
}

TEST(VORInternalResourceIdentifierTest, ReadsNumberAndKindByte) {
  FakeRecordFile record({0x07, 0x01, 0x00, 0x00, 0x0C, 0xEE});
  VORInternalResourceIdentifier identifier;
  EXPECT_EQ(identifier.GetNumber(), -1);
  EXPECT_EQ(identifier.GetKind(), VORFileKind::kOther);
  identifier.Read(record);
  EXPECT_EQ(identifier.GetNumber(), 0x107);
  EXPECT_EQ(identifier.GetKind(), 12);
  EXPECT_EQ(record.GetPosition(), 5u);
}

TEST(VORFileManagerTest, ResolvesByLocationKind) {
  FakeFileManager manager;
  manager.SetPublicationFolder("C:\\pub\\");
  struct Case {
    const char *name;
    const char *cdromRoot;
    int32_t locationKind;
    const char *fileName;
    bool resolves;
    const char *path;
  } cases[] = {
      {"a full path as it is", "D:", VORExternalResourceIdentifier::kFullPath, "E:\\x\\a.bmp", true, "E:\\x\\a.bmp"},
      {"beside the publication", "D:", VORExternalResourceIdentifier::kPublicationFolder, "snd\\a.wav", true,
       "C:\\pub\\snd\\a.wav"},
      {"on the CD-ROM", "D:", VORExternalResourceIdentifier::kCDROMRoot, "media\\a.avi", true, "D:\\media\\a.avi"},
      {"on the CD-ROM, a name with its backslash", "D:", VORExternalResourceIdentifier::kCDROMRoot, "\\a.avi", true,
       "D:\\a.avi"},
      {"no CD-ROM: no path", "", VORExternalResourceIdentifier::kCDROMRoot, "media\\a.avi", false, ""},
      {"an unknown location kind", "D:", 3, "a.avi", false, ""},
  };
  for (const Case &c : cases) {
    manager.SetCDROMRoot(c.cdromRoot);
    XQString path("left over");
    EXPECT_EQ(manager.ResolvePath(VORExternalResourceIdentifier(c.locationKind, c.fileName), path), c.resolves)
        << c.name;
    EXPECT_STREQ(path.CStr(), c.path) << c.name;
  }
}

// The drives are looked at only when a name on the disc is first resolved,
// and only once.
TEST(VORFileManagerTest, TheCDROMRootIsLookedForWhenFirstNeeded) {
  class CountingManager : public FakeFileManager {
  public:
    mutable int lookups = 0;

  protected:
    XQString LocateCDROMRoot() const override {
      ++lookups;
      return XQString("E:");
    }
  } manager;
  XQString path;
  manager.ResolvePath(VORExternalResourceIdentifier(VORExternalResourceIdentifier::kPublicationFolder, "a.wav"), path);
  EXPECT_EQ(manager.lookups, 0);
  for (int i = 0; i < 2; ++i) {
    EXPECT_TRUE(
        manager.ResolvePath(VORExternalResourceIdentifier(VORExternalResourceIdentifier::kCDROMRoot, "a.avi"), path));
    EXPECT_STREQ(path.CStr(), "E:\\a.avi");
  }
  EXPECT_EQ(manager.lookups, 1);
  manager.SetCDROMRoot("");
  EXPECT_FALSE(
      manager.ResolvePath(VORExternalResourceIdentifier(VORExternalResourceIdentifier::kCDROMRoot, "a.avi"), path));
  EXPECT_EQ(manager.lookups, 1);
}

TEST(VORFileManagerTest, OpensPicturesAsImageFiles) {
  FakeFileManager manager;
  manager.PutFile("a.bmp", Bytes("BM"));
  auto picture = manager.OpenFile(VORExternalResourceIdentifier(VORExternalResourceIdentifier::kFullPath, "a.bmp",
                                                                VORExternalResourceIdentifier::kStoragePicture));
  EXPECT_NE(dynamic_cast<XQImageFile *>(picture.get()), nullptr);
  auto plain = manager.OpenFile(VORExternalResourceIdentifier(VORExternalResourceIdentifier::kFullPath, "a.bmp"));
  ASSERT_NE(plain, nullptr);
  EXPECT_EQ(dynamic_cast<XQImageFile *>(plain.get()), nullptr);
  EXPECT_EQ(manager.OpenFile(VORExternalResourceIdentifier(7, "a.bmp")), nullptr);
}

TEST(VORExternalResourceFileTest, SameFileThroughDifferentLocationKinds) {
  FakeFileManager manager;
  manager.SetPublicationFolder("C:\\pub\\");
  manager.PutFile("C:\\pub\\a.wav", Bytes("RIFF"));
  VORExternalResourceFile byFolder(
      VORExternalResourceIdentifier(VORExternalResourceIdentifier::kPublicationFolder, "a.wav", VORFileKind::kWave),
      manager);
  VORExternalResourceFile byPath(
      VORExternalResourceIdentifier(VORExternalResourceIdentifier::kFullPath, "C:\\pub\\a.wav", VORFileKind::kWave),
      manager);
  EXPECT_FALSE(byFolder.GetExternalIdentifier()->Equals(*byPath.GetExternalIdentifier()));
  EXPECT_TRUE(byFolder.IsSame(byPath));
  EXPECT_EQ(byFolder.GetFileType(), VORFileKind::kWave);
}

class ResourcesByIdentifierTest : public ::testing::Test {
protected:
  ResourcesByIdentifierTest() {
    machine.SetFreeMemory(uint64_t{64} << 20);
    app.SetPublicationFile(&publication.holder);
    app.SetFileManager(&files);
    files.SetPublicationFolder("C:\\pub\\");
  }

  std::vector<uint8_t> ResourceBytes(uint32_t handle) {
    std::vector<uint8_t> bytes;
    if (!manager.LockResource(handle))
      return bytes;
    uint8_t *memory = nullptr;
    uint32_t size = 0;
    if (manager.GetResourceData(handle, memory, size))
      bytes.assign(memory, memory + size);
    manager.ReleaseResourceLock(handle);
    return bytes;
  }

  FakeApp app;
  WrittenPublicationFile publication;
  FakeFileManager files;
  FakeMachine machine;
  VORResourceManager manager{machine.MakePlatform()};
};

TEST_F(ResourcesByIdentifierTest, InternalResourcesAreFoundByNumber) {
  const VORInternalResourceIdentifier cover(kPictureNumber, VORFileKind::kInternalPicture);
  const uint32_t handle = manager.OpenInternalResource(cover, 0, 0, 0);
  ASSERT_NE(handle, 0u);
  EXPECT_EQ(manager.OpenInternalResource(cover, 0, 0, 0), handle) << "found among the open ones";
  EXPECT_EQ(manager.GetResourceKind(handle), VORFileKind::kInternalPicture);
  EXPECT_EQ(manager.GetResourceSize(handle), kPictureSize);
  EXPECT_EQ(ResourceBytes(handle), CountingBytes(kPictureSize));

  const uint32_t absent = manager.OpenInternalResource(
      VORInternalResourceIdentifier(kAbsentNumber, VORFileKind::kInternalPicture), 0, 0, 0);
  ASSERT_NE(absent, 0u) << "an internal resource always exists until it is read";
  EXPECT_FALSE(manager.LockResource(absent));
  EXPECT_EQ(app.GetResourceErrors(), std::vector<int32_t>{VORResourceManager::kResourceError});
}

TEST_F(ResourcesByIdentifierTest, InternalResourcesReadWhileAPageHoldsTheSharedFileOpen) {
  // The page cache reads a page: the shared opening has the publication's
  // folder and the page's folder open.
  PublicationFileScope pageLoader(publication.holder);
  ASSERT_TRUE(pageLoader.Open());
  VORFile &shared = pageLoader.GetFile();
  const uint8_t publicationKey[4] = {0, 0, 0, 0};
  SectionGuard publicationSection(shared);
  publicationSection.Open(publicationKey, sizeof publicationKey, false, false, true);
  SectionGuard pageSection(shared);
  pageSection.Open(kPageKey, VORObjectKey::kSize, false, false, true);

  const uint32_t handle = manager.OpenInternalResource(
      VORInternalResourceIdentifier(kPictureNumber, VORFileKind::kInternalPicture), 0, 0, 0);
  EXPECT_EQ(ResourceBytes(handle), CountingBytes(kPictureSize));

  std::vector<uint8_t> record(kPageRecord.size());
  uint32_t got = 0;
  shared.Read(record.data(), static_cast<uint32_t>(record.size()), got);
  EXPECT_EQ(record, kPageRecord) << "the page's folder is still the one open";
  EXPECT_EQ(publication.holder.GetOpenCount(), 1u);
}

TEST_F(ResourcesByIdentifierTest, WithoutAPublicationFileThereAreNoInternalResources) {
  app.SetPublicationFile(nullptr);
  EXPECT_EQ(manager.OpenInternalResource(VORInternalResourceIdentifier(1, 12), 0, 0, 0), 0u);
}

TEST_F(ResourcesByIdentifierTest, ExternalResourcesAreFoundByPath) {
  files.PutFile("C:\\pub\\snd\\a.wav", Bytes("RIFF....WAVE"));
  const VORExternalResourceIdentifier sound(VORExternalResourceIdentifier::kPublicationFolder, "snd\\a.wav",
                                            VORFileKind::kWave);
  const uint32_t handle = manager.OpenExternalResource(sound, 4, 5, 0);
  ASSERT_NE(handle, 0u);
  EXPECT_EQ(manager.OpenExternalResource(sound, 4, 5, 0), handle);
  EXPECT_EQ(manager.GetResourceKind(handle), VORFileKind::kWave);
  EXPECT_EQ(ResourceBytes(handle), Bytes("RIFF....WAVE"));

  // The same file named another way is another resource.
  const uint32_t byPath =
      manager.OpenExternalResource(VORExternalResourceIdentifier(VORExternalResourceIdentifier::kFullPath,
                                                                 "C:\\pub\\snd\\a.wav", VORFileKind::kWave),
                                   0, 0, 0);
  EXPECT_NE(byPath, handle);
  EXPECT_TRUE(manager.GetResourceFile(byPath)->IsSame(*manager.GetResourceFile(handle)));
}

TEST_F(ResourcesByIdentifierTest, ABlockSizeOpensTheBlockFromTheStart) {
  files.PutFile("C:\\pub\\a.txt", Bytes("0123456789"));
  const uint32_t handle = manager.OpenExternalResource(
      VORExternalResourceIdentifier(VORExternalResourceIdentifier::kPublicationFolder, "a.txt"), 0, 0, 4);
  VORResource *resource = manager.GetResource(handle);
  ASSERT_NE(resource, nullptr);
  ASSERT_EQ(resource->GetBlocks().GetCount(), 1u);
  const uint32_t block = manager.GetBlock(handle, 0, 4, 0, 0, false, false);
  ASSERT_TRUE(manager.LockBlock(block));
  uint8_t *memory = nullptr;
  uint32_t size = 0, offset = 0;
  ASSERT_TRUE(manager.GetBlockInfo(block, memory, size, offset));
  EXPECT_EQ(std::string(memory, memory + size), "0123");
}

TEST_F(ResourcesByIdentifierTest, AMissingFileIsReportedAndLookedForAgainWhenAsked) {
  const VORExternalResourceIdentifier missing(VORExternalResourceIdentifier::kPublicationFolder, "gone.wav");
  EXPECT_EQ(manager.OpenExternalResource(missing, 0, 0, 0), 0u);
  EXPECT_EQ(app.GetFileFailures(), std::vector<std::string>{"gone.wav"}) << "the player's answer gives up at once";

  app.QueueFileFailureAnswer(2);
  app.QueueFileFailureAnswer(2);
  EXPECT_EQ(manager.OpenExternalResource(missing, 0, 0, 0), 0u);
  EXPECT_EQ(app.GetFileFailures().size(), 4u) << "two answers of 2 look twice more";
  EXPECT_EQ(manager.GetResourceCount(), 0u);
}

TEST_F(ResourcesByIdentifierTest, AFileReplacedOnDiskIsReadAgainUnlessLocked) {
  files.PutFile("C:\\pub\\a.txt", Bytes("old"), 1);
  const VORExternalResourceIdentifier text(VORExternalResourceIdentifier::kPublicationFolder, "a.txt");
  const uint32_t handle = manager.OpenExternalResource(text, 0, 0, 0);
  ASSERT_EQ(ResourceBytes(handle), Bytes("old"));

  files.PutFile("C:\\pub\\a.txt", Bytes("newer"), 2);
  ASSERT_TRUE(manager.LockResource(handle));
  EXPECT_EQ(manager.OpenExternalResource(text, 0, 0, 0), handle);
  uint8_t *memory = nullptr;
  uint32_t size = 0;
  ASSERT_TRUE(manager.GetResourceData(handle, memory, size));
  EXPECT_EQ(std::string(memory, memory + size), "old") << "a locked resource keeps its bytes";
  manager.ReleaseResourceLock(handle);

  EXPECT_EQ(manager.OpenExternalResource(text, 0, 0, 0), handle);
  EXPECT_FALSE(manager.GetResource(handle)->IsLoaded()) << "the old bytes are dropped";
  EXPECT_EQ(ResourceBytes(handle), Bytes("newer"));
  EXPECT_EQ(manager.OpenExternalResource(text, 0, 0, 0), handle);
  EXPECT_TRUE(manager.GetResource(handle)->IsLoaded()) << "an unchanged file keeps them";
}

} // namespace
