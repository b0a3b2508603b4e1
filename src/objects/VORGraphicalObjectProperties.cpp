#include <algorithm>

#include "objects/VORGraphicalObject.h"
#include "vorfile/VORRecordFields.h"

namespace {

using VORRecordFields::Read;
using VORRecordFields::ReadOr;

VORPoint ReadPointOr0(VORFile &file) {
  VORPoint point;
  point.x = ReadOr<int32_t>(file, 0);
  point.y = ReadOr<int32_t>(file, 0);
  return point;
}

// A 16-bit count, then that many references; a record that ends before the
// count holds no list, one that ends inside the list is damaged.
std::vector<VORObjectCode> ReadReferenceList(VORFile &file) {
  const uint16_t count = ReadOr<uint16_t>(file, 0);
  std::vector<VORObjectCode> list;
  list.reserve(count);
  for (uint16_t i = 0; i < count; ++i)
    list.push_back(Read<VORObjectCode>(file));
  return list;
}

} // namespace

VORGraphicalObject::VORGraphicalObjectProperties::~VORGraphicalObjectProperties() = default;

void VORGraphicalObject::VORGraphicalObjectProperties::Read(VORFile &file) {
  leadingFlags = ReadOr<uint8_t>(file, 0);
  showTransition.Read(file);
  hideTransition.Read(file);
  VORObjectObjectProperties::Read(file);
  layoutRect = VORRecordFields::ReadRect(file);
  horizontalSizing = VORRecordFields::Read<uint8_t>(file);
  verticalSizing = VORRecordFields::Read<uint8_t>(file);
  opacity = DrawFlagRules::ClampOpacity(ReadOr<uint16_t>(file, DrawFlags::kOpaque));
  blendOffset = ReadPointOr0(file);
  transparentColourFlag = ReadOr<uint8_t>(file, 0);
  showAnimation = ReadOr<VORObjectCode>(file, VORObjectCode::Zero());
  hideAnimation = ReadOr<VORObjectCode>(file, VORObjectCode::Zero());
  pathAnimation = ReadOr<VORObjectCode>(file, VORObjectCode::Zero());
  visibleAtStart = ReadOr<uint8_t>(file, 1);
  showDelay = ReadOr<int32_t>(file, kNoDelay);
  shadowOffset = ReadPointOr0(file);
  shadowColour = ReadOr<uint32_t>(file, 0);
  shadowOpacity = DrawFlagRules::ClampOpacity(ReadOr<uint16_t>(file, DrawFlags::kOpaque));
  draggable = ReadOr<uint8_t>(file, 0);
  glideBackDuration = draggable != 0 ? ReadOr<uint16_t>(file, kDefaultGlideBack) : kDefaultGlideBack;
  acceptsDrops = ReadOr<uint8_t>(file, 0);
  linkedResource = ReadOr<VORObjectCode>(file, VORObjectCode::Zero());
  acceptedObjects = ReadReferenceList(file);
  dropTargets = ReadReferenceList(file);
  imageLayout.Read(file);
  hideDelay = ReadOr<int32_t>(file, kNoDelay);
  // Records written before the flag existed ran their transitions under
  // the update controller.
  modalTransition = ReadOr<uint8_t>(file, 0);
}

void VORGraphicalObject::VORGraphicalObjectProperties::Assign(const VORObjectProperties &other) {
  if (const auto *source = dynamic_cast<const VORGraphicalObjectProperties *>(&other))
    *this = *source;
}

bool VORGraphicalObject::VORGraphicalObjectProperties::Admits(const std::vector<VORObjectCode> &list,
                                                              const VORObjectCode &reference) {
  return list.empty() || std::any_of(list.begin(), list.end(),
                                     [&reference](const VORObjectCode &entry) { return entry.Equals(reference); });
}
