#include "model/VORInternalResourceIdentifier.h"

#include "model/VORRecordFields.h"

void VORInternalResourceIdentifier::Read(VORFile &file) {
  m_number = VORRecordFields::ReadInt32(file);
  m_kind = VORRecordFields::ReadByte(file);
}
