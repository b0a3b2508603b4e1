#include "media/VORSoundObjectAction.h"

#include "model/VORClassRegistry.h"
#include "vorfile/SectionGuard.h"
#include "vorfile/VORRecordFields.h"

namespace {

VORCodedObject *CreateSoundAction(uint32_t /*classKey*/, int32_t id) { return new VORSoundObjectAction(id); }

const ClassRegistration kRegistration(VORSoundObjectAction::kCategory, VORSoundObjectAction::kCode, CreateSoundAction);

} // namespace

VORSoundObjectAction::~VORSoundObjectAction() = default;

void VORSoundObjectAction::Read(VORFile &file) {
  using namespace VORRecordFields;
  SectionGuard section(file);
  section.Open(GetObjectCode().ToKey(), VORObjectCode::kClassKeySize, false, false, true);
  ReadFields(file);
  switch (GetActionCode()) {
  case kPlay:
    start = ReadOr<int32_t>(file, 0);
    end = ReadOr<int32_t>(file, -1);
    repeatCount = ReadOr<int16_t>(file, 0);
    break;
  case kStop:
    fadeTime = ReadOr<int32_t>(file, 0);
    channels = ReadOr<uint8_t>(file, kAllChannels);
    break;
  case kVolume:
    relative = ReadOr<uint8_t>(file, 0);
    volume = ReadOr<int16_t>(file, 100);
    fadeTime = ReadOr<int32_t>(file, 0);
    channels = ReadOr<uint8_t>(file, kAllChannels);
    break;
  default:
    break;
  }
}
