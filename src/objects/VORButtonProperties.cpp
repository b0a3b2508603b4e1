#include "objects/VORButton.h"
#include "objects/VORRecordForm.h"
#include "vorfile/VORRecordFields.h"

namespace {

const ClassRegistration kButton(VORButton::kCategory, VORButton::kCode,
                                PageObjectForms::Make<VORButton::VORButtonProperties>);

} // namespace

VORButton::VORButtonProperties::~VORButtonProperties() = default;

void VORButton::VORButtonProperties::Read(VORFile &file) {
  VORHotSpotProperties::Read(file);
  buttonFlags = VORRecordFields::Read<uint16_t>(file);
  normalImage.Read(file);
  pressedImage.Read(file);
  highlightImage.Read(file);
  faceColor = VORRecordFields::Read<uint32_t>(file);
  lightColor = VORRecordFields::Read<uint32_t>(file);
  darkColor = VORRecordFields::Read<uint32_t>(file);
  bevelWidth = VORRecordFields::Read<uint16_t>(file);
}

void VORButton::VORButtonProperties::Assign(const VORObjectProperties &other) {
  if (const auto *source = dynamic_cast<const VORButtonProperties *>(&other))
    *this = *source;
}

int32_t VORButton::PictureIndexFor(int16_t state, bool hasNormal, bool hasPressed, bool hasHighlight) {
  int32_t index = kNormalPicture;
  if (state == kPressed && (hasPressed || !hasNormal))
    index = kPressedPicture;
  else if (state == kHighlighted && (hasHighlight || !hasNormal))
    index = kHighlightPicture;
  const bool exists[kPictureCount] = {hasNormal, hasPressed, hasHighlight};
  return exists[index] ? index : kNoPicture;
}
