#include "objects/VORImage.h"

#include "objects/VORRecordForm.h"

namespace {

const PlayerFormRegistration kImage(VORImage::kCategory, VORImage::kCode, VORPlayerImage::Create);
const PlayerFormRegistration kOtherImage(VORImage::kCategory, VORImage::kOtherCode, VORPlayerImage::Create);

} // namespace

VORImage::~VORImage() = default;

VORImage::VORImageProperties &VORImage::GetImageProperties() {
  return static_cast<VORImageProperties &>(GetGraphicalProperties());
}

bool VORImage::StretchesHorizontally() { return GetGraphicalProperties().imageLayout.fitMode != 0; }

bool VORImage::StretchesVertically() { return GetGraphicalProperties().imageLayout.fitMode != 0; }
