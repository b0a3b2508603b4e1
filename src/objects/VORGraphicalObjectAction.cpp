#include "objects/VORGraphicalObjectAction.h"

#include "model/IntPair.h"
#include "model/VORClassRegistry.h"
#include "vorfile/SectionGuard.h"
#include "vorfile/VORRecordFields.h"

namespace {

VORCodedObject *CreateGraphicalObjectAction(uint32_t classKey, int32_t id) {
  return new VORGraphicalObjectAction(classKey, id);
}

const ClassRegistration kRegistration(VORGraphicalObjectAction::kCategory, VORGraphicalObjectAction::kCode,
                                      CreateGraphicalObjectAction);

} // namespace

VORGraphicalObjectAction::~VORGraphicalObjectAction() = default;

void VORGraphicalObjectAction::Read(VORFile &file) {
  SectionGuard section(file);
  section.Open(GetObjectCode().ToKey(), VORObjectCode::kClassKeySize, false, false, true);
  ReadFields(file);
  m_rect = VORRecordFields::ReadRect(file);
  IntPair point;
  point.Read(file);
  m_point = VORPoint{point.first, point.second};
}
