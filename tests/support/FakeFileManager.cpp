#include "support/FakeFileManager.h"

#include "support/MemoryFile.h"

namespace {

class DiskFile : public MemoryFile {
public:
  DiskFile(const char *path, std::vector<uint8_t> bytes, int32_t time, bool exists)
      : MemoryFile(std::move(bytes), path), m_time(time), m_exists(exists) {}

  bool Open(uint32_t modeFlags) override { return m_exists && MemoryFile::Open(modeFlags); }
  bool GetSizeAndTime(uint32_t &size, int32_t &time) override {
    if (!m_exists)
      return false;
    MemoryFile::GetSizeAndTime(size, time);
    time = m_time;
    return true;
  }
  bool Exists() override { return m_exists; }

private:
  int32_t m_time;
  bool m_exists;
};

} // namespace

void FakeFileManager::PutFile(const std::string &path, std::vector<uint8_t> bytes, int32_t time) {
  m_disk[path] = DiskEntry{std::move(bytes), time};
}

std::unique_ptr<XQFile> FakeFileManager::CreateDiskFile(const char *path) {
  auto found = m_disk.find(path);
  if (found == m_disk.end())
    return std::make_unique<DiskFile>(path, std::vector<uint8_t>(), 0, false);
  return std::make_unique<DiskFile>(path, found->second.bytes, found->second.time, true);
}
