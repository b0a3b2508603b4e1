// <windows.h> comes first so that its DrawText macro renames the canvas
// operation alike in every header that declares it.
#include <windows.h>

#include <memory>
#include <string>

#include "model/VORApp.h"
#include "model/VORPageInstance.h"
#include "model/VORResourceManager.h"
#include "objects/TextScrolling.h"
#include "objects/VORExternalResourceObject.h"
#include "objects/VORScrollbarObjectAction.h"
#include "objects/VORText.h"

// The text object's ties to other objects of its page: the external text
// resource its text may come from and the scrollbar that scrolls it.

namespace {

// The external resource object the reference names, anywhere among the
// page instance's objects.
VORExternalResourceObject *FindExternalResource(VORPageInstance &instance, const VORObjectCode &reference) {
  ContainerCursor cursor(instance);
  if (!cursor.Open())
    return nullptr;
  const unsigned walk = cursor.GetIndex();
  for (VORRecursiveObjectContainer *object = instance.First(walk, true, 0); object != nullptr;
       object = instance.Next(walk, true, 0)) {
    auto *resource = dynamic_cast<VORExternalResourceObject *>(object);
    if (resource != nullptr && resource->GetObjectCode().Equals(reference))
      return resource;
  }
  return nullptr;
}

// The resource's bytes, copied while it is locked: the text carries no
// terminator of its own, the copy knows its length.
bool CopyResourceBytes(uint32_t handle, std::string &bytes) {
  VORApp *app = VORApp::Get();
  VORResourceManager *resources = app != nullptr ? app->GetResourceManager() : nullptr;
  if (resources == nullptr || handle == 0 || !resources->LockResource(handle))
    return false;
  uint8_t *memory = nullptr;
  uint32_t size = 0;
  const bool loaded = resources->GetResourceData(handle, memory, size);
  if (loaded)
    bytes.assign(reinterpret_cast<const char *>(memory), size);
  resources->ReleaseResourceLock(handle);
  return loaded;
}

} // namespace

void VORText::LoadExternalTextResource(VORPageInstance &instance) {
  const VORObjectCode &reference = GetTextProperties().externalText;
  if (!IsSet(reference))
    return;
  VORExternalResourceObject *resource = FindExternalResource(instance, reference);
  if (resource == nullptr)
    return;
  // A resource object listed after the text has not yet entered the page:
  // the page is registered as its user here.
  uint32_t handle = resource->GetResourceHandle();
  if (handle == 0)
    handle = resource->RegisterResourceUser(instance.GetPageReference());
  std::string bytes;
  if (!CopyResourceBytes(handle, bytes))
    return;
  LoadExternalText(resource->GetExternalResourceProperties().identifier.GetFileName().CStr(), bytes);
}

// --- The linked scrollbar ------------------------------------------------------

bool VORText::NeedsOwnSurface() {
  if (IsInInteractiveView() && IsSet(GetTextProperties().scrollbar))
    return true;
  return VORHotSpot::NeedsOwnSurface();
}

void VORText::NotifyScrollbar() {
  const VORObjectCode &scrollbar = GetTextProperties().scrollbar;
  VORApp *app = VORApp::Get();
  if (app == nullptr || !IsVisible() || !IsSet(scrollbar))
    return;
  int32_t x = 0;
  int32_t y = 0;
  GetScrollOffset(x, y);
  const int32_t content = GetTextHeight();
  const int32_t visible = GetVisibleHeight();
  VORScrollbarObjectAction report(VORScrollbarObjectAction::kClassKey, 0);
  report.SetActionCode(kBarReport);
  report.SetTarget(scrollbar);
  report.SetOriginObject(GetViewReference());
  report.SetOriginPage(GetPageReference());
  report.kind = VORScrollbarObjectAction::kReport;
  report.second = 0;
  report.position = TextScrolling::PositionFraction(y, content, visible);
  report.size = TextScrolling::SizeFraction(content, visible);
  app->ExecuteAction(report);
}

void VORText::ScrollToFraction(double fraction) {
  const int32_t content = GetTextHeight();
  ApplyScrollOffset(TextScrolling::OffsetForFraction(fraction, content, GetVisibleHeight()));
}

bool VORText::OnScrollbarPosition(VORObjectAction &action) {
  auto *position = dynamic_cast<VORScrollbarObjectAction *>(&action);
  if (position == nullptr)
    return false;
  ScrollToFraction(position->position);
  return true;
}

void VORText::ForwardToScrollbar(int32_t code) {
  const VORObjectCode &scrollbar = GetTextProperties().scrollbar;
  VORApp *app = VORApp::Get();
  if (app == nullptr || !IsSet(scrollbar))
    return;
  auto forward = std::make_unique<VORObjectAction>(VORObjectAction::kClassKey, 0);
  forward->SetActionCode(code);
  forward->SetTarget(scrollbar);
  forward->SetOriginObject(GetViewReference());
  forward->SetOriginPage(GetPageReference());
  app->ScheduleAction(0, forward.release(), nullptr);
}
