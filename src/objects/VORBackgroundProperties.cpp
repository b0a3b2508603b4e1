#include "objects/VORBackground.h"
#include "objects/VORRecordForm.h"
#include "vorfile/VORRecordFields.h"

namespace {

const ClassRegistration kBackground(VORBackground::kCategory, VORBackground::kCode,
                                    PageObjectForms::Make<VORBackground::VORBackgroundProperties>);

} // namespace

VORBackground::VORBackgroundProperties::~VORBackgroundProperties() = default;

void VORBackground::VORBackgroundProperties::Read(VORFile &file) {
  VORGraphicalObjectProperties::Read(file);
  fillKind = VORRecordFields::Read<uint8_t>(file);
  if (fillKind == kSolid || fillKind == kGradient) {
    colour1 = VORRecordFields::Read<uint32_t>(file);
  }
  if (fillKind == kGradient) {
    colour2 = VORRecordFields::Read<uint32_t>(file);
    direction = VORRecordFields::Read<uint8_t>(file);
  }
}

void VORBackground::VORBackgroundProperties::Assign(const VORObjectProperties &other) {
  if (const auto *source = dynamic_cast<const VORBackgroundProperties *>(&other)) {
    *this = *source;
  }
}
