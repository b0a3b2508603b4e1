#include "model/VORObjectCode.h"

#include "vorfile/VORFile.h"

void VORObjectCode::Read(VORFile &file) {
  uint8_t bytes[kSize] = {};
  file.ReadExact(bytes, kSize);
  VORObjectKey key = VORObjectKey::None();
  key.FromBytes(bytes, kSize);
  *this = FromKey(key);
}
