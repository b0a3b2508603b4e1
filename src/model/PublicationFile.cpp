#include "model/PublicationFile.h"

#include "vorfile/VORFile.h"

PublicationFile::PublicationFile(const VORExternalResourceIdentifier &identifier, Opener opener)
    : m_identifier(identifier), m_opener(std::move(opener)) {}

PublicationFile::~PublicationFile() {
  if (m_file)
    m_file->Close();
}

VORFile *PublicationFile::Open() {
  if (!m_file) {
    m_file = m_opener ? m_opener(m_identifier) : nullptr;
    if (!m_file)
      return nullptr;
  }
  ++m_openCount;
  return m_file.get();
}

void PublicationFile::Close() {
  if (m_openCount == 0)
    return;
  if (--m_openCount > 0)
    return;
  std::unique_ptr<VORFile> file = std::move(m_file);
  file->Close();
}

std::unique_ptr<VORFile> PublicationFile::OpenSeparately() const { return m_opener ? m_opener(m_identifier) : nullptr; }

PublicationFileScope::~PublicationFileScope() {
  if (m_file)
    m_holder.Close();
}

bool PublicationFileScope::Open() {
  if (!m_file)
    m_file = m_holder.Open();
  return m_file != nullptr;
}
