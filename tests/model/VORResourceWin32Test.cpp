#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/PublicationFile.h"
#include "model/VORExternalResourceIdentifier.h"
#include "model/VORInternalResourceIdentifier.h"
#include "model/VORPlayerFileManager.h"
#include "model/VORResource.h"
#include "model/VORResourceManager.h"
#include "model/VORWin32ResourcePlatform.h"
#include "support/FakeApp.h"
#include "support/FakeResourceFile.h"
#include "support/MemoryFile.h"
#include "support/ProgramDriver.h"
#include "support/PublicationWriter.h"
#include "vorfile/SectionGuard.h"
#include "vorfile/VORCompiledFile.h"
#include "vorfile/XQWin32File.h"

namespace {

constexpr uint32_t kGlobalSize = VORResourceManager::kLargestHeapBlock + 0x1000;
constexpr uint32_t kHeapSize = 100;

std::string Text(const std::vector<uint8_t> &bytes) { return std::string(bytes.begin(), bytes.end()); }

class Win32ResourcesTest : public ::testing::Test {
protected:
  Win32ResourcesTest() {
    app.SetFileManager(&files);
    files.SetPublicationFolder(folder.Path().c_str());
  }

  std::string ResourceText(uint32_t handle) {
    std::string text;
    if (!manager.LockResource(handle))
      return "(no lock)";
    uint8_t *memory = nullptr;
    uint32_t size = 0;
    if (manager.GetResourceData(handle, memory, size))
      text.assign(memory, memory + size);
    manager.ReleaseResourceLock(handle);
    return text;
  }

