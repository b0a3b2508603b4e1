#include "model/VORPrinterAction.h"

#include "model/VORClassRegistry.h"
#include "vorfile/SectionGuard.h"
#include "vorfile/VORRecordFields.h"

namespace {

VORCodedObject *CreatePrinterAction(uint32_t classKey, int32_t id) { return new VORPrinterAction(classKey, id); }

const ClassRegistration kRegistration(VORPrinterAction::kCategory, VORPrinterAction::kCode, CreatePrinterAction);

} // namespace

VORPrinterAction::~VORPrinterAction() = default;

void VORPrinterAction::Read(VORFile &file) {
  using namespace VORRecordFields;
  SectionGuard section(file);
  section.Open(GetObjectCode().ToKey(), VORObjectCode::kClassKeySize, false, false, true);
  ReadFields(file);
  page.Read(file);
  options = ReadUint32(file);
  fileName.Read(file);
  nameOnly = ReadOr<uint8_t>(file, 0);
  inTemporaryFolder = ReadOr<uint8_t>(file, 0);
}
