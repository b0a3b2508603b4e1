#include "model/ActionContext.h"

#include "model/VORActionReceiver.h"
#include "model/VORApp.h"
#include "model/VORObjectAction.h"

ActionContext::ActionContext(VORRunView *view)
    : m_app(VORApp::Get()), m_runView(view), m_resourceManager(m_app ? m_app->GetResourceManager() : nullptr),
      m_soundManager(m_app ? m_app->GetSoundManager() : nullptr) {}

ActionContext ActionContext::FromView(VORRunView *view) { return ActionContext(view); }

ActionContext ActionContext::FromAction(const VORObjectAction &action) {
  VORRunView *view = nullptr;
  VORApp *app = VORApp::Get();
  const VORObjectCode &origin = action.GetOriginObject();
  if (app && !origin.IsZero()) {
    VORActionReceiver *found = app->FindObject(origin, VORObjectCode::Zero(), VORObjectCode::Zero());
    view = found ? found->AsRunView() : nullptr;
  }
  return ActionContext(view);
}
