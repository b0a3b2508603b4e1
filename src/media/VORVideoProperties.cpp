#include "media/VORVideo.h"
#include "objects/VORRecordForm.h"
#include "vorfile/VORRecordFields.h"

namespace {

const ClassRegistration kVideo(VORVideo::kCategory, VORVideo::kCode,
                               PageObjectForms::Make<VORVideo::VORVideoProperties>);

} // namespace

VORVideo::VORVideoProperties::~VORVideoProperties() = default;

void VORVideo::VORVideoProperties::Read(VORFile &file) {
  using namespace VORRecordFields;
  VORHotSpotProperties::Read(file);
  videoFlags = ReadOr<uint16_t>(file, 0);
  repeatCount = ReadOr<int16_t>(file, 0);
  keyColor = ReadOr<uint32_t>(file, kNoKeyColour);
  noSound = ReadOr<uint8_t>(file, 0);
}

void VORVideo::VORVideoProperties::Assign(const VORObjectProperties &other) {
  if (const auto *source = dynamic_cast<const VORVideoProperties *>(&other))
    *this = *source;
}
