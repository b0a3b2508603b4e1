#pragma once

#include <cstdint>

// The read interface of the compiled publication: a tree of keyed folders
// whose first data item is an object's record. Every record reader reads
// through it; all calls act on the innermost open folder.
//
// Failures are thrown as the VORFileException family (VORFileException.h).
class VORFile {
public:
  VORFile() = default;
  VORFile(const VORFile &) = delete;
  VORFile &operator=(const VORFile &) = delete;
  virtual ~VORFile();

  // False when the underlying file does not open.
  virtual bool Open(bool createNew, bool write) = 0;
  virtual void Close() = 0;
  virtual void Write(const void *buffer, uint32_t count) = 0;
  // Read, then VORFileIncompleteReadException when fewer than count bytes
  // came: the call a record reader makes for each field.
  virtual void ReadExact(void *buffer, uint32_t count);
  // Reads what the record still holds, up to count bytes.
  virtual void Read(void *buffer, uint32_t count, uint32_t &bytesRead) = 0;
  // Opens the folder with the key of keyLength bytes (0: the next folder
  // item, keyed or not); openData also finds its record. Throws
  // VORFileFolderNotFoundException when there is none.
  virtual void OpenFolder(const void *key, uint32_t keyLength, bool create, bool inMemory, bool openData) = 0;
  virtual void CloseFolder() = 0;
  // The key of the first, resp. next, keyed item; false when there is none.
  virtual bool FirstKey(void *buffer, uint32_t keyLength) = 0;
  virtual bool NextKey(void *buffer, uint32_t keyLength) = 0;
  // False for a file that stores keys and references as text.
  virtual bool IsBinary() = 0;
  virtual uint32_t GetVersion() = 0;
  // The record's length, also as the result.
  virtual uint32_t GetDataSize(uint32_t &size) = 0;
  // Origin 0 start, 1 current, 2 end of the record; false for a target
  // beyond its end.
  virtual bool SeekData(int32_t offset, int32_t origin) = 0;
};
