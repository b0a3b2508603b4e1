#pragma once

#include <memory>

#include "model/VORExternalResourceIdentifier.h"
#include "model/VORResourceFile.h"

class VORFileManager;
class XQFile;

// A resource in a file beside the publication (or on the CD-ROM), as the
// file manager finds it for the identifier.
class VORExternalResourceFile : public VORResourceFile {
public:
  // The file manager must outlive the calls made on this file.
  VORExternalResourceFile(const VORExternalResourceIdentifier &identifier, VORFileManager &fileManager);
  ~VORExternalResourceFile() override;

  bool Open() override;
  void Close() override;
  bool Read(void *buffer, uint32_t count, uint32_t &bytesRead) override;
  bool Seek(int32_t offset, int32_t origin) override;
  bool GetSize(uint32_t &size) override;
  bool Exists() override;
  // Another external resource file of the same file on disk.
  bool IsSame(VORResourceFile &other) override;
  // The identifier's storage, which names the file's kind.
  int32_t GetFileType() override;
  // True when the file manager now gives a different file for the
  // identifier (replaced on disk, or gone). A closed file then takes the new
  // one, so the change is reported once.
  bool HasChanged() override;

  const VORExternalResourceIdentifier *GetExternalIdentifier() const override { return &m_identifier; }

private:
  // Close without the virtual call, for the destructor too.
  void CloseFile();

  VORExternalResourceIdentifier m_identifier;
  VORFileManager &m_fileManager;
  std::unique_ptr<XQFile> m_file;
  bool m_open = false;
};
