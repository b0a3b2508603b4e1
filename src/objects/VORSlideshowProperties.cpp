#include <algorithm>

#include "objects/VORRecordForm.h"
#include "objects/VORSlideshow.h"
#include "vorfile/VORRecordFields.h"

namespace {

const ClassRegistration kSlideshow(VORSlideshow::kCategory, VORSlideshow::kCode,
                                   PageObjectForms::Make<VORSlideshow::VORSlideshowProperties>);

} // namespace

using VORRecordFields::ReadOr;

VORSlideshow::VORSlideshowProperties::~VORSlideshowProperties() = default;

void VORSlideshow::VORSlideshowProperties::Read(VORFile &file) {
  VORHotSpotProperties::Read(file);
  slideFlags = ReadOr<uint16_t>(file, kStartByItself);
  repeatCount = ReadOr<int16_t>(file, 0);
  const uint16_t count = ReadOr<uint16_t>(file, 0);
  delays.clear();
  references.clear();
  transitions.clear();
  // A damaged count asks for more slides than the record can hold: room is
  // made only for what it can hold.
  uint32_t recordSize = 0;
  file.GetDataSize(recordSize);
  const uint32_t room = std::min<uint32_t>(count, recordSize / kSlideRecordBytes);
  delays.reserve(room);
  references.reserve(room);
  try {
    for (uint32_t i = 0; i < count; ++i)
      delays.push_back(VORRecordFields::Read<uint32_t>(file));
    for (uint32_t i = 0; i < count; ++i) {
      VORObjectCode reference = VORObjectCode::None();
      reference.Read(file);
      references.push_back(reference);
    }
  } catch (VORFileNonFatalException &) {
    // A record that ends inside the slides keeps those it holds whole.
  }
  delays.resize(references.size());
  transitions.resize(references.size());
  for (VORFXManager::FXParams &transition : transitions)
    transition.Read(file);
}

void VORSlideshow::VORSlideshowProperties::Assign(const VORObjectProperties &other) {
  if (const auto *source = dynamic_cast<const VORSlideshowProperties *>(&other))
    *this = *source;
}

VORSlideshow::VORSlideshowStepAction::VORSlideshowStepAction(uint32_t stepGeneration)
    : VORObjectAction(kClassKey, 0), generation(stepGeneration) {
  SetActionCode(kStep);
}

VORSlideshow::VORSlideshowStepAction::~VORSlideshowStepAction() = default;
