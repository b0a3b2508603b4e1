#include "objects/VORScrollbarObjectAction.h"

#include "model/VORClassRegistry.h"
#include "vorfile/SectionGuard.h"
#include "vorfile/VORRecordFields.h"

namespace {

VORCodedObject *CreateScrollbarAction(uint32_t classKey, int32_t id) {
  return new VORScrollbarObjectAction(classKey, id);
}

const ClassRegistration kRegistration(VORScrollbarObjectAction::kCategory, VORScrollbarObjectAction::kCode,
                                      CreateScrollbarAction);

} // namespace

VORScrollbarObjectAction::~VORScrollbarObjectAction() = default;

void VORScrollbarObjectAction::Read(VORFile &file) {
  using namespace VORRecordFields;
  SectionGuard section(file);
  section.Open(GetObjectCode().ToKey(), VORObjectCode::kClassKeySize, false, false, true);
  ReadFields(file);
  kind = ReadOr<uint16_t>(file, kNone);
  second = ReadOr<uint16_t>(file, 0);
  ReadOptional(position, 0.0, [&] { position = ReadDouble(file); });
  ReadOptional(size, kMissingSize, [&] { size = ReadDouble(file); });
}
