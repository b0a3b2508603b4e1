#include "objects/VORHotSpot.h"
#include "vorfile/VORRecordFields.h"

VORHotSpot::VORHotSpotProperties::VORHotSpotProperties(const VORHotSpotProperties &other)
    : VORGraphicalObjectProperties(other) {
  CopyOwnFields(other);
}

void VORHotSpot::VORHotSpotProperties::CopyOwnFields(const VORHotSpotProperties &other) {
  flags = (flags & ~kCopiedFlags) | (other.flags & kCopiedFlags);
  cursor = other.cursor;
  pressedCursor = other.pressedCursor;
  autoRepeat = other.autoRepeat;
}

VORHotSpot::VORHotSpotProperties &VORHotSpot::VORHotSpotProperties::operator=(const VORHotSpotProperties &other) {
  if (&other == this)
    return *this;
  CopyOwnFields(other);
  VORGraphicalObjectProperties::operator=(other);
  return *this;
}

VORHotSpot::VORHotSpotProperties::~VORHotSpotProperties() = default;

void VORHotSpot::VORHotSpotProperties::Read(VORFile &file) {
  VORGraphicalObjectProperties::Read(file);
  flags = VORRecordFields::Read<uint8_t>(file);
  cursor.Read(file);
  pressedCursor.Read(file);
  autoRepeat = VORRecordFields::ReadOr<uint8_t>(file, 0);
}

void VORHotSpot::VORHotSpotProperties::Assign(const VORObjectProperties &other) {
  if (const auto *source = dynamic_cast<const VORHotSpotProperties *>(&other))
    *this = *source;
}
