#include "model/IntPair.h"

#include "vorfile/VORRecordFields.h"

void IntPair::Read(VORFile &file) {
  first = VORRecordFields::ReadOr<int32_t>(file, 0);
  second = VORRecordFields::ReadOr<int32_t>(file, 0);
}
