#pragma once

#include <cstdint>

// The filters' only ways to the outside: files opened read only and read in
// blocks, and movable memory blocks that hold the pictures they hand out.
// Under Windows these are the kernel's _lopen, _lread/_hread, _llseek,
// _lclose and GlobalAlloc/GlobalLock, so a picture handle is an HGLOBAL the
// caller may lock; the host tree (tests, fuzzing) uses the C library, and a
// test may install an I/O of its own (files in memory, failing allocations).

// A movable memory block; under Windows an HGLOBAL.
using FilterHandle = void *;
// An open file; under Windows an HFILE.
using FilterFileId = int32_t;
constexpr FilterFileId kNoFilterFile = -1;

enum class FilterSeek : int32_t { Begin = 0, Current = 1, End = 2 };

class FilterIo {
public:
  virtual ~FilterIo() = default;

  // Opens a file read only; kNoFilterFile when it cannot.
  virtual FilterFileId Open(const char *name) = 0;
  // Reads up to count bytes; the number read (0 at the end), -1 on error.
  virtual int32_t Read(FilterFileId file, void *buffer, uint32_t count) = 0;
  // Moves the file position; the new position, -1 on error.
  virtual int32_t Seek(FilterFileId file, int32_t offset, FilterSeek origin) = 0;
  virtual void Close(FilterFileId file) = 0;

  // A zero-filled movable block; null when it cannot be had.
  virtual FilterHandle Allocate(uint64_t size) = 0;
  virtual void *Lock(FilterHandle block) = 0;
  virtual void Unlock(FilterHandle block) = 0;
  virtual void Free(FilterHandle block) = 0;
};

// The I/O every filter uses: the one installed last, else the platform's own.
FilterIo &ActiveFilterIo();
// Installs an I/O (null: the platform's own again); answers the one it replaces.
FilterIo *InstallFilterIo(FilterIo *io);
// The platform's own I/O; the Win32 tree installs its kernel one at start-up.
FilterIo &PlatformFilterIo();
void SetPlatformFilterIo(FilterIo *io);

// An open file, closed when it goes.
class FilterFile {
public:
  FilterFile() = default;
  ~FilterFile() { Close(); }
  FilterFile(const FilterFile &) = delete;
  FilterFile &operator=(const FilterFile &) = delete;

  bool Open(const char *name);
  void Close();
  bool IsOpen() const { return m_file != kNoFilterFile; }
  // Up to count bytes; the number read, -1 on error.
  int32_t Read(void *buffer, uint32_t count);
  // True only when all count bytes were read.
  bool ReadExactly(void *buffer, uint32_t count);
  int32_t Seek(int32_t offset, FilterSeek origin);
  // The file's size, the position kept; -1 when it cannot be told.
  int32_t Size();
  FilterFileId Id() const { return m_file; }

private:
  FilterFileId m_file = kNoFilterFile;
};

// A movable block, locked while it is held and freed when it goes unless
// handed out with Release.
class FilterBlock {
public:
  FilterBlock() = default;
  ~FilterBlock() { Reset(); }
  FilterBlock(const FilterBlock &) = delete;
  FilterBlock &operator=(const FilterBlock &) = delete;

  // A zero-filled block of size bytes, locked; false when it cannot be had.
  bool Allocate(uint64_t size);
  // Unlocks and frees it.
  void Reset();
  // Unlocks it and gives up ownership: the caller owns the handle.
  FilterHandle Release();

  FilterHandle Handle() const { return m_handle; }
  uint8_t *Data() const { return m_data; }
  uint64_t Size() const { return m_size; }

private:
  FilterHandle m_handle = nullptr;
  uint8_t *m_data = nullptr;
  uint64_t m_size = 0;
};

// Locks a block for a while.
class FilterLock {
public:
  explicit FilterLock(FilterHandle block)
      : m_block(block), m_data(block != nullptr ? ActiveFilterIo().Lock(block) : nullptr) {}
  ~FilterLock() {
    if (m_data != nullptr)
      ActiveFilterIo().Unlock(m_block);
  }
  FilterLock(const FilterLock &) = delete;
  FilterLock &operator=(const FilterLock &) = delete;

  void *Data() const { return m_data; }

private:
  FilterHandle m_block;
  void *m_data;
};