  FakeApp app;
  ScratchFolder folder;
  VORPlayerFileManager files;
  VORResourceManager manager{VORMakeWin32ResourcePlatform()};
};

// The real memory figures, global memory and heap, and the application's
// tick time as the clock.
TEST_F(Win32ResourcesTest, TheMachinesOwnMemory) {
  manager.UpdateBudget();
  EXPECT_GE(manager.GetBudget(), VORResourceManager::kMinimumBudget);
  EXPECT_LE(manager.GetBudget(), VORResourceManager::kMaximumBudget);

  app.SetTickTime(5000);
  const uint32_t large = manager.OpenResource(std::make_unique<FakeResourceFile>(CountingBytes(kGlobalSize)), 0, 0, 0);
  const uint32_t small = manager.OpenResource(std::make_unique<FakeResourceFile>(CountingBytes(kHeapSize)), 0, 0, 0);
  ASSERT_TRUE(manager.LockResource(large));
  ASSERT_TRUE(manager.LockResource(small));
  const uint32_t forced = manager.GetBlock(small, 10, 20, 0, 0, true, true);
  ASSERT_TRUE(manager.LockBlock(forced));

  VORResourceBlock *largeBlock = manager.GetResource(large)->GetFirstBlock();
  EXPECT_TRUE(largeBlock->IsGlobal());
  EXPECT_EQ(largeBlock->GetLastUse(), 5000u);
  EXPECT_EQ(largeBlock->GetMemory()[kGlobalSize - 1], static_cast<uint8_t>(kGlobalSize - 1));
  EXPECT_NE(GlobalHandle(largeBlock->GetMemory()), nullptr) << "movable global memory, locked";
  EXPECT_TRUE(manager.GetResource(small)->FindBlock(forced)->IsGlobal());
  EXPECT_EQ(manager.GetGlobalBlockCount(), 2u);
  EXPECT_EQ(manager.GetHeapBlockCount(), 1u);

  manager.UnlockBlock(forced);
  manager.ReleaseResourceLock(small);
  manager.ReleaseResourceLock(large);
  manager.DeleteResource(large);
  manager.DeleteResource(small);
  EXPECT_EQ(manager.GetBlockCount(), 0u);
  EXPECT_EQ(manager.GetBytesInUse(), 0u);
}

TEST_F(Win32ResourcesTest, ExternalResourcesFromDisk) {
  folder.WriteFile("note.txt", "beside the publication");
  const uint32_t beside = manager.OpenExternalResource(
      VORExternalResourceIdentifier(VORExternalResourceIdentifier::kPublicationFolder, "note.txt"), 0, 0, 0);
  EXPECT_EQ(ResourceText(beside), "beside the publication");
  EXPECT_EQ(manager.GetResourceSize(beside), 22u);

  const uint32_t byPath = manager.OpenExternalResource(
      VORExternalResourceIdentifier(VORExternalResourceIdentifier::kFullPath, folder.File("note.txt").c_str()), 0, 0,
      0);
  EXPECT_NE(byPath, beside);
  EXPECT_TRUE(manager.GetResourceFile(byPath)->IsSame(*manager.GetResourceFile(beside)));

  EXPECT_EQ(
      manager.OpenExternalResource(
          VORExternalResourceIdentifier(VORExternalResourceIdentifier::kPublicationFolder, "missing.txt"), 0, 0, 0),
      0u);
  EXPECT_EQ(app.GetFileFailures(), std::vector<std::string>{"missing.txt"});
}

// Without a CD-ROM drive a file of the disc is missing, even when a file of
// that name lies on the current drive's root: the application hears of it.
TEST_F(Win32ResourcesTest, WithoutACDROMDriveAFileOfTheDiscIsMissing) {
  folder.WriteFile("disc.txt", "not from the disc");
  char previous[MAX_PATH] = {};
  GetCurrentDirectoryA(MAX_PATH, previous);
  ASSERT_TRUE(SetCurrentDirectoryA(folder.Path().c_str()));
  files.SetCDROMRoot("");
  // The folder's path without its drive: a name on the disc's root.
  const std::string onDisc = folder.File("disc.txt").substr(2);
  const uint32_t handle = manager.OpenExternalResource(
      VORExternalResourceIdentifier(VORExternalResourceIdentifier::kCDROMRoot, onDisc.c_str()), 0, 0, 0);
  SetCurrentDirectoryA(previous);
  EXPECT_EQ(handle, 0u);
  EXPECT_EQ(app.GetFileFailures(), std::vector<std::string>{onDisc});
}

TEST_F(Win32ResourcesTest, TheCDROMRootIsACDROMDrive) {
  const XQString root = VORPlayerFileManager::FindCDROMRoot();
  if (root.IsEmpty())
    return; // a machine without one
  ASSERT_EQ(root.GetLength(), 2u);
  EXPECT_EQ(root.CStr()[1], ':');
  const std::string rootDirectory = std::string(root.CStr()) + "\\";
  EXPECT_EQ(GetDriveTypeA(rootDirectory.c_str()), static_cast<UINT>(DRIVE_CDROM));
}

// The publication file on disk, opened twice at once: by the page cache,
// which holds a page's folder open, and by a resource.
TEST_F(Win32ResourcesTest, InternalResourcesBesideAnOpenPageOfTheSameFile) {
  const VORObjectKey pageKey{0, 4, 1};
  PublicationWriter writer;
  writer.AddEntry(0).AddData({0, 0, 0, 0}).AddFolder(pageKey).AddData({'p', 'a', 'g', 'e'});
  writer.AddEntry(1).AddData(std::vector<uint8_t>{'c', 'o', 'v', 'e', 'r'});
  const std::vector<uint8_t> bytes = writer.Bytes();
  folder.WriteFile("demo.vor", std::string(bytes.begin(), bytes.end()));

  PublicationFile holder(
      VORExternalResourceIdentifier(VORExternalResourceIdentifier::kFullPath, folder.File("demo.vor").c_str()),
      [](const VORExternalResourceIdentifier &identifier) -> std::unique_ptr<VORFile> {
        auto file = std::make_unique<VORCompiledFile>(std::make_unique<XQWin32File>(identifier.GetFileName().CStr()));
        if (!file->Open(false, false))
          return nullptr;
        return file;
      });
  app.SetPublicationFile(&holder);

  PublicationFileScope pageLoader(holder);
  ASSERT_TRUE(pageLoader.Open());
  const uint8_t publicationKey[4] = {0, 0, 0, 0};
  SectionGuard publicationSection(pageLoader.GetFile());
  publicationSection.Open(publicationKey, sizeof publicationKey, false, false, true);
  SectionGuard pageSection(pageLoader.GetFile());
  pageSection.Open(pageKey, VORObjectKey::kSize, false, false, true);

  const uint32_t cover =
      manager.OpenInternalResource(VORInternalResourceIdentifier(1, VORFileKind::kInternalPicture), 0, 0, 0);
  EXPECT_EQ(ResourceText(cover), "cover");

  std::vector<uint8_t> record(4);
  uint32_t got = 0;
  pageLoader.GetFile().Read(record.data(), 4, got);
  EXPECT_EQ(Text(record), "page");
  manager.DeleteResource(cover); // before the holder it reads through
}

} // namespace
