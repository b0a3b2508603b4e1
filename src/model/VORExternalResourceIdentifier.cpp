#include "model/VORExternalResourceIdentifier.h"

#include "model/VORRecordFields.h"
#include "vorfile/SectionGuard.h"

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
  VORRecordFields::ReadOptional(m_storage, 0, [&] { m_storage = VORRecordFields::ReadByte(file); });
}

bool VORExternalResourceIdentifier::Equals(const VORExternalResourceIdentifier &other) const {
  return m_locationKind == other.m_locationKind && m_fileName.Equals(other.m_fileName) && m_storage == other.m_storage;
}
