// Opens any bytes as a compiled publication file and walks every entry and
// folder the way the record readers do: key walks of 8 and 4 bytes and the
// scans that open their folders, anonymous parts opened in turn, records read
// in pieces and sought in. File exceptions are expected; anything else, or a
// record read beyond its own size, is a fault.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

#include "support/MemoryFile.h"
#include "vorfile/VORCompiledFile.h"
#include "vorfile/VORFileException.h"

namespace {

constexpr uint32_t kMaxEntries = 16;
constexpr uint32_t kMaxKeysPerFolder = 32;
constexpr uint32_t kMaxAnonymousPerFolder = 8;
constexpr uint32_t kMaxDepth = 8;
constexpr uint32_t kMaxReadChunk = 1024;
constexpr uint32_t kMaxReadPerRecord = 16 * 1024;

// How one pass opens the folders it meets.
struct Pass {
  uint32_t keyLength; // 8, 4 (the class half) or 0 (each folder item in turn)
  bool inMemory;
};

struct Walker {
  VORCompiledFile &file;
  const Pass &pass;
  uint32_t opensLeft = 2000;

  void ReadRecord() {
    uint32_t size = 0;
    file.GetDataSize(size);
    uint8_t buffer[kMaxReadChunk];
    uint32_t total = 0;
    for (uint32_t chunk = 1; total < kMaxReadPerRecord; chunk = chunk * 3 % kMaxReadChunk + 1) {
      uint32_t got = 0;
      file.Read(buffer, chunk, got);
      if (got > chunk)
        std::abort();
      total += got;
      if (got == 0)
        break;
    }
    if (total > size)
      std::abort(); // a record read into what follows it
    if (size == 0)
      return;
    const int32_t half = static_cast<int32_t>(size / 2);
    if (!file.SeekData(0, 2) || !file.SeekData(-half, 1) || file.SeekData(1, 2) || file.SeekData(-1, 0))
      std::abort();
    uint32_t got = 0;
    file.Read(buffer, sizeof(buffer), got);
    if (got > size - static_cast<uint32_t>(half))
      std::abort();
  }

  // Runs one reader step; a file exception ends only that step.
  template <class Step>
  bool Try(Step step) {
    try {
      step();
      return true;
    } catch (const VORFileException &) {
      return false;
    }
  }

  void WalkOpenFolder(uint32_t depth) {
    Try([&] { ReadRecord(); });
    if (depth >= kMaxDepth)
      return;
    if (pass.keyLength == 0) {
      for (uint32_t i = 0; i < kMaxAnonymousPerFolder && opensLeft > 0; ++i)
        if (!OpenAndWalk(nullptr, depth))
          break;
      return;
    }
    std::vector<VORObjectKey> keys;
    Try([&] {
      VORObjectKey key = VORObjectKey::None();
      for (bool more = file.ReadObjectCode(key, pass.keyLength); more && keys.size() < kMaxKeysPerFolder;
           more = file.ReadNextObjectCode(key, pass.keyLength))
        keys.push_back(key);
    });
    for (const VORObjectKey &key : keys) {
      if (opensLeft == 0)
        break;
      OpenAndWalk(&key, depth);
    }
  }

  bool OpenAndWalk(const VORObjectKey *key, uint32_t depth) {
    --opensLeft;
    uint8_t bytes[VORObjectKey::kSize] = {};
    if (key)
      key->ToBytes(bytes);
    const bool opened =
        Try([&] { file.OpenFolder(key ? bytes : nullptr, key ? pass.keyLength : 0, false, pass.inMemory, true); });
    if (!opened)
      return false;
    WalkOpenFolder(depth + 1);
    file.CloseFolder();
    return true;
  }

  void WalkEntries() {
    for (uint32_t index = 0; index < file.GetEntryCount() && index < kMaxEntries; ++index) {
      const uint8_t key[VORCompiledFile::kEntryKeySize] = {static_cast<uint8_t>(index), 0, 0, 0};
      if (!Try([&] { file.OpenFolder(key, sizeof(key), false, pass.inMemory, index % 2 == 0); }))
        continue;
      WalkOpenFolder(0);
      file.CloseFolder();
    }
  }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  static const Pass kPasses[] = {{8, false}, {4, true}, {0, false}, {8, true}};
  for (const Pass &pass : kPasses) {
    VORCompiledFile file(std::make_unique<MemoryFile>(std::vector<uint8_t>(data, data + size)));
    if (!file.Open(false, false))
      std::abort();
    Walker walker{file, pass};
    walker.WalkEntries();
  }
  return 0;
}
