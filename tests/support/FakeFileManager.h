#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "model/VORFileManager.h"

// A file manager over a disk in memory: files by path, each with a
// modification time. A file object takes the disk as it is when made, as a
// real file keeps the size and time it first saw.
class FakeFileManager : public VORFileManager {
public:
  void PutFile(const std::string &path, std::vector<uint8_t> bytes, int32_t time = 1);
  void RemoveFile(const std::string &path) { m_disk.erase(path); }

protected:
  std::unique_ptr<XQFile> CreateDiskFile(const char *path) override;

private:
  struct DiskEntry {
    std::vector<uint8_t> bytes;
    int32_t time;
  };
  std::map<std::string, DiskEntry> m_disk;
};
