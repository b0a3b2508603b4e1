#include "model/VORPageInstance.h"

#include <memory>

#include "display/VORRunView.h"
#include "model/VORApp.h"
#include "model/VORPageMember.h"
#include "model/VORPlayerGotoPageAction.h"

VORPageInstance::~VORPageInstance() = default;

VORObjectCode VORPageInstance::GetViewReference() const {
  return m_view ? m_view->GetObjectCode() : VORObjectCode::Zero();
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

void VORPageInstance::Show(VORRunView &view) {
  // The page becomes one of the resource manager's active pages, and its
  // sound flags stop what they name, once those managers exist.
  m_view = &view;
  ForEachMember([this](VORPageMember &member) { member.EnterPage(*this, true); });
}

void VORPageInstance::Hide() {
  ForEachMember([](VORPageMember &member) { member.LeavePage(true); });
  m_view = nullptr;
}

void VORPageInstance::OnShown() {
  ForEachMember([](VORPageMember &member) { member.OnPageShown(); });
  // The page's auto-start triggers fire here once the events are read.
  const VORPage::VORPageProperties &properties = GetPageProperties();
  VORApp *app = VORApp::Get();
  if (properties.timedPageDelay == VORPage::VORPageProperties::kNoTimedPage || !app)
    return;
  std::unique_ptr<VORPlayerGotoPageAction> action(
      VORPlayerGotoPageAction::Make(kGotoPageCode, properties.timedPage, kTimedPageView));
  action->SetOriginObject(GetViewReference());
  action->SetOriginPage(GetPageReference());
  app->ScheduleAction(static_cast<uint32_t>(properties.timedPageDelay), action.release(), nullptr);
}
