#include "engine/VORLaunchManager.h"

#include <utility>

#include "engine/LaunchPlatform.h"
#include "engine/SystemBrowser.h"
#include "foundation/XQString.h"
#include "model/VORApp.h"
#include "model/VORExternalResourceIdentifier.h"
#include "model/VORFileManager.h"
#include "model/VORLaunchAction.h"

namespace {

constexpr int32_t kQuit = 103;
constexpr VORObjectCode kPlayer = VORObjectCode(0, 0, 1);

std::string Text(const VORString &text) { return std::string(text.CStr(), text.GetLength()); }

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// The file manager's path for a name of that location kind; empty when it
// cannot resolve it (no CD-ROM, no application).
std::string Resolve(int32_t locationKind, const std::string &name) {
  VORApp *app = VORApp::Get();
  VORFileManager *files = app ? app->GetFileManager() : nullptr;
  if (!files)
    return std::string();
  XQString path;
  if (!files->ResolvePath(VORExternalResourceIdentifier(locationKind, name.c_str()), path))
    return std::string();
  return std::string(path.CStr(), path.GetLength());
}

} // namespace

VORLaunchManager::VORLaunchManager(std::unique_ptr<LaunchPlatform> platform, std::string publicationFile)
    : VORActionReceiver(VORObjectCode::MakeClassKey(kReference.category, kReference.code), kReference.id),
      m_platform(std::move(platform)), m_publicationFile(std::move(publicationFile)) {}

VORLaunchManager::~VORLaunchManager() = default;

bool VORLaunchManager::ReceiveAction(VORObjectAction &action, ActionContext & /*context*/) {
  auto *launch = dynamic_cast<VORLaunchAction *>(&action);
  if (!launch)
    return false;
  switch (launch->GetActionCode()) {
  case kLaunch:
    Launch(*launch);
    return true;
  case kOpenURL:
    OpenURL(Text(launch->fileName));
    return true;
  default:
    return false;
  }
}

void VORLaunchManager::Launch(const VORLaunchAction &action) {
  m_platform->ChangeDirectory(FolderOf(m_publicationFile));
  m_path = ResolvePath(action);
  if (m_path.empty())
    return;
  const intptr_t result = m_platform->ShellOpen(m_path, Text(action.parameters), LaunchPlatform::kShowNormal);
  m_path.clear();
  if (result <= LaunchPlatform::kShellSuccessAbove || !action.exitAfter)
    return;
  // The quit goes through the player, which asks for the exit password.
  if (VORApp *app = VORApp::Get()) {
    VORObjectAction quit(VORObjectAction::kClassKey, 0);
    quit.SetActionCode(kQuit);
    quit.SetTarget(kPlayer);
    app->ExecuteAction(quit);
  }
}

void VORLaunchManager::OpenURL(const std::string &address) {
  SystemBrowser::Open(*m_platform, SystemBrowser::AddressUpToBlank(address));
}

std::string VORLaunchManager::ResolvePath(const VORLaunchAction &action) {
  const std::string name = Text(action.fileName);
  if (name.empty())
    return std::string();
  if (action.location.EqualsText(kCDROMLocation))
    return ResolveCDROMPath(action);
  if (action.location.EqualsText(kPublicationLocation))
    return ResolvePublicationPath(action);
  // An empty directory means the root of the current (the publication's) drive.
  const std::string directory = Text(action.directory);
  return JoinPath(directory.empty() ? "\\" : directory, name);
}

std::string VORLaunchManager::ResolveCDROMPath(const VORLaunchAction &action) {
  std::string directory = Text(action.directory);
  // The disc's drive letter is the machine's, not the author's.
  if (directory.size() >= 2 && directory[1] == ':')
    directory.erase(0, 2);
  return Resolve(VORExternalResourceIdentifier::kCDROMRoot,
                 JoinPath(directory.empty() ? "\\" : directory, Text(action.fileName)));
}

std::string VORLaunchManager::ResolvePublicationPath(const VORLaunchAction &action) {
  const std::string directory = Text(action.directory);
  const std::string name = Text(action.fileName);
  return Resolve(VORExternalResourceIdentifier::kPublicationFolder,
                 directory.empty() ? name : JoinPath(directory, name));
}

std::string VORLaunchManager::JoinPath(const std::string &directory, const std::string &name) {
  if (directory.empty() || IsSeparator(directory.back()) || (directory.size() == 2 && directory[1] == ':'))
    return directory + name;
  return directory + "\\" + name;
}

std::string VORLaunchManager::FolderOf(const std::string &path) {
  const size_t last = path.find_last_of("\\/:");
  return last == std::string::npos ? std::string() : path.substr(0, last + 1);
}
