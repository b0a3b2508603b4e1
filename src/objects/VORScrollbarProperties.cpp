#include "objects/ScrollbarGeometry.h"
#include "objects/VORRecordForm.h"
#include "objects/VORScrollbar.h"
#include "vorfile/VORRecordFields.h"

namespace {

const ClassRegistration kScrollbar(VORScrollbar::kCategory, VORScrollbar::kCode,
                                   PageObjectForms::Make<VORScrollbar::VORScrollbarProperties>);

} // namespace

using VORRecordFields::ReadOptional;
using VORRecordFields::ReadOr;

VORScrollbar::VORScrollbarProperties::~VORScrollbarProperties() = default;

void VORScrollbar::VORScrollbarProperties::Read(VORFile &file) {
  ReadOwnFields(file);
  VORHotSpotProperties::Read(file);
}

void VORScrollbar::VORScrollbarProperties::ReadOwnFields(VORFile &file) {
  const auto readReference = [&file](VORObjectCode &reference) {
    ReadOptional(reference, VORObjectCode::Zero(), [&] { reference.Read(file); });
  };
  readReference(target);
  autoLayout = ReadOr<uint32_t>(file, 1);
  readReference(upButton);
  readReference(downButton);
  if (file.GetVersion() <= kDroppedReferencesVersion) {
    VORObjectCode dropped;
    for (uint32_t i = 0; i < kDroppedReferenceCount; ++i)
      readReference(dropped);
  }
  readReference(thumb);
  readReference(track);
  // A damaged file may hold any bit pattern: the fractions stay within 0..1.
  ReadOptional(thumbSize, kDefaultThumbSize, [&] {
    thumbSize = ScrollbarGeometry::ClampFraction(VORRecordFields::ReadDouble(file), kDefaultThumbSize);
  });
  ReadOptional(position, 0.0,
               [&] { position = ScrollbarGeometry::ClampFraction(VORRecordFields::ReadDouble(file), 0.0); });
  frame = ReadOr<uint8_t>(file, 0);
  proportionalThumb = ReadOr<uint8_t>(file, 1);
}

void VORScrollbar::VORScrollbarProperties::Assign(const VORObjectProperties &other) {
  if (const auto *source = dynamic_cast<const VORScrollbarProperties *>(&other))
    *this = *source;
}
