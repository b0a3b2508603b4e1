#include "engine/VORStoreInfoObjectAction.h"

#include <initializer_list>

#include "model/VORClassRegistry.h"
#include "vorfile/SectionGuard.h"
#include "vorfile/VORRecordFields.h"

namespace {

VORCodedObject *CreateStoreInfoAction(uint32_t /*classKey*/, int32_t id) { return new VORStoreInfoObjectAction(id); }

const ClassRegistration kRegistration(VORStoreInfoObjectAction::kCategory, VORStoreInfoObjectAction::kCode,
                                      CreateStoreInfoAction);

} // namespace

VORStoreInfoObjectAction::~VORStoreInfoObjectAction() = default;

void VORStoreInfoObjectAction::Read(VORFile &file) {
  using namespace VORRecordFields;
  SectionGuard section(file);
  section.Open(GetObjectCode().ToKey(), VORObjectCode::kClassKeySize, false, false, true);
  ReadFields(file);
  sourceKind = ReadByte(file);
  text.Read(file);
  targetFile.Read(file);
  ask = ReadByte(file);
  targetVariable.Read(file);
  replace = ReadByte(file);
  // Each optional byte read only while the record lasts.
  bool more = true;
  for (uint8_t *field :
       {&sourceInTemporaryFolder, &targetInTemporaryFolder, &sourceNameInVariable, &targetNameInVariable}) {
    *field = 0;
    if (more)
      ReadOptional(more, false, [&] { *field = ReadByte(file); });
  }
}
