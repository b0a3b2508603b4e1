#include "model/VORApp.h"

VORApp *VORApp::s_app = nullptr;

VORApp::VORApp() { s_app = this; }

VORApp::~VORApp() {
  if (s_app == this)
    s_app = nullptr;
}

uint32_t VORApp::ClockSeed() { return s_app != nullptr ? s_app->GetMilliseconds() : 0; }
