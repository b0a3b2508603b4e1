#include "model/VORPageInstance.h"

#include <memory>

#include "model/VORApp.h"
#include "model/VORChapter.h"
#include "model/VORGraphicalObjectContainerManager.h"
#include "model/VORPageMember.h"
#include "model/VORPageView.h"
#include "model/VORPlayerGotoPageAction.h"
#include "model/VORPublication.h"
#include "model/VORResourceManager.h"
#include "model/VORTrigger.h"

VORPageInstance::~VORPageInstance() = default;

void VORPageInstance::SetRect(const VORRect &rect) {
  m_rect = rect;
  if (VORGraphicalObjectContainerManager *layout = GetLayoutManager())
    layout->Resize(rect);
}

VORObjectCode VORPageInstance::GetViewReference() const {
  return m_view ? m_view->GetViewObjectCode() : VORObjectCode::Zero();
}

void VORPageInstance::ForEachMember(const std::function<void(VORPageMember &)> &visit) {
  ContainerCursor cursor(*this);
  if (!cursor.Open())
    return;
  for (VORRecursiveObjectContainer *child = First(cursor.GetIndex(), false, 0); child;
       child = Next(cursor.GetIndex(), false, 0)) {
    if (auto *member = dynamic_cast<VORPageMember *>(child))
      visit(*member);
  }
}

namespace {

VORResourceManager *Resources() {
  VORApp *app = VORApp::Get();
  return app ? app->GetResourceManager() : nullptr;
}

} // namespace

// The page's resources count as in use while it is shown: the resource
// manager evicts others first and loads the pages' pictures ahead.
bool VORPageInstance::AcceptsChild(uint32_t classKey) const {
  return classKey != VORPublication::kClassKey && classKey != VORChapter::kClassKey && classKey != VORPage::kClassKey;
}

void VORPageInstance::Show(VORPageView &view) {
  if (VORResourceManager *resources = Resources())
    resources->AddActivePage(GetPageReference());
  StopFlaggedSound(GetPageProperties().soundFlags);
  m_view = &view;
  ForEachMember([this](VORPageMember &member) { member.EnterPage(*this, true); });
}

// The sound manager (0, 0, 2) stops the channels the page's flags name.
void VORPageInstance::StopFlaggedSound(uint8_t flags) {
  using Flag = VORPage::VORPageProperties::SoundFlag;
  struct ChannelStop {
    Flag flag;
    int32_t code;
  };
  static constexpr ChannelStop kStops[] = {
      {Flag::kStopWave, 1100}, {Flag::kStopMidi, 1101}, {Flag::kStopCDAudio, 1102}};
  VORApp *app = VORApp::Get();
  if (!app || !app->GetSoundManager())
    return;
  for (const ChannelStop &stop : kStops) {
    if (!(flags & stop.flag))
      continue;
    VORObjectAction action(VORObjectAction::kClassKey, 0);
    action.SetActionCode(stop.code);
    action.SetTarget(VORObjectCode(0, 0, 2));
    app->ExecuteAction(action);
  }
}

void VORPageInstance::Hide() {
  if (VORResourceManager *resources = Resources())
    resources->RemoveActivePage(GetPageReference());
  ForEachMember([](VORPageMember &member) { member.LeavePage(true); });
  m_view = nullptr;
}

void VORPageInstance::OnShown() {
  ForEachMember([](VORPageMember &member) { member.OnPageShown(); });
  const VORPage::VORPageProperties &properties = GetPageProperties();
  properties.eventMap.FireEvents(VORAutoStartTrigger(), properties.events);
  VORApp *app = VORApp::Get();
  if (properties.timedPageDelay == VORPage::VORPageProperties::kNoTimedPage || !app)
    return;
  std::unique_ptr<VORPlayerGotoPageAction> action(
      VORPlayerGotoPageAction::Make(kGotoPageCode, properties.timedPage, kTimedPageView));
  action->SetOriginObject(GetViewReference());
  action->SetOriginPage(GetPageReference());
  app->ScheduleAction(static_cast<uint32_t>(properties.timedPageDelay), action.release(), nullptr);
}
