#pragma once

#include "engine/LaunchPlatform.h"

// The system's current directory, the shell's "open" and the registry.
class Win32LaunchPlatform : public LaunchPlatform {
public:
  void ChangeDirectory(const std::string &folder) override;
  intptr_t ShellOpen(const std::string &file, const std::string &parameters, int32_t show) override;
  // Opens the key for reading only: a look-up leaves the registry as it was.
  std::string ReadClassesRootDefault(const std::string &key) override;
};
