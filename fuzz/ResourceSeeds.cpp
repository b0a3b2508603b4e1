// Writes the seed corpus of the resource fuzzer: publication files made by
// the test writer whose top-level entries are resources of the shapes the
// reader meets: bytes of every position, an absent entry, an empty one, one
// whose data is followed by further items, and one in folders.

#include "support/FakeRecordFile.h"
#include "support/MemoryFile.h"
#include "support/PublicationWriter.h"
#include "support/SeedCorpus.h"

namespace {

PublicationWriter Resources() {
  PublicationWriter writer;
  writer.AddEntry(0).AddData(RecordBytes().Uint32(24).Take()).AddFolder(VORObjectKey{0, 1, 0}).AddData({1, 2});
  writer.AddEntry(1).AddData(CountingBytes(700));
  writer.AddEntry(3).AddData({});
  writer.AddEntry(4).AddData(CountingBytes(40)).AddData({9, 9, 9}).AddAnonymousFolder().AddData({7});
  writer.AddEntry(5).AddAnonymousFolder().AddData(CountingBytes(16));
  writer.SetEntryCount(6);
  return writer;
}

} // namespace

int main(int argc, char **argv) {
  return WriteSeedCorpus(argc, argv,
                         {{"resources", Resources().Bytes()}, {"empty-table", PublicationWriter().Bytes()}});
}
