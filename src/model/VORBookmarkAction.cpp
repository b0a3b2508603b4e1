#include "model/VORBookmarkAction.h"

#include "model/VORClassRegistry.h"
#include "vorfile/SectionGuard.h"

namespace {

VORCodedObject *CreateBookmarkAction(uint32_t classKey, int32_t id) { return new VORBookmarkAction(classKey, id); }

const ClassRegistration kRegistration(VORBookmarkAction::kCategory, VORBookmarkAction::kCode, CreateBookmarkAction);

} // namespace

VORBookmarkAction::~VORBookmarkAction() = default;

void VORBookmarkAction::Read(VORFile &file) {
  SectionGuard section(file);
  section.Open(GetObjectCode().ToKey(), VORObjectCode::kClassKeySize, false, false, true);
  ReadFields(file);
  m_page.Read(file);
}
