#include "images/ImageLayout.h"

#include "vorfile/VORRecordFields.h"

void ImageLayout::Read(VORFile &file) {
  using namespace VORRecordFields;
  const VORRect source = ReadRect(file);
  left = source.left;
  top = source.top;
  right = source.right;
  bottom = source.bottom;
  fitMode = ReadByte(file);
  transparencyKind = ReadByte(file);
  if (transparencyKind == kKeyColor) {
    keyColor = ReadUint32(file);
  } else if (transparencyKind == kKeyIndex) {
    keyIndex = ReadByte(file);
  }
  keepAspect = ReadByte(file);
}

int32_t ImageLayout::MaskKey() const {
  switch (transparencyKind) {
  case kKeyColor:
    return static_cast<int32_t>(keyColor & 0xFFFFFF);
  case kKeyIndex:
    return (keyIndex & 0xFF) + 0x1000000;
  default:
    return -1;
  }
}
