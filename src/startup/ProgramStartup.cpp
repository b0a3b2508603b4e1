#include "startup/ProgramStartup.h"

#include "engine/VORPlayerApp.h"
#include "foundation/StartupTrace.h"
#include "images/CoverWindow.h"
#include "images/ImageLoader.h"
#include "media/Win32SoundSystem.h"
#include "printing/ProgramPrinter.h"
#include "printing/VORPrinter.h"
#include "transitions/VORPlayerFXManager.h"
#include "vorfile/XQImageFile.h"

namespace {

constexpr ImageFileFormat kImportFilterFormats[] = {ImageFileFormat::kPcx, ImageFileFormat::kTga, ImageFileFormat::kJpg,
                                                    ImageFileFormat::kCgm, ImageFileFormat::kPng};

void InstallProcessParts(const ProgramParts &parts, ProgramStartup::ImportFilterInstaller importFilters) {
  VORPlayerApp::SetCoverMaker(parts.cover ? CoverWindow::Make : nullptr);
  // Picture files open as packed DIBs: BMP and Photo CD are the loader's
  // own, the import filters add their formats to it.
  XQImageFile::SetLoaderFactory(parts.pictureFiles ? ImageLoader::Make : nullptr);
  if (parts.pictureFiles && parts.importFilters && importFilters)
    importFilters();
}

void InstallApplicationParts(const ProgramParts &parts, HINSTANCE instance, VORPlayerApp &app) {
  if (parts.sound)
    app.SetSoundManagerMaker([instance, &app] { return Win32SoundSystem::MakeSoundManager(instance, app.GetClock()); });
  if (parts.effects)
    app.SetFXManager(VORPlayerFXManager::MakeParts());
  if (parts.printer)
    app.SetPrinter(MakeProgramPrinter(instance, app));
}

bool HasImportFilters() {
  for (const ImageFileFormat format : kImportFilterFormats)
    if (!ImageLoader::HasFormatReader(format))
      return false;
  return true;
}

} // namespace

namespace ProgramStartup {

std::unique_ptr<VORPlayerApp> MakeApplication(const ProgramParts &parts, HINSTANCE instance,
                                              ImportFilterInstaller importFilters) {
  InstallProcessParts(parts, importFilters);
  auto app = std::make_unique<VORPlayerApp>(instance);
  InstallApplicationParts(parts, instance, *app);
  TraceInstalledParts(*app);
  return app;
}

ProgramParts InstalledParts(VORPlayerApp &app) {
  ProgramParts parts;
  parts.cover = VORPlayerApp::HasCoverMaker();
  parts.pictureFiles = XQImageFile::GetLoaderFactory() != nullptr;
  parts.importFilters = parts.pictureFiles && HasImportFilters();
  parts.sound = app.HasSoundManagerMaker();
  parts.effects = app.GetFXManager() != nullptr && app.GetTransitionMaker() != nullptr;
  parts.printer = app.GetPrinter() != nullptr;
  return parts;
}

void TraceInstalledParts(VORPlayerApp &app) {
  if (StartupTrace::IsOn())
    StartupTrace::Mark(("parts: " + InstalledParts(app).Describe()).c_str());
}

} // namespace ProgramStartup
