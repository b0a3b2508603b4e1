#include "model/VORPlayerPage.h"

#include "model/VORApp.h"
#include "model/VORClassRegistry.h"
#include "model/VORPageInstance.h"
#include "model/VORPageManager.h"
#include "vorfile/SectionGuard.h"

namespace {

VORCodedObject *CreatePage(uint32_t classKey, int32_t id) { return new VORPlayerPage(classKey, id); }

const ClassRegistration kRegistration(VORPage::kCategory, VORPage::kCode, CreatePage);

} // namespace

VORPlayerPage::VORPlayerPageProperties::~VORPlayerPageProperties() = default;

VORPlayerPage::VORPlayerPage(uint32_t classKey, int32_t id) : VORPage(classKey, id), m_layout(GetMasterInstance()) {}

VORPlayerPage::~VORPlayerPage() = default;

void VORPlayerPage::Read(VORFile &file) {
  SectionGuard section(file);
  section.Open(GetObjectCode().ToKey(), VORObjectCode::kSize, false, true, true);
  m_properties.Read(file);
  m_layout.SetBounds(m_properties.rect);
}

bool VORPlayerPage::Retain() {
  VORApp *app = VORApp::Get();
  VORPageManager *manager = app ? app->GetPageManager() : nullptr;
  if (!manager || !manager->LoadPage(*this))
    return false;
  ++m_retainCount;
  return true;
}

void VORPlayerPage::Release() {
  if (m_retainCount > 0)
    --m_retainCount;
}
