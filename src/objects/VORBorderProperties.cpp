#include "objects/VORBorder.h"
#include "objects/VORRecordForm.h"
#include "vorfile/VORRecordFields.h"

namespace {

const ClassRegistration kBorder(VORBorder::kCategory, VORBorder::kCode,
                                PageObjectForms::Make<VORBorder::VORBorderProperties>);

} // namespace

VORBorder::VORBorderProperties::~VORBorderProperties() = default;

void VORBorder::VORBorderProperties::Read(VORFile &file) {
  using VORRecordFields::ReadOr;
  VORGraphicalObjectProperties::Read(file);
  style = ReadOr<uint8_t>(file, 0);
  width = ReadOr<int16_t>(file, 0);
  radius = ReadOr<int16_t>(file, 0);
  colour1 = ReadOr<uint32_t>(file, 0);
  colour2 = ReadOr<uint32_t>(file, 0);
  borderOpacity = static_cast<uint16_t>(
      BorderGeometry::OpacityOf(ReadOr<uint16_t>(file, static_cast<uint16_t>(BorderGeometry::kSolidOpacity))));
  borderImage = ReadOr<VORObjectCode>(file, VORObjectCode::Zero());
}

void VORBorder::VORBorderProperties::Assign(const VORObjectProperties &other) {
  if (const auto *source = dynamic_cast<const VORBorderProperties *>(&other)) {
    *this = *source;
  }
}
