#include "filters/FilterIo.h"

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <map>

namespace {

// The C library's files and heap. A block keeps its size in front of its
// bytes so that Free needs nothing else.
class StdFilterIo : public FilterIo {
public:
  FilterFileId Open(const char *name) override {
    std::FILE *stream = std::fopen(name, "rb");
    if (stream == nullptr)
      return kNoFilterFile;
    const FilterFileId id = m_next++;
    m_files[id] = stream;
    return id;
  }

  int32_t Read(FilterFileId file, void *buffer, uint32_t count) override {
    std::FILE *stream = Find(file);
    if (stream == nullptr || count > static_cast<uint32_t>(std::numeric_limits<int32_t>::max()))
      return -1;
    const size_t read = std::fread(buffer, 1, count, stream);
    if (read < count && std::ferror(stream) != 0)
      return -1;
    return static_cast<int32_t>(read);
  }

  int32_t Seek(FilterFileId file, int32_t offset, FilterSeek origin) override {
    std::FILE *stream = Find(file);
    if (stream == nullptr)
      return -1;
    const int whence = origin == FilterSeek::Begin ? SEEK_SET : origin == FilterSeek::Current ? SEEK_CUR : SEEK_END;
    if (std::fseek(stream, offset, whence) != 0)
      return -1;
    const long position = std::ftell(stream);
    if (position < 0 || position > std::numeric_limits<int32_t>::max())
      return -1;
    return static_cast<int32_t>(position);
  }

  void Close(FilterFileId file) override {
    const auto found = m_files.find(file);
    if (found == m_files.end())
      return;
    std::fclose(found->second);
    m_files.erase(found);
  }

  FilterHandle Allocate(uint64_t size) override {
    if (size > std::numeric_limits<size_t>::max() - kPrefix)
      return nullptr;
    void *block = std::calloc(1, static_cast<size_t>(size) + kPrefix);
    return block;
  }
  void *Lock(FilterHandle block) override { return static_cast<uint8_t *>(block) + kPrefix; }
  void Unlock(FilterHandle) override {}
  void Free(FilterHandle block) override { std::free(block); }

private:
  // Keeps the data as aligned as the heap's own.
  static constexpr size_t kPrefix = alignof(std::max_align_t);

  std::FILE *Find(FilterFileId file) const {
    const auto found = m_files.find(file);
    return found == m_files.end() ? nullptr : found->second;
  }

  std::map<FilterFileId, std::FILE *> m_files;
  FilterFileId m_next = 3;
};

FilterIo *g_platformIo = nullptr;
FilterIo *g_installedIo = nullptr;

} // namespace

FilterIo &PlatformFilterIo() {
  static StdFilterIo stdIo;
  return g_platformIo != nullptr ? *g_platformIo : stdIo;
}

void SetPlatformFilterIo(FilterIo *io) { g_platformIo = io; }

FilterIo &ActiveFilterIo() { return g_installedIo != nullptr ? *g_installedIo : PlatformFilterIo(); }

FilterIo *InstallFilterIo(FilterIo *io) {
  FilterIo *previous = g_installedIo;
  g_installedIo = io;
  return previous;
}

bool FilterFile::Open(const char *name) {
  Close();
  m_file = ActiveFilterIo().Open(name);
  return IsOpen();
}

void FilterFile::Close() {
  if (IsOpen())
    ActiveFilterIo().Close(m_file);
  m_file = kNoFilterFile;
}

int32_t FilterFile::Read(void *buffer, uint32_t count) {
  if (!IsOpen())
    return -1;
  return ActiveFilterIo().Read(m_file, buffer, count);
}

bool FilterFile::ReadExactly(void *buffer, uint32_t count) {
  const int32_t read = Read(buffer, count);
  return read >= 0 && static_cast<uint32_t>(read) == count;
}

int32_t FilterFile::Seek(int32_t offset, FilterSeek origin) {
  if (!IsOpen())
    return -1;
  return ActiveFilterIo().Seek(m_file, offset, origin);
}

int32_t FilterFile::Size() {
  const int32_t position = Seek(0, FilterSeek::Current);
  if (position < 0)
    return -1;
  const int32_t size = Seek(0, FilterSeek::End);
  if (Seek(position, FilterSeek::Begin) != position)
    return -1;
  return size;
}

bool FilterBlock::Allocate(uint64_t size) {
  Reset();
  FilterIo &io = ActiveFilterIo();
  FilterHandle handle = io.Allocate(size);
  if (handle == nullptr)
    return false;
  void *data = io.Lock(handle);
  if (data == nullptr) {
    io.Free(handle);
    return false;
  }
  m_handle = handle;
  m_data = static_cast<uint8_t *>(data);
  m_size = size;
  return true;
}

void FilterBlock::Reset() {
  if (m_handle == nullptr)
    return;
  FilterIo &io = ActiveFilterIo();
  io.Unlock(m_handle);
  io.Free(m_handle);
  m_handle = nullptr;
  m_data = nullptr;
  m_size = 0;
}

FilterHandle FilterBlock::Release() {
  FilterHandle handle = m_handle;
  if (handle != nullptr)
    ActiveFilterIo().Unlock(handle);
  m_handle = nullptr;
  m_data = nullptr;
  m_size = 0;
  return handle;
}
