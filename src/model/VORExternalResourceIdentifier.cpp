#include "model/VORExternalResourceIdentifier.h"

#include "vorfile/SectionGuard.h"
#include "vorfile/VORRecordFields.h"

VORExternalResourceIdentifier::VORExternalResourceIdentifier(int32_t locationKind, const char *fileName,
                                                             int32_t storage)
    : m_locationKind(locationKind), m_fileName(fileName), m_storage(storage) {}

VORExternalResourceIdentifier::VORExternalResourceIdentifier(const VORExternalResourceIdentifier &other)
    : VORFileDataObject(other), m_locationKind(other.m_locationKind), m_fileName(other.m_fileName),
      m_storage(other.m_storage) {}

VORExternalResourceIdentifier &VORExternalResourceIdentifier::operator=(const VORExternalResourceIdentifier &other) {
  m_locationKind = other.m_locationKind;
  m_fileName = other.m_fileName;
  m_storage = other.m_storage;
  return *this;
}

VORExternalResourceIdentifier::~VORExternalResourceIdentifier() = default;

void VORExternalResourceIdentifier::Read(VORFile &file) {
  SectionGuard section(file);
  section.Open(nullptr, 0, false, false, true);
  m_locationKind = VORRecordFields::ReadInt16(file);
  m_fileName.Read(file);
  m_storage = VORRecordFields::ReadOr<uint8_t>(file, 0);
}

bool VORExternalResourceIdentifier::Equals(const VORExternalResourceIdentifier &other) const {
  return m_locationKind == other.m_locationKind && m_fileName.Equals(other.m_fileName) && m_storage == other.m_storage;
}
