#include "vorfile/SectionGuard.h"

#include "support/FakeRecordFile.h"
#include "vorfile/VORCompiledFile.h"
#include "vorfile/VORFileException.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

// Records the folders opened and closed, in binary or in text form; its
// key walk hands out the keys given.
class RecordingFile : public FakeRecordFile {
public:
  explicit RecordingFile(bool binary, std::vector<std::string> keys = {})
      : FakeRecordFile({}), m_binary(binary), m_keys(std::move(keys)) {}

  void OpenFolder(const void *key, uint32_t keyLength, bool, bool, bool) override {
    if (m_refuse)
      throw VORFileFolderNotFoundException();
    opened.emplace_back(static_cast<const char *>(key), keyLength);
  }
  void CloseFolder() override { ++closeCount; }
  bool IsBinary() override { return m_binary; }
  bool FirstKey(void *buffer, uint32_t keyLength) override {
    m_next = 0;
    return NextKey(buffer, keyLength);
  }
  bool NextKey(void *buffer, uint32_t keyLength) override {
    if (m_next >= m_keys.size())
      return false;
    m_keys[m_next].copy(static_cast<char *>(buffer), keyLength);
    ++m_next;
    return true;
  }
  void Refuse() { m_refuse = true; }

  std::vector<std::string> opened;
  int closeCount = 0;

private:
  bool m_binary;
  std::vector<std::string> m_keys;
  size_t m_next = 0;
  bool m_refuse = false;
};

TEST(SectionGuardTest, ClosesWhatItOpenedOnEveryWayOut) {
  RecordingFile file(true);
  {
    SectionGuard guard(file);
    guard.Open("\1\0\0\0", 4, false, false, true);
    EXPECT_TRUE(guard.IsOpen());
  }
  EXPECT_EQ(file.closeCount, 1);

  try {
    SectionGuard guard(file);
    guard.Open("\1\0\0\0", 4, false, false, true);
    throw VORFileIncompleteReadException();
  } catch (const VORFileIncompleteReadException &) {
  }
  EXPECT_EQ(file.closeCount, 2);

  {
    SectionGuard guard(file);
    guard.Open("\1\0\0\0", 4, false, false, true);
    guard.Close();
  }
  EXPECT_EQ(file.closeCount, 3) << "an early close is the only close";
}

TEST(SectionGuardTest, FailedOpenClosesNothing) {
  RecordingFile file(true);
  file.Refuse();
  {
    SectionGuard guard(file);
    EXPECT_THROW(guard.Open(VORObjectKey{1, 2, 3}, VORObjectKey::kSize, false, false, true),
                 VORFileFolderNotFoundException);
    EXPECT_FALSE(guard.IsOpen());
  }
  EXPECT_EQ(file.closeCount, 0);
}

TEST(SectionGuardTest, ReferenceKeyInBinaryAndTextForm) {
  struct Case {
    const char *name;
    bool binary;
    uint32_t keyLength;
    std::string expected;
  } cases[] = {
      {"binary, whole reference", true, 8, std::string("\x01\x00\x02\x00\x04\x03\x00\x00", 8)},
      {"binary, class half", true, 4, std::string("\x01\x00\x02\x00", 4)},
      {"text, whole reference", false, 8, "0001000200000304"},
      {"text, class half", false, 4, "00010002"},
      {"longer than a reference", true, 20, std::string("\x01\x00\x02\x00\x04\x03\x00\x00", 8)},
  };
  for (const Case &c : cases) {
    RecordingFile file(c.binary);
    SectionGuard guard(file);
    guard.Open(VORObjectKey{1, 2, 0x304}, c.keyLength, false, false, true);
    ASSERT_EQ(file.opened.size(), 1u) << c.name;
    EXPECT_EQ(file.opened[0], c.expected) << c.name;
  }
}

TEST(SectionGuardTest, ReferencesReadFromATextFile) {
  RecordingFile file(false, {"0001000200000304", "00010002", "0001000G00000304"});
  VORObjectKey reference = VORObjectKey::None();
  ASSERT_TRUE(VORCompiledFile::ReadObjectCode(file, reference, VORObjectKey::kSize));
  EXPECT_TRUE(reference.Equals(VORObjectKey{1, 2, 0x304}));
  reference.id = 5;
  ASSERT_TRUE(VORCompiledFile::ReadNextObjectCode(file, reference, VORObjectKey::kClassSize));
  EXPECT_TRUE(reference.Equals(VORObjectKey{1, 2, 5}));
  ASSERT_TRUE(VORCompiledFile::ReadNextObjectCode(file, reference, VORObjectKey::kSize));
  EXPECT_TRUE(reference.IsNone()) << "a character that is no digit makes the reference none";
  EXPECT_FALSE(VORCompiledFile::ReadNextObjectCode(file, reference, VORObjectKey::kSize));
}

} // namespace
