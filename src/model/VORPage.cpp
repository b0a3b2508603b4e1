#include "model/VORPage.h"

#include "model/VORApp.h"
#include "model/VORChapter.h"
#include "model/VORGraphicalObjectContainerManager.h"
#include "model/VORPageInstance.h"
#include "model/VORPageInstanceCopy.h"
#include "model/VORPageManager.h"
#include "model/VORPageView.h"
#include "model/VORPublication.h"
#include "model/VORResourceManager.h"
#include "vorfile/SectionGuard.h"
#include "vorfile/VORRecordFields.h"

VORPage::VORPageProperties::VORPageProperties() = default;

VORPage::VORPageProperties::VORPageProperties(const VORPageProperties &other) : VORObjectProperties(other) {
  CopyFields(other);
}

VORPage::VORPageProperties::~VORPageProperties() = default;

void VORPage::VORPageProperties::Read(VORFile &file) {
  using namespace VORRecordFields;
  backgroundColor = ReadUint32(file);
  rect.left = ReadInt32(file);
  rect.top = ReadInt32(file);
  rect.right = ReadInt32(file);
  rect.bottom = ReadInt32(file);
  title = ReadOr<VORString>(file, VORString());
  timedPageDelay = ReadOr<int32_t>(file, kNoTimedPage);
  if (timedPageDelay != kNoTimedPage)
    timedPage = ReadOr<VORObjectCode>(file, VORObjectCode::Zero());
  enterTransition.Read(file);
  exitTransition.Read(file);
  soundFlags = ReadOr<uint8_t>(file, 0);
  events.Read(file);
  eventMap.Read(file);
}

VORObjectProperties *VORPage::VORPageProperties::Clone() const { return new VORPageProperties(*this); }

void VORPage::VORPageProperties::Assign(const VORObjectProperties &other) {
  const auto *source = dynamic_cast<const VORPageProperties *>(&other);
  if (source && source != this)
    CopyFields(*source);
}

void VORPage::VORPageProperties::CopyFields(const VORPageProperties &other) {
  const VORPageProperties *source = &other;
  backgroundColor = source->backgroundColor;
  rect = source->rect;
  title = source->title;
  timedPageDelay = source->timedPageDelay;
  timedPage = source->timedPage;
  soundFlags = source->soundFlags;
  enterTransition = source->enterTransition;
  exitTransition = source->exitTransition;
  events.CopyFrom(source->events);
  eventMap.CopyFrom(source->eventMap);
}

VORPage::VORPage(uint32_t classKey, int32_t id) : VORFileObject(classKey, id), m_master(new VORPageInstance(*this)) {
  m_instances.Append(m_master);
}

VORPage::~VORPage() {
  if (VORApp *app = VORApp::Get())
    if (VORPageManager *manager = app->GetPageManager())
      manager->RemovePage(*this);
  // The linked page may be going too (the whole publication goes at once):
  // it is not touched.
  m_linkedPage = nullptr;
  m_instances.Remove(m_master);
  m_instances.DeleteAll();
  delete m_master;
}

VORPageInstance *VORPage::FindInstance(const VORPageView &view) const {
  VORPageInstance *found = nullptr;
  return m_instances.FindIf([&](const VORPageInstance *instance) { return instance->GetView() == &view; }, found)
             ? found
             : nullptr;
}

VORPageInstance *VORPage::FindIdleInstance() const {
  VORPageInstance *found = nullptr;
  return m_instances.FindIf([](const VORPageInstance *instance) { return instance->GetView() == nullptr; }, found)
             ? found
             : nullptr;
}

bool VORPage::IsShown() const {
  VORPageInstance *found = nullptr;
  return m_instances.FindIf([](const VORPageInstance *instance) { return instance->GetView() != nullptr; }, found);
}

bool VORPage::ShowInView(VORPageView &view, bool alwaysNew) {
  if (!Retain())
    return false;
  VORPageInstance *instance = alwaysNew ? nullptr : FindIdleInstance();
  if (!instance) {
    instance = new VORPageInstanceCopy(*m_master);
    m_instances.Prepend(instance);
  }
  view.ShowPageInstance(*instance);
  instance->Show(view);
  instance->GetPageProperties().events.SetOrigin(instance->GetViewReference(), instance->GetPageReference());
  view.PlayEnterTransition();
  return true;
}

void VORPage::RemoveFromView(VORPageView &view) {
  VORPageInstance *instance = FindInstance(view);
  if (!instance)
    return;
  instance->Hide();
  view.LeavePageInstance(*instance);
  if (instance != m_master) {
    m_instances.Remove(instance);
    delete instance;
  }
  if (!IsShown())
    ReleaseLinkedPage();
  Release();
}

void VORPage::LoadObjects(VORFile &file) {
  SectionGuard section(file);
  section.Open(GetObjectCode().ToKey(), VORObjectCode::kSize, false, true, true);
  m_master->DeleteChildren();
  m_master->ReadChildren(file);
  SetUpMasterLayout();
}

void VORPage::UnloadObjects() {
  m_master->DeleteChildren();
  SetUpMasterLayout();
}

// The guides are derived from the objects present: set up when the page
// was read, before any object was loaded, they would place none.
void VORPage::SetUpMasterLayout() {
  if (VORGraphicalObjectContainerManager *layout = GetMasterLayoutManager())
    layout->SetBounds(GetPageRect());
}

bool VORPage::LinkPreviousPageResources() {
  if (m_linkedPage)
    return true;
  VORPublication *publication = GetPublication();
  VORRecursiveObjectContainer *found = nullptr;
  if (!publication || !publication->FindNextPage(GetObjectCode(), found))
    return false;
  auto *next = dynamic_cast<VORPage *>(found);
  if (!next || next == this || !next->Retain())
    return false;
  m_linkedPage = next;
  // The resource manager keeps the next page's resources with this page's.
  if (VORApp *app = VORApp::Get())
    if (VORResourceManager *resources = app->GetResourceManager())
      resources->AddLinkedPage(GetObjectCode(), next->GetObjectCode());
  return true;
}

void VORPage::ReleaseLinkedPage() {
  VORPage *linked = m_linkedPage;
  m_linkedPage = nullptr;
  if (linked)
    linked->Release();
}

VORChapter *VORPage::GetChapter() const { return dynamic_cast<VORChapter *>(GetParent()); }

VORPublication *VORPage::GetPublication() const {
  VORChapter *chapter = GetChapter();
  return chapter ? dynamic_cast<VORPublication *>(chapter->GetParent()) : nullptr;
}

uint32_t VORPage::GetBackgroundColor() {
  const uint32_t own = GetPageProperties().backgroundColor;
  if (own != VORPageProperties::kPublicationColour)
    return own;
  VORPublication *publication = GetPublication();
  return publication ? publication->GetBackgroundColor() : 0;
}

VORString VORPage::GetTitle() { return GetPageProperties().title; }
