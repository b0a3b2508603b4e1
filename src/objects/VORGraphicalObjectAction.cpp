#include "objects/VORGraphicalObjectAction.h"

#include "display/VORInputDispatcher.h"
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

// The run views' mouse input becomes graphical object actions.
class MouseActions : public VORMouseActionFactory {
public:
  MouseActions() { Install(this); }
  std::unique_ptr<VORObjectAction> Make(int32_t code, VORPoint point, const VORRect &pageRect,
                                        uint32_t modifiers) const override {
    auto action = std::make_unique<VORGraphicalObjectAction>(pageRect);
    action->SetActionCode(code);
    action->SetPoint(point);
    action->SetModifiers(modifiers);
    return action;
  }
};

const MouseActions kMouseActions;

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
