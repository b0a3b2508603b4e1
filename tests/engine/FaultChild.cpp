// A player that crashes: vor_fault_child <publication> <record file>.
// It starts the publication as the player does (the exception handlers,
// the fonts from its folder, its display mode), then faults. The display
// changes and font removals it makes are written to the record file as
// they happen, straight to the file, so that they survive the crash:
//   display <width>       a mode change
//   display restore       the registry's mode given back
//   fault                 just before the fault
//   font <result> <path>  a font removed, with RemoveFontResourceA's answer
#include <windows.h>

#include <cstdio>
#include <string>

#include "engine/FontInstaller.h"
#include "engine/VORDisplayMode.h"
#include "engine/VORExceptionHandlers.h"
#include "support/TestPlayerApp.h"

namespace {

HANDLE g_record = INVALID_HANDLE_VALUE;

void Record(const std::string &line) {
  const std::string text = line + "\n";
  DWORD written = 0;
  WriteFile(g_record, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

LONG WINAPI RecordDisplayChange(DEVMODEA *mode, DWORD flags) {
  if (flags != CDS_TEST)
    Record(mode ? "display " + std::to_string(mode->dmPelsWidth) : "display restore");
  return DISP_CHANGE_SUCCESSFUL;
}

BOOL WINAPI RecordFontRemoval(LPCSTR path) {
  const BOOL removed = RemoveFontResourceA(path);
  Record("font " + std::to_string(removed) + " " + path);
  return removed;
}

int *volatile g_nowhere = nullptr;

} // namespace

int main(int argc, char **argv) {
  if (argc != 3)
    return 2;
  g_record =
      CreateFileA(argv[2], GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (g_record == INVALID_HANDLE_VALUE)
    return 3;
  VORDisplayMode::SetChangeFunction(RecordDisplayChange);
  FontInstaller::SetRemoveFunction(RecordFontRemoval);
  VORInstallExceptionHandlers();
  auto *app = new TestPlayerApp();
  if (!app->StartUp(argv[1], nullptr))
    return 4;
  Record("fault");
  *g_nowhere = 1;
  return 0;
}
