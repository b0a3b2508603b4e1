#include "model/VORLaunchAction.h"

#include <initializer_list>

#include "model/VORClassRegistry.h"
#include "vorfile/SectionGuard.h"
#include "vorfile/VORRecordFields.h"

namespace {

VORCodedObject *CreateLaunchAction(uint32_t classKey, int32_t id) { return new VORLaunchAction(classKey, id); }

const ClassRegistration kRegistration(VORLaunchAction::kCategory, VORLaunchAction::kCode, CreateLaunchAction);

} // namespace

VORLaunchAction::~VORLaunchAction() = default;

void VORLaunchAction::Read(VORFile &file) {
  SectionGuard section(file);
  section.Open(GetObjectCode().ToKey(), VORObjectCode::kClassKeySize, false, false, true);
  ReadFields(file);
  for (VORString *text : {&fileName, &second, &directory, &parameters, &fifth, &location})
    text->Read(file);
  unusedByte = VORRecordFields::ReadByte(file);
  exitAfter = VORRecordFields::ReadByte(file);
}
