#include "vorfile/VORCompiledFile.h"

#include "support/FakeRecordFile.h"
#include "support/PublicationWriter.h"
#include "support/TempFile.h"
#include "vorfile/SectionGuard.h"
#include "vorfile/VORFileException.h"
#include "vorfile/XQWin32File.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

const VORObjectKey kChapter{0, 2, 10};
const VORObjectKey kPage{0, 3, 20};

Bytes ReadFileBytes(const char *path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

uint32_t ReadUint32(VORFile &file) {
  uint8_t bytes[4];
  file.ReadExact(bytes, sizeof(bytes));
  return bytes[0] | bytes[1] << 8 | bytes[2] << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

// A container of every kind of item, large enough for the memory window to
// matter: the page's record is 700 KiB.
PublicationWriter SampleWriter() {
  PublicationWriter writer(0x04000002);
  PublicationWriter::Folder &root = writer.AddEntry(0);
  root.AddData(RecordBytes().Uint32(1).Take());
  PublicationWriter::Folder &chapter = root.AddFolder(kChapter);
  chapter.AddAnonymousFolder().AddData(RecordBytes().Uint32(2).Take());
  Bytes big(700 * 1024);
  for (size_t i = 0; i < big.size(); ++i)
    big[i] = static_cast<uint8_t>(i * 7);
  chapter.AddFolder(kPage).AddData(big);
  writer.AddEntry(3).AddData(RecordBytes().Uint32(33).Take());
  return writer;
}

TEST(VORCompiledFileWin32Test, ReadsAContainerFromADiskFile) {
  TempFile temp(".vor");
  ASSERT_TRUE(temp.Write(SampleWriter().Bytes()));
  for (bool inMemory : {false, true}) {
    VORCompiledFile file(std::make_unique<XQWin32File>(temp.Path()));
    ASSERT_TRUE(file.Open(false, false));
    EXPECT_EQ(file.GetVersion(), 0x04000002u);
    EXPECT_EQ(file.GetEntryCount(), 4u);
    {
      SectionGuard root(file);
      root.Open(PublicationWriter::IndexKey(0).data(), 4, false, inMemory, true);
      EXPECT_EQ(ReadUint32(file), 1u);
      SectionGuard chapter(file);
      chapter.Open(kChapter, VORObjectKey::kSize, false, inMemory, false);
      VORObjectKey page = VORObjectKey::None();
      ASSERT_TRUE(file.ReadObjectCode(page, VORObjectKey::kSize));
      EXPECT_TRUE(page.Equals(kPage));
      {
        SectionGuard properties(file);
        properties.Open(nullptr, 0, false, false, true);
        EXPECT_EQ(ReadUint32(file), 2u);
      }
      SectionGuard pageGuard(file);
      pageGuard.Open(page, VORObjectKey::kSize, false, inMemory, true);
      uint32_t size = 0;
      ASSERT_EQ(file.GetDataSize(size), 700u * 1024);
      ASSERT_TRUE(file.SeekData(-4, 2));
      uint8_t tail[8] = {};
      uint32_t got = 0;
      file.Read(tail, sizeof(tail), got);
      ASSERT_EQ(got, 4u);
      for (uint32_t i = 0; i < 4; ++i)
        EXPECT_EQ(tail[i], static_cast<uint8_t>((size - 4 + i) * 7)) << inMemory;
    }
    SectionGuard resource(file);
    resource.Open(PublicationWriter::IndexKey(3).data(), 4, false, inMemory, true);
    EXPECT_EQ(ReadUint32(file), 33u);
  }
}

// Opening for writing would have truncated the publication (CREATE_ALWAYS)
// and written nothing back.
TEST(VORCompiledFileWin32Test, OpeningForWritingLeavesTheFileAsItWas) {
  TempFile temp(".vor");
  const Bytes bytes = SampleWriter().Bytes();
  ASSERT_TRUE(temp.Write(bytes));
  for (bool createNew : {true, false}) {
    VORCompiledFile file(std::make_unique<XQWin32File>(temp.Path()));
    EXPECT_FALSE(file.Open(createNew, true)) << createNew;
    file.Close();
    EXPECT_EQ(ReadFileBytes(temp.Path()), bytes) << createNew;
  }
}

TEST(VORCompiledFileWin32Test, MissingOrGarbageFiles) {
  TempFile missing(".vor");
  VORCompiledFile absent(std::make_unique<XQWin32File>(missing.Path()));
  EXPECT_FALSE(absent.Open(false, false));
  EXPECT_FALSE(missing.Exists());

  TempFile garbage(".vor");
  ASSERT_TRUE(garbage.Write(std::string("This is no publication at all.")));
  VORCompiledFile file(std::make_unique<XQWin32File>(garbage.Path()));
  ASSERT_TRUE(file.Open(false, false)) << "the table is dropped, the file opens";
  EXPECT_EQ(file.GetEntryCount(), 0u);
  SectionGuard guard(file);
  EXPECT_THROW(guard.Open(PublicationWriter::IndexKey(0).data(), 4, false, false, true),
               VORFileFolderNotFoundException);
}

} // namespace
