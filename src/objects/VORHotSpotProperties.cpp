#include "objects/VORFrame.h"
#include "objects/VORHotSpot.h"
#include "objects/VORImage.h"
#include "objects/VORRecordForm.h"
#include "objects/VORSimpleHotSpot.h"
#include "vorfile/VORRecordFields.h"

namespace {

// The hotspots whose records add no field to the hotspot's.
const ClassRegistration kImage(VORImage::kCategory, VORImage::kCode,
                               PageObjectForms::Make<VORImage::VORImageProperties>);
const ClassRegistration kOtherImage(VORImage::kCategory, VORImage::kOtherCode,
                                    PageObjectForms::Make<VORImage::VORImageProperties>);
const ClassRegistration kSimpleHotSpot(VORSimpleHotSpot::kCategory, VORSimpleHotSpot::kCode,
                                       PageObjectForms::Make<VORSimpleHotSpot::VORSimpleHotSpotProperties>);
const ClassRegistration kFrame(VORFrame::kCategory, VORFrame::kCode,
                               PageObjectForms::Make<VORFrame::VORFrameProperties>);

} // namespace

VORImage::VORImageProperties::~VORImageProperties() = default;
VORSimpleHotSpot::VORSimpleHotSpotProperties::~VORSimpleHotSpotProperties() = default;
VORFrame::VORFrameProperties::~VORFrameProperties() = default;

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
