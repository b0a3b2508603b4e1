#pragma once

#include <memory>

#include "model/VORInternalResourceIdentifier.h"
#include "model/VORResourceFile.h"

class PublicationFile;
class VORFile;

// A resource stored as a top-level entry of the compiled publication file.
//
// It reads through an opening of the publication file of its own: the page
// cache may hold a chain of folders of the shared opening, and the compiled
// file opens every folder inside the innermost one already open, so a
// top-level entry opened there would be looked for inside a page.
class VORInternalResourceFile : public VORResourceFile {
public:
  // The holder must outlive the calls made on this file.
  VORInternalResourceFile(const VORInternalResourceIdentifier &identifier, PublicationFile &publication);
  ~VORInternalResourceFile() override;

  // False when the publication file does not open or holds no such entry
  // (or an unreadable one).
  bool Open() override;
  void Close() override;
  // False for an entry without data; at the end of the data true with 0 bytes.
  bool Read(void *buffer, uint32_t count, uint32_t &bytesRead) override;
  bool Seek(int32_t offset, int32_t origin) override;
  // The entry's data size; a closed file is opened for the question and
  // closed again. 0 and false when it does not open.
  bool GetSize(uint32_t &size) override;
  bool Exists() override { return true; }
  // Another internal resource file of the same identifier.
  bool IsSame(VORResourceFile &other) override;
  int32_t GetFileType() override { return m_identifier.GetKind(); }

  const VORInternalResourceIdentifier *GetInternalIdentifier() const override { return &m_identifier; }
  bool IsOpen() const { return m_file != nullptr; }

private:
  // Close without the virtual call, for the destructor too.
  void CloseFile();

  VORInternalResourceIdentifier m_identifier;
  PublicationFile &m_publication;
  // Open with the entry's folder open, or null.
  std::unique_ptr<VORFile> m_file;
};
