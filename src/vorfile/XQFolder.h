#pragma once

#include <cstdint>

// A folder of the compiled file: the record it stands for (its data), the
// keys of its sub-folders and the one sub-folder opened inside it.
class XQFolder {
public:
  XQFolder() = default;
  XQFolder(const XQFolder &) = delete;
  XQFolder &operator=(const XQFolder &) = delete;
  virtual ~XQFolder();

  virtual void CloseData() = 0;
  virtual void WriteData(const void *buffer, uint32_t count) = 0;
  virtual void ReadData(void *buffer, uint32_t count, uint32_t &bytesRead) = 0;
  virtual bool FirstKey(void *buffer, uint32_t keyLength) = 0;
  virtual bool NextKey(void *buffer, uint32_t keyLength) = 0;
  virtual void OpenFolder(const void *key, uint32_t keyLength, bool create, bool inMemory, bool openData) = 0;
  // Closes the innermost open sub-folder; false when none is open.
  virtual bool CloseFolder() = 0;
  virtual uint32_t GetDataSize(uint32_t &size) = 0;
  virtual bool SeekData(int32_t offset, int32_t origin) = 0;
};
