#include "model/VORExternalResourceFile.h"

#include "model/VORFileManager.h"
#include "vorfile/XQFile.h"

VORExternalResourceFile::VORExternalResourceFile(const VORExternalResourceIdentifier &identifier,
                                                 VORFileManager &fileManager)
    : m_identifier(identifier), m_fileManager(fileManager), m_file(fileManager.OpenFile(identifier)) {}

VORExternalResourceFile::~VORExternalResourceFile() { CloseFile(); }

bool VORExternalResourceFile::Open() {
  if (m_open)
    return true;
  m_open = m_file && m_file->Open(XQFile::kRead);
  return m_open;
}

void VORExternalResourceFile::Close() { CloseFile(); }

void VORExternalResourceFile::CloseFile() {
  if (!m_open)
    return;
  m_open = false;
  m_file->Close();
}

bool VORExternalResourceFile::Read(void *buffer, uint32_t count, uint32_t &bytesRead) {
  bytesRead = 0;
  return m_open && m_file->Read(buffer, count, bytesRead);
}

bool VORExternalResourceFile::Seek(int32_t offset, int32_t origin) { return m_open && m_file->Seek(offset, origin); }

bool VORExternalResourceFile::GetSize(uint32_t &size) {
  size = 0;
  int32_t time = 0;
  return m_file && m_file->GetSizeAndTime(size, time);
}

bool VORExternalResourceFile::Exists() { return m_file && m_file->Exists(); }

bool VORExternalResourceFile::IsSame(VORResourceFile &other) {
  auto *external = dynamic_cast<VORExternalResourceFile *>(&other);
  return external && m_file && external->m_file && m_file->IsSameFile(*external->m_file);
}

int32_t VORExternalResourceFile::GetFileType() { return m_identifier.GetStorage(); }

bool VORExternalResourceFile::HasChanged() {
  std::unique_ptr<XQFile> current = m_fileManager.OpenFile(m_identifier);
  const bool changed = !current || !m_file || !m_file->IsSameFile(*current);
  if (changed && !m_open)
    m_file = std::move(current);
  return changed;
}
