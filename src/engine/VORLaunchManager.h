#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "model/VORActionReceiver.h"
#include "vorfile/VORString.h"

class LaunchPlatform;
class VORFileManager;
class VORLaunchAction;

// Starts documents and programs through the shell (1000) and hands
// addresses to the system's browser (1001). Owned by the publication.
class VORLaunchManager : public VORActionReceiver {
public:
  static constexpr VORObjectCode kReference = VORObjectCode(0, 0, 13);
  enum ActionCode : int32_t {
    kLaunch = 1000,
    kOpenURL = 1001,
  };
  // The location keywords of a launch action, compared exactly.
  static constexpr const char *kCDROMLocation = "CDROM";
  static constexpr const char *kPublicationLocation = "PUBDIR";

  // publicationFile: the publication's path, whose folder becomes the
  // current directory before a launch; the manager keeps the platform.
  VORLaunchManager(std::unique_ptr<LaunchPlatform> platform, std::string publicationFile);
  ~VORLaunchManager() override;

  bool ReceiveAction(VORObjectAction &action, ActionContext &context) override;
  void Launch(const VORLaunchAction &action);
  // The address up to its first blank goes to the registered browser.
  virtual void OpenURL(const std::string &address);

  // The path a launch starts; empty when there is none.
  virtual std::string ResolvePath(const VORLaunchAction &action);
  std::string ResolveCDROMPath(const VORLaunchAction &action);
  std::string ResolvePublicationPath(const VORLaunchAction &action);

  // Directory and name with one separator between them: a directory that
  // ends in a separator (or is a bare drive, "D:") takes the name as it is.
  static std::string JoinPath(const std::string &directory, const std::string &name);
  // Drive and directory of a path, ending in its last separator (empty
  // for a bare name).
  static std::string FolderOf(const std::string &path);

  LaunchPlatform &GetPlatform() { return *m_platform; }
  const std::string &GetLastPath() const { return m_path; }

private:
  std::unique_ptr<LaunchPlatform> m_platform;
  std::string m_publicationFile;
  std::string m_path;
};
