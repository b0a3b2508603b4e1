// Opens any bytes as a compiled publication file and reads its top-level
// entries as internal resources the way pictures, sounds and video are read:
// through their resource file directly, and through the resource manager
// whole and in blocks at offsets and of sizes taken from the resource's own
// size, with enough small blocks that the manager must evict, with pages
// that use them and the prefetch that loads ahead. Every byte a block holds
// must be the byte the entry holds at that place, and when the manager goes
// every block of memory it took must have gone back the way it was taken.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "model/PublicationFile.h"
#include "model/VORInternalResourceFile.h"
#include "model/VORInternalResourceIdentifier.h"
#include "model/VORResource.h"
#include "model/VORResourceManager.h"
#include "support/FakeApp.h"
#include "support/FakeResourcePlatform.h"
#include "support/MemoryFile.h"
#include "vorfile/VORCompiledFile.h"
#include "vorfile/VORFileException.h"

namespace {

constexpr uint32_t kMaxEntries = 4;
// More than the manager keeps on the heap before it evicts.
constexpr uint32_t kSmallBlocks = VORResourceManager::kMaximumHeapBlocks + 8;
constexpr uint32_t kReadChunk = 61;
const VORObjectCode kShownPage(0, 4, 1);
const VORObjectCode kLinkedPage(0, 4, 2);

std::unique_ptr<VORCompiledFile> OpenCompiled(const std::vector<uint8_t> &bytes) {
  auto file = std::make_unique<VORCompiledFile>(std::make_unique<MemoryFile>(bytes));
  if (!file->Open(false, false))
    return nullptr;
  return file;
}

// The entry's data as the container reads it: what every block must agree
// with.
std::vector<uint8_t> EntryData(const std::vector<uint8_t> &bytes, uint32_t index) {
  std::vector<uint8_t> data;
  std::unique_ptr<VORCompiledFile> file = OpenCompiled(bytes);
  if (!file)
    return data;
  const uint8_t key[VORCompiledFile::kEntryKeySize] = {static_cast<uint8_t>(index), 0, 0, 0};
  try {
    file->OpenFolder(key, sizeof key, false, false, true);
    uint8_t chunk[kReadChunk];
    for (uint32_t got = 1; got != 0;) {
      file->Read(chunk, sizeof chunk, got);
      data.insert(data.end(), chunk, chunk + got);
    }
  } catch (const VORFileException &) {
  }
  return data;
}

void CheckBytes(const uint8_t *memory, uint32_t size, uint32_t offset, const std::vector<uint8_t> &data) {
  if (size == 0)
    return;
  if (!memory || static_cast<uint64_t>(offset) + size > data.size() ||
      std::memcmp(memory, data.data() + offset, size) != 0)
    std::abort(); // a block holds bytes the entry does not hold there
}

// The resource file on its own: sized, sought and read in pieces.
void ReadDirectly(PublicationFile &holder, uint32_t index, const std::vector<uint8_t> &data) {
  VORInternalResourceFile file(VORInternalResourceIdentifier(static_cast<int32_t>(index), VORFileKind::kOther), holder);
  uint32_t size = 0;
  file.GetSize(size);
  if (file.IsOpen())
    std::abort(); // asking the size of a closed file leaves it closed
  if (!file.Open())
    return;
  std::vector<uint8_t> read;
  uint8_t chunk[kReadChunk];
  uint32_t got = 0;
  while (file.Read(chunk, sizeof chunk, got) && got != 0)
    read.insert(read.end(), chunk, chunk + std::min<uint32_t>(got, sizeof chunk));
  if (read != data)
    std::abort();
  if (size != 0) {
    file.Seek(static_cast<int32_t>(size / 2), 0);
    file.Seek(-1, 1);
    file.Seek(0, 2);
    file.Seek(1, 2);
    file.Read(chunk, sizeof chunk, got);
  }
  file.Close();
}

void LockWhole(VORResourceManager &manager, uint32_t handle, const std::vector<uint8_t> &data) {
  if (!manager.LockResource(handle))
    return;
  uint8_t *memory = nullptr;
  uint32_t size = 0;
  if (manager.GetResourceData(handle, memory, size)) {
    if (size != data.size())
      std::abort();
    CheckBytes(memory, size, 0, data);
  }
  manager.ReleaseResourceLock(handle);
}

void LockBlock(VORResourceManager &manager, uint32_t block, const std::vector<uint8_t> &data) {
  if (!block || !manager.LockBlock(block))
    return;
  uint8_t *memory = nullptr;
  uint32_t size = 0;
  uint32_t offset = 0;
  if (manager.GetBlockInfo(block, memory, size, offset))
    CheckBytes(memory, size, offset, data);
  manager.UnlockBlock(block);
}

void ReadInBlocks(VORResourceManager &manager, uint32_t handle, const std::vector<uint8_t> &data) {
  const uint32_t size = manager.GetResourceSize(handle);
  const uint32_t known = size == VORResource::kUnknownSize ? 0 : size;
  const uint32_t offsets[] = {0, 1, known / 2, known - 1, known, 0xFFFFFFFF};
  const uint32_t sizes[] = {1, known / 2, VORResourceBlock::kWholeResource, 0x8000};
  uint32_t step = 0;
  for (uint32_t offset : offsets)
    for (uint32_t blockSize : sizes) {
      ++step;
      const uint32_t block = manager.GetBlock(handle, offset, blockSize, static_cast<int32_t>(step % 5),
                                              static_cast<int32_t>(step % 3), step % 2 == 0, step % 7 == 0);
      LockBlock(manager, block, data);
    }
}

// Enough small blocks that the oldest unlocked ones are evicted.
void ReadManySmallBlocks(VORResourceManager &manager, uint32_t handle, const std::vector<uint8_t> &data) {
  const uint32_t known = static_cast<uint32_t>(data.size());
  for (uint32_t i = 0; i < kSmallBlocks; ++i) {
    const uint32_t block = manager.GetBlock(handle, i % known, 1, 1, 1, true, false);
    LockBlock(manager, block, data);
  }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const std::vector<uint8_t> bytes(data, data + size);
  std::unique_ptr<VORCompiledFile> probe = OpenCompiled(bytes);
  if (!probe)
    return 0;
  const uint32_t entries = std::min(probe->GetEntryCount(), kMaxEntries);
  probe.reset();

  FakeApp app;
  FakeMachine machine;
  machine.SetFreeMemory(0); // the smallest budget
  PublicationFile holder(
      VORExternalResourceIdentifier(VORExternalResourceIdentifier::kFullPath, "fuzz.vor"),
      [&bytes](const VORExternalResourceIdentifier &) -> std::unique_ptr<VORFile> { return OpenCompiled(bytes); });
  app.SetPublicationFile(&holder);
  {
    VORResourceManager manager(machine.MakePlatform());
    app.SetResourceManager(&manager);
    manager.AddActivePage(kShownPage);
    manager.AddLinkedPage(kShownPage, kLinkedPage);
    std::vector<uint32_t> handles;
    bool evicting = false;
    // One number past the table too: no such entry.
    for (uint32_t index = 0; index <= entries; ++index) {
      const std::vector<uint8_t> entry = EntryData(bytes, index);
      ReadDirectly(holder, index, entry);
      const int32_t kind = index % 2 ? VORFileKind::kInternalPicture : VORFileKind::kInternalVideo;
      const uint32_t handle =
          manager.OpenInternalResource(VORInternalResourceIdentifier(static_cast<int32_t>(index), kind),
                                       static_cast<int32_t>(index), 0, index % 3 == 0 ? 16 : 0);
      if (!handle)
        continue;
      handles.push_back(handle);
      manager.AddResourceUser(handle, index % 2 ? kShownPage : kLinkedPage);
      LockWhole(manager, handle, entry);
      ReadInBlocks(manager, handle, entry);
      if (!evicting && entry.size() > 1) {
        evicting = true;
        ReadManySmallBlocks(manager, handle, entry);
      }
      machine.now += 3;
    }
    manager.RebuildPrefetchList();
    for (size_t i = 0; i < handles.size(); ++i)
      manager.PrefetchOne();
    manager.RemoveActivePage(kShownPage);
    manager.UpdateBudget();
    while (manager.EvictOne(VORResourceManager::SizeClass::kAny)) {
    }
    if (!handles.empty())
      manager.DeleteResource(handles.front());
    app.SetResourceManager(nullptr);
  }
  if (machine.GetMismatchedFrees() != 0 || machine.GetLiveBlocks(true) != 0 || machine.GetLiveBlocks(false) != 0)
    std::abort(); // memory given back the wrong way, or not at all
  return 0;
}
