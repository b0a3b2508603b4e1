#include "model/VORInternalResourceIdentifier.h"

#include "vorfile/VORRecordFields.h"

void VORInternalResourceIdentifier::Read(VORFile &file) {
  m_number = VORRecordFields::ReadInt32(file);
  m_kind = VORRecordFields::ReadByte(file);
}
