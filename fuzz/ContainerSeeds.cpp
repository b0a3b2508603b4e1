// Writes the seed corpus of the container fuzzer: small publications made by
// the test writer, each showing one shape the reader must walk.

#include "support/FakeRecordFile.h"
#include "support/PublicationWriter.h"
#include "support/SeedCorpus.h"

namespace {

using Folder = PublicationWriter::Folder;

const VORObjectKey kPublication{0, 1, VORObjectKey::kNoId};
const VORObjectKey kChapter{0, 2, 10};
const VORObjectKey kPage{0, 3, 20};
const VORObjectKey kAction{3, 1, VORObjectKey::kNoId};

PublicationWriter Publication() {
  PublicationWriter writer(0x04000001);
  Folder &root = writer.AddEntry(0);
  root.AddData(PublicationWriter::ReferenceKey(kPublication, VORObjectKey::kClassSize));
  Folder &publication = root.AddFolder(kPublication, VORObjectKey::kClassSize);
  publication.AddData(RecordBytes().Uint32(24).Uint32(96).Take());
  publication.AddAnonymousFolder().AddData(RecordBytes().Uint32(3).Text("abc").Take());
  publication.AddAnonymousFolder().AddData({1});
  publication.AddAnonymousFolder().AddData(RecordBytes().String("Title").Uint32(640).Uint32(480).Take());
  Folder &chapter = publication.AddFolder(kChapter);
  chapter.AddAnonymousFolder().AddData(RecordBytes().Uint32(1).Take());
  Folder &page = chapter.AddFolder(kPage);
  page.AddData(RecordBytes().Uint32(0).Uint32(0).Uint32(640).Uint32(480).Take());
  Folder &event = page.AddFolder(VORObjectKey{2, 1, 30});
  event.AddData(PublicationWriter::ReferenceKey(kAction));
  event.AddFolder(kAction, VORObjectKey::kClassSize).AddData(RecordBytes().Uint32(0).Uint32(1).Take());
  writer.AddEntry(2).AddData(RecordBytes().Uint32(5).Text("hello").Take());
  return writer;
}

PublicationWriter Flat() {
  PublicationWriter writer;
  Folder &root = writer.AddEntry(0);
  root.AddData({1, 2, 3, 4}).AddData({5, 6});
  for (uint32_t id = 0; id < 4; ++id)
    root.AddFolder(VORObjectKey{1, 1, id}).AddData(RecordBytes().Uint32(id).Take());
  writer.SetEntryCount(3);
  return writer;
}

PublicationWriter Deep() {
  PublicationWriter writer;
  Folder *folder = &writer.AddEntry(0);
  for (uint32_t depth = 0; depth < 10; ++depth) {
    folder->AddData(RecordBytes().Uint32(depth).Take());
    folder = depth % 2 ? &folder->AddAnonymousFolder() : &folder->AddFolder(VORObjectKey{0, 4, depth});
  }
  return writer;
}

} // namespace

int main(int argc, char **argv) {
  return WriteSeedCorpus(argc, argv,
                         {{"publication", Publication().Bytes()},
                          {"flat", Flat().Bytes()},
                          {"deep", Deep().Bytes()},
                          {"empty", PublicationWriter().Bytes()}});
}
