#include <windows.h>

#include "engine/VORPlayerApp.h"
#include "foundation/StartupTrace.h"
#include "images/CoverWindow.h"
#include "media/Win32SoundSystem.h"
#include "transitions/VORPlayerFXManager.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previous*/, LPSTR commandLine, int /*show*/) {
  StartupTrace::Mark("entry");
  VORPlayerApp::SetCoverMaker(CoverWindow::Make);
  VORPlayerApp *app = new VORPlayerApp(instance);
  app->SetSoundManagerMaker([instance, app] { return Win32SoundSystem::MakeSoundManager(instance, app->GetClock()); });
  app->SetFXManager(VORPlayerFXManager::MakeParts());
  StartupTrace::Mark("application object");
  app->Run(commandLine && *commandLine ? commandLine : nullptr, nullptr);
  delete app;
  return 0;
}
