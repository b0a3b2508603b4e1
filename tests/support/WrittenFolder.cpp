#include "support/WrittenFolder.h"

#include "support/MemoryFile.h"

WrittenFolder::WrittenFolder(const Fill &fill, uint32_t version) {
  PublicationWriter writer(version);
  PublicationWriter::Folder &entry = writer.AddEntry(0);
  fill(entry);
  m_file = std::make_unique<VORCompiledFile>(std::make_unique<MemoryFile>(writer.Bytes()));
  m_file->Open(false, false);
  const uint32_t rootKey = 0;
  m_file->OpenFolder(&rootKey, sizeof rootKey, false, true, true);
}

WrittenFolder::~WrittenFolder() = default;
