#include <windows.h>

#include "engine/VORPlayerApp.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previous*/, LPSTR commandLine, int /*show*/) {
  VORPlayerApp *app = new VORPlayerApp(instance);
  app->Run(commandLine && *commandLine ? commandLine : nullptr, nullptr);
  delete app;
  return 0;
}
