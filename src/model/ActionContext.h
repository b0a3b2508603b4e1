#pragma once

class VORApp;
class VORObjectAction;
class VORResourceManager;
class VORRunView;
class VORSoundManager;

// What a receiver is handed with an action: the application, the run view
// the action came from (may be none) and the two managers.
class ActionContext {
public:
  // The run view is the one the action's origin names; none when the origin
  // is (0, 0, 0) or names something that is not a run view.
  static ActionContext FromAction(const VORObjectAction &action);
  static ActionContext FromView(VORRunView *view);

  VORApp *GetApp() const { return m_app; }
  VORRunView *GetRunView() const { return m_runView; }
  VORResourceManager *GetResourceManager() const { return m_resourceManager; }
  VORSoundManager *GetSoundManager() const { return m_soundManager; }

private:
  explicit ActionContext(VORRunView *view);

  VORApp *m_app;
  VORRunView *m_runView;
  VORResourceManager *m_resourceManager;
  VORSoundManager *m_soundManager;
};
