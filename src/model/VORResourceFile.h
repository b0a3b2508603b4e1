#pragma once

#include <cstdint>

class VORExternalResourceIdentifier;
class VORInternalResourceIdentifier;

// Where a resource's bytes come from: a file beside the publication or an
// entry of the compiled publication file. The resource manager opens it
// around each block it loads, so every Open is paired with a Close.
class VORResourceFile {
public:
  VORResourceFile() = default;
  VORResourceFile(const VORResourceFile &) = delete;
  VORResourceFile &operator=(const VORResourceFile &) = delete;
  virtual ~VORResourceFile();

  virtual bool Open() = 0;
  virtual void Close() = 0;
  // Up to count bytes from the position; false when nothing can be read.
  virtual bool Read(void *buffer, uint32_t count, uint32_t &bytesRead) = 0;
  // Origin 0 start, 1 current, 2 end.
  virtual bool Seek(int32_t offset, int32_t origin) = 0;
  virtual bool GetSize(uint32_t &size) = 0;
  virtual bool Exists() = 0;
  // Whether both name the same bytes on disk or in the publication.
  virtual bool IsSame(VORResourceFile &other) = 0;
  // A kind of VORFileKind.
  virtual int32_t GetFileType() = 0;
  // True when the bytes may differ from those loaded before.
  virtual bool HasChanged() { return false; }

  // The identifier the file was made for; null for the other origin.
  virtual const VORInternalResourceIdentifier *GetInternalIdentifier() const { return nullptr; }
  virtual const VORExternalResourceIdentifier *GetExternalIdentifier() const { return nullptr; }
};
