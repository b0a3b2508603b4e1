#include "model/VORPasswordList.h"

#include <gtest/gtest.h>

#include "support/FakeRecordFile.h"

namespace {

const VORObjectCode kFirst(0, 2, 1);
const VORObjectCode kSecond(0, 2, 2);
const VORObjectCode kThird(0, 2, 3);

TEST(VORPasswordListTest, ReadsEntriesEndedByZeroReferences) {
  FakeRecordFile file(RecordBytes()
                          .Uint16(2)
                          .String("ABC")
                          .Code(0, 2, 1)
                          .Code(0, 2, 2)
                          .Code(0, 0, 0)
                          .String("")
                          .Code(0, 2, 3)
                          .Code(0, 0, 0)
                          .Uint32(0xDEAD) // the next field of the enclosing record
                          .Take());
  VORPasswordList list;
  list.Read(file);
  EXPECT_EQ(list.GetCount(), 2u);
  EXPECT_EQ(file.GetPosition(), 2u + 7 + 24 + 4 + 16) << "the list stops after its last ending reference";

  EXPECT_TRUE(list.CheckAccess("abc", kFirst)) << "letter case does not count";
  EXPECT_TRUE(list.CheckAccess("ABC", kSecond));
  EXPECT_TRUE(list.CheckAccess("ABC", kThird)) << "open to everyone";
  EXPECT_TRUE(list.CheckAccess("nobody's", kThird));
  EXPECT_FALSE(list.CheckAccess("nobody's", kFirst));
  EXPECT_FALSE(list.CheckAccess("", kFirst)) << "the empty text opens only what the empty entry lists";
  EXPECT_TRUE(list.CheckAccess("", kThird));
}

TEST(VORPasswordListTest, AListCutShortReadsAsFarAsTheRecordGoes) {
  struct Case {
    const char *what;
    std::vector<uint8_t> record;
    uint32_t entries;
    bool opensFirst;
  } cases[] = {
      {"no count", {}, 0, false},
      {"count without entries", RecordBytes().Uint16(0xFFFF).Take(), 0, false},
      {"a reference missing at the end", RecordBytes().Uint16(3).String("abc").Code(0, 2, 1).Take(), 1, true},
      {"a reference cut inside", RecordBytes().Uint16(1).String("abc").Uint32(0x00020000).Take(), 1, false},
      // A password cut inside keeps the entries before it; the cut one, of
      // which no chapter came, is left out.
      {"a later password cut inside",
       RecordBytes().Uint16(2).String("abc").Code(0, 2, 1).Code(0, 0, 0).Uint32(5).Text("xy").Take(), 1, true},
      {"a password cut inside its length",
       RecordBytes().Uint16(2).String("abc").Code(0, 2, 1).Code(0, 0, 0).Byte(5).Take(), 1, true},
      {"the first password cut inside", RecordBytes().Uint16(1).Uint32(3).Text("AB").Take(), 0, false},
  };
  for (const Case &c : cases) {
    FakeRecordFile file(c.record);
    VORPasswordList list;
    list.Read(file);
    EXPECT_EQ(list.GetCount(), c.entries) << c.what;
    EXPECT_EQ(list.CheckAccess("ABC", kFirst), c.opensFirst) << c.what;
    EXPECT_FALSE(list.CheckAccess("xy", kSecond)) << c.what;
  }
}

TEST(VORPasswordListTest, CopyIsDeep) {
  VORPasswordList source;
  source.Add("one").chapters.Append(kFirst);
  VORPasswordList copy;
  copy.Add("stale");
  copy.CopyFrom(source);
  source.Clear();
  EXPECT_EQ(copy.GetCount(), 1u);
  EXPECT_TRUE(copy.CheckAccess("ONE", kFirst));
  EXPECT_EQ(copy.FindByPassword("stale"), nullptr);
}

} // namespace
