#include "objects/VORObject.h"

#include <memory>

#include "display/VORView.h"
#include "foundation/VORException.h"
#include "model/VORApp.h"
#include "model/VORChapter.h"
#include "model/VORPage.h"
#include "model/VORPageInstance.h"
#include "model/VORPublication.h"
#include "model/VORSynchronizationObjectAction.h"
#include "model/VORTrigger.h"
#include "objects/VORResourceObject.h"
#include "vorfile/SectionGuard.h"

VORObject::VORObjectObjectProperties::VORObjectObjectProperties(const VORObjectObjectProperties &other)
    : VORObjectProperties(other) {
  events.CopyFrom(other.events);
  eventMap.CopyFrom(other.eventMap);
}

VORObject::VORObjectObjectProperties &
VORObject::VORObjectObjectProperties::operator=(const VORObjectObjectProperties &other) {
  if (&other != this) {
    events.CopyFrom(other.events);
    eventMap.CopyFrom(other.eventMap);
  }
  return *this;
}

VORObject::VORObjectObjectProperties::~VORObjectObjectProperties() = default;

void VORObject::VORObjectObjectProperties::Read(VORFile &file) {
  events.Read(file);
  eventMap.Read(file);
}

void VORObject::VORObjectObjectProperties::Assign(const VORObjectProperties &other) {
  if (const auto *source = dynamic_cast<const VORObjectObjectProperties *>(&other))
    *this = *source;
}

VORObject::VORObject(uint32_t classKey, int32_t id) : VORActionReceiver(classKey, id) {}

VORObject::VORObject(const VORObject &other)
    : VORActionReceiver(other), VORRecursiveObjectContainer(), VORPageMember(other),
      m_viewReference(other.m_viewReference), m_pageReference(other.m_pageReference) {
  other.ForEachChildObject([this](const VORObject &child) {
    std::unique_ptr<VORPageMember> copy(child.Clone());
    auto *object = dynamic_cast<VORObject *>(copy.get());
    // A copy that silently lacks a child would show another page than its
    // source; a failed clone fails the whole copy.
    if (object == nullptr)
      throw VORNewFailException(sizeof(VORObject));
    static_cast<void>(copy.release());
    InsertAfter(object, nullptr);
  });
}

VORObject::~VORObject() { DeleteChildren(); }

bool VORObject::AcceptsChild(uint32_t classKey) const {
  return classKey != VORPublication::kClassKey && classKey != VORChapter::kClassKey && classKey != VORPage::kClassKey;
}

void VORObject::Read(VORFile &file) {
  SectionGuard section(file);
  section.Open(GetObjectCode().ToKey(), VORObjectCode::kSize, false, ReadsSectionInMemory(), true);
  if (VORObjectProperties *properties = GetProperties())
    properties->Read(file);
  ReadChildren(file);
}

bool VORObject::ReceiveAction(VORObjectAction &action, ActionContext & /*context*/) {
  const int32_t code = action.GetActionCode();
  if (code != kSyncStarted && code != kSyncEnded)
    return false;
  if (const auto *sync = dynamic_cast<VORSynchronizationObjectAction *>(&action))
    FireEvents(VORSynchronizationTrigger(code, sync->GetSender()));
  return true;
}

void VORObject::EnterPage(VORPageInstance &instance, bool visible) {
  m_viewReference = instance.GetViewReference();
  m_pageReference = instance.GetPageReference();
  m_view = dynamic_cast<VORView *>(instance.GetView());
  Register();
  if (VORObjectObjectProperties *properties = GetObjectProperties())
    properties->events.SetOrigin(m_viewReference, m_pageReference);
  ForEachChildObject([&instance, visible](VORObject &child) { child.EnterPage(instance, visible); });
}

void VORObject::LeavePage(bool visible) {
  ForEachChildObject([visible](VORObject &child) { child.LeavePage(visible); });
  Unregister();
  m_view = nullptr;
}

void VORObject::OnPageShown() {
  ForEachChildObject([](VORObject &child) { child.OnPageShown(); });
}

void VORObject::Show(int32_t depth) {
  ForEachChildObject([depth](VORObject &child) { child.Show(depth + 1); });
}

void VORObject::Hide(int32_t depth) {
  ForEachChildObject([depth](VORObject &child) { child.Hide(depth + 1); });
}

VORObject::VORObjectObjectProperties *VORObject::GetObjectProperties() {
  return dynamic_cast<VORObjectObjectProperties *>(GetProperties());
}

void VORObject::FireEvents(const VORTrigger &trigger) {
  if (VORObjectObjectProperties *properties = GetObjectProperties())
    properties->eventMap.FireEvents(trigger, properties->events);
}

bool VORObject::HasEventFor(const VORTrigger &trigger) {
  VORObjectObjectProperties *properties = GetObjectProperties();
  return properties != nullptr && properties->eventMap.HasEventFor(trigger, properties->events);
}

VORObject *VORObject::FindChildObject(uint32_t classKey, int32_t id, bool recursive) const {
  VORObject *found = nullptr;
  ForEachChildObject([&](VORObject &child) {
    if (found != nullptr)
      return;
    if (child.GetClassKey() == classKey && child.GetId() == id)
      found = &child;
    else if (recursive)
      found = child.FindChildObject(classKey, id, true);
  });
  return found;
}

VORResourceObject *VORObject::FindResourceObject(uint32_t classKey, int32_t id) const {
  VORResourceObject *found = nullptr;
  ForEachChildObject([&](VORObject &child) {
    auto *resource = dynamic_cast<VORResourceObject *>(&child);
    if (found == nullptr && resource != nullptr && child.GetClassKey() == classKey && child.GetId() == id)
      found = resource;
  });
  return found;
}

VORResourceObject *VORObject::FindResourceObject(const VORObjectCode &reference) const {
  return FindResourceObject(reference.GetClassKey(), reference.id);
}

VORResourceObject *VORObject::GetResourceObject(uint32_t n) const {
  VORResourceObject *found = nullptr;
  uint32_t seen = 0;
  ForEachChildObject([&](VORObject &child) {
    auto *resource = dynamic_cast<VORResourceObject *>(&child);
    if (found != nullptr || resource == nullptr)
      return;
    if (seen++ == n)
      found = resource;
  });
  return found;
}

bool VORObject::IsSameInstance(const VORObject &other) const {
  return GetObjectCode().Equals(other.GetObjectCode()) && m_pageReference.Equals(other.m_pageReference) &&
         m_viewReference.Equals(other.m_viewReference);
}

bool VORObject::IsInInteractiveView() const { return m_view != nullptr && m_view->IsInteractive(); }

bool VORObject::IsInRunView() const { return m_view != nullptr && m_view->AsRunView() != nullptr; }

void VORObject::PostSyncStart() { PostSync(kSyncStarted); }

void VORObject::PostSyncEnd() { PostSync(kSyncEnded); }

void VORObject::PostSync(int32_t code) {
  VORApp *app = VORApp::Get();
  if (!IsInInteractiveView() || app == nullptr)
    return;
  VORSynchronizationObjectAction action(code, GetObjectCode());
  action.SetOriginObject(GetViewReference());
  action.SetOriginPage(GetPageReference());
  app->BroadcastAction(action);
}
