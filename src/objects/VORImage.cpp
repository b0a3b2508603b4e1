#include "objects/VORImage.h"

#include "model/VORClassRegistry.h"

namespace {

const ClassRegistration kImage(VORImage::kCategory, VORImage::kCode, VORPlayerImage::Create);
const ClassRegistration kOtherImage(VORImage::kCategory, VORImage::kOtherCode, VORPlayerImage::Create);

} // namespace

VORImage::VORImageProperties::~VORImageProperties() = default;

VORImage::~VORImage() = default;

VORImage::VORImageProperties &VORImage::GetImageProperties() {
  return static_cast<VORImageProperties &>(GetGraphicalProperties());
}

bool VORImage::StretchesHorizontally() { return GetGraphicalProperties().imageLayout.fitMode != 0; }

bool VORImage::StretchesVertically() { return GetGraphicalProperties().imageLayout.fitMode != 0; }
