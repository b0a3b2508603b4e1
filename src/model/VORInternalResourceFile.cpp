#include "model/VORInternalResourceFile.h"

#include "model/PublicationFile.h"
#include "vorfile/VORCompiledFile.h"
#include "vorfile/VORFileException.h"

namespace {

// A top-level entry's key: its index, little-endian.
void StoreEntryKey(uint8_t (&key)[VORCompiledFile::kEntryKeySize], uint32_t index) {
  for (uint32_t i = 0; i < VORCompiledFile::kEntryKeySize; ++i)
    key[i] = static_cast<uint8_t>(index >> (8 * i));
}

} // namespace

VORInternalResourceFile::VORInternalResourceFile(const VORInternalResourceIdentifier &identifier,
                                                 PublicationFile &publication)
    : m_identifier(identifier), m_publication(publication) {}

VORInternalResourceFile::~VORInternalResourceFile() { CloseFile(); }

bool VORInternalResourceFile::Open() {
  if (m_file)
    return true;
  std::unique_ptr<VORFile> file = m_publication.OpenSeparately();
  if (!file)
    return false;
  uint8_t key[VORCompiledFile::kEntryKeySize];
  StoreEntryKey(key, static_cast<uint32_t>(m_identifier.GetNumber()));
  try {
    file->OpenFolder(key, sizeof key, false, false, true);
  } catch (VORFileException &) {
    // No such entry, or one the container cannot make sense of: either way
    // the resource cannot be read.
    file->Close();
    return false;
  }
  m_file = std::move(file);
  return true;
}

void VORInternalResourceFile::Close() { CloseFile(); }

void VORInternalResourceFile::CloseFile() {
  if (!m_file)
    return;
  std::unique_ptr<VORFile> file = std::move(m_file);
  file->CloseFolder();
  file->Close();
}

bool VORInternalResourceFile::Read(void *buffer, uint32_t count, uint32_t &bytesRead) {
  bytesRead = 0;
  if (!m_file)
    return false;
  try {
    m_file->Read(buffer, count, bytesRead);
    return true;
  } catch (VORFileException &) {
    bytesRead = 0;
    return false;
  }
}

bool VORInternalResourceFile::Seek(int32_t offset, int32_t origin) {
  if (!m_file)
    return false;
  try {
    return m_file->SeekData(offset, origin);
  } catch (VORFileException &) {
    return false;
  }
}

bool VORInternalResourceFile::GetSize(uint32_t &size) {
  size = 0;
  const bool wasOpen = IsOpen();
  if (!Open())
    return false;
  m_file->GetDataSize(size);
  if (!wasOpen)
    CloseFile();
  return true;
}

bool VORInternalResourceFile::IsSame(VORResourceFile &other) {
  const VORInternalResourceIdentifier *identifier = other.GetInternalIdentifier();
  return identifier && identifier->Equals(m_identifier);
}
