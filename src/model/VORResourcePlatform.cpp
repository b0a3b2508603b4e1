#include "model/VORResourcePlatform.h"

#include "model/VORApp.h"

uint32_t VORAppTickClock::Now() {
  VORApp *app = VORApp::Get();
  return app ? app->GetTickTime() : 0;
}
