#include "model/IntPair.h"

#include "model/VORRecordFields.h"

void IntPair::Read(VORFile &file) {
  VORRecordFields::ReadOptional(first, 0, [&] { first = VORRecordFields::ReadInt32(file); });
  VORRecordFields::ReadOptional(second, 0, [&] { second = VORRecordFields::ReadInt32(file); });
}
