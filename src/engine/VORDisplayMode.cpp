#include "engine/VORDisplayMode.h"

#include <iterator>

namespace {

constexpr VORDisplayMode::Size kModes[] = {
    {640, 480}, {800, 600}, {1024, 768}, {1152, 864}, {1280, 1024}, {1600, 1200},
};

VORDisplayMode::ChangeFunction g_change = ::ChangeDisplaySettingsA;
// A change made and not yet restored: what a crash must undo.
volatile bool g_changed = false;

} // namespace

VORDisplayMode::Size VORDisplayMode::ForIndex(int32_t index) {
  constexpr int32_t kLast = static_cast<int32_t>(std::size(kModes)) - 1;
  if (index < 0)
    index = 0;
  if (index > kLast)
    index = kLast;
  return kModes[index];
}

void VORDisplayMode::Set(int32_t index) {
  if (index == kRestore) {
    g_changed = false;
    g_change(nullptr, 0);
    return;
  }
  const Size size = ForIndex(index);
  DEVMODEA mode = {};
  mode.dmSize = sizeof mode;
  mode.dmPelsWidth = static_cast<DWORD>(size.width);
  mode.dmPelsHeight = static_cast<DWORD>(size.height);
  mode.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT;
  if (g_change(&mode, CDS_TEST) == DISP_CHANGE_SUCCESSFUL && g_change(&mode, 0) == DISP_CHANGE_SUCCESSFUL)
    g_changed = true;
}

void VORDisplayMode::RestoreAfterFault() {
  if (!g_changed)
    return;
  g_changed = false;
  g_change(nullptr, 0);
}

VORDisplayMode::ChangeFunction VORDisplayMode::SetChangeFunction(ChangeFunction change) {
  ChangeFunction previous = g_change;
  g_change = change ? change : ::ChangeDisplaySettingsA;
  return previous;
}
