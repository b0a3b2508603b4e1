#include <windows.h>

#include "engine/VORPlayerApp.h"
#include "foundation/StartupTrace.h"
#include "images/CoverWindow.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previous*/, LPSTR commandLine, int /*show*/) {
  StartupTrace::Mark("entry");
  VORPlayerApp::SetCoverMaker(CoverWindow::Make);
  VORPlayerApp *app = new VORPlayerApp(instance);
  StartupTrace::Mark("application object");
  app->Run(commandLine && *commandLine ? commandLine : nullptr, nullptr);
  delete app;
  return 0;
}
