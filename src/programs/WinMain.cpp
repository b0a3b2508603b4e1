#include <windows.h>

#include "engine/VORPlayerApp.h"
#include "foundation/StartupTrace.h"
#include "startup/ProgramStartup.h"
#ifdef VOR_WITH_PICTURE_FILTERS
#include "PictureFilters.h"
#endif

namespace {

// The two players share this entry; the full player is the one that links
// the import filters.
#ifdef VOR_WITH_PICTURE_FILTERS
constexpr const ProgramParts &kParts = Programs::kFullPlayer;
constexpr ProgramStartup::ImportFilterInstaller kImportFilters = InstallPictureFilters;
#else
constexpr const ProgramParts &kParts = Programs::kCompactPlayer;
constexpr ProgramStartup::ImportFilterInstaller kImportFilters = nullptr;
#endif

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previous*/, LPSTR commandLine, int /*show*/) {
  StartupTrace::Mark("entry");
  std::unique_ptr<VORPlayerApp> app = ProgramStartup::MakeApplication(kParts, instance, kImportFilters);
  StartupTrace::Mark("application object");
  app->Run(commandLine && *commandLine ? commandLine : nullptr, nullptr);
  return 0;
}
