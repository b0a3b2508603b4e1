#include "support/PublicationWriter.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

// Written out by hand from the container's layout, not from the reader.
TEST(PublicationWriterTest, TinyContainerByteForByte) {
  PublicationWriter writer(7);
  PublicationWriter::Folder &root = writer.AddEntry(0);
  root.AddData({0xAA, 0xBB});
  root.AddFolder(VORObjectKey{2, 3, 0x11223344}).AddData({0xCC});
  root.AddAnonymousFolder().AddData({0xDD});
  root.AddFolder(VORObjectKey{5, 6, 0xFFFFFFFF}, VORObjectKey::kClassSize);
  writer.AddEntry(2).AddData({0xEE});

  const std::vector<uint8_t> expected = {0x07, 0x00, 0x00, 0x00, // version
                                         0x03, 0x00, 0x00, 0x00, // N
                                         0x00, 0x00, 0x00, 0x00, // entry 0 right after the table
                                         0xFF, 0xFF, 0xFF, 0xFF, // entry 1 absent
                                         0x30, 0x00, 0x00, 0x00, // entry 2 after the 48 bytes of entry 0
                                         // entry 0: L = key 4 + body 40
                                         0x2C, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
                                         // data item of 2 bytes
                                         0x02, 0x00, 0x00, 0x80, 0xAA, 0xBB,
                                         // keyed folder: 8 key bytes + a 5-byte data item
                                         0x0D, 0x00, 0x00, 0x00, 0x02, 0x00, 0x03, 0x00, 0x44, 0x33, 0x22, 0x11, 0x01,
                                         0x00, 0x00, 0x80, 0xCC,
                                         // folder without key: bit 30 and its 5-byte body
                                         0x05, 0x00, 0x00, 0x40, 0x01, 0x00, 0x00, 0x80, 0xDD,
                                         // empty folder keyed by the class half only
                                         0x04, 0x00, 0x00, 0x00, 0x05, 0x00, 0x06, 0x00,
                                         // entry 2: L = key 4 + body 5
                                         0x09, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x80, 0xEE};
  EXPECT_EQ(writer.Bytes(), expected);
}

TEST(PublicationWriterTest, EmptyWriterHasAnEmptyTable) {
  PublicationWriter writer(0x04000001);
  EXPECT_EQ(writer.Bytes(), (std::vector<uint8_t>{0x01, 0x00, 0x00, 0x04, 0x00, 0x00, 0x00, 0x00}));
  writer.SetEntryCount(1);
  EXPECT_EQ(writer.Bytes(),
            (std::vector<uint8_t>{0x01, 0x00, 0x00, 0x04, 0x01, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF}));
}

TEST(PublicationWriterTest, EntriesAreLaidOutByIndexWhateverTheOrderOfAdding) {
  PublicationWriter later;
  later.AddEntry(1).AddData({1});
  later.AddEntry(0).AddData({0});
  PublicationWriter inOrder;
  inOrder.AddEntry(0).AddData({0});
  inOrder.AddEntry(1).AddData({1});
  EXPECT_EQ(later.Bytes(), inOrder.Bytes());
}

} // namespace
