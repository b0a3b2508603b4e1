#include <windows.h>

#include "engine/VORPlayerApp.h"
#include "foundation/StartupTrace.h"
#include "images/CoverWindow.h"
#include "images/ImageLoader.h"
#include "media/Win32SoundSystem.h"
#include "printing/ProgramPrinter.h"
#include "printing/VORPrinter.h"
#ifdef VOR_WITH_PICTURE_FILTERS
#include "PictureFilters.h"
#endif
#include "transitions/VORPlayerFXManager.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previous*/, LPSTR commandLine, int /*show*/) {
  StartupTrace::Mark("entry");
  VORPlayerApp::SetCoverMaker(CoverWindow::Make);
  // Picture files open as packed DIBs; the full player's import filters add
  // their formats to the loader, the compact player knows BMP only.
  XQImageFile::SetLoaderFactory(ImageLoader::Make);
#ifdef VOR_WITH_PICTURE_FILTERS
  InstallPictureFilters();
#endif
  VORPlayerApp *app = new VORPlayerApp(instance);
  app->SetSoundManagerMaker([instance, app] { return Win32SoundSystem::MakeSoundManager(instance, app->GetClock()); });
  app->SetFXManager(VORPlayerFXManager::MakeParts());
  app->SetPrinter(MakeProgramPrinter(instance, *app));
  StartupTrace::Mark("application object");
  app->Run(commandLine && *commandLine ? commandLine : nullptr, nullptr);
  delete app;
  return 0;
}
