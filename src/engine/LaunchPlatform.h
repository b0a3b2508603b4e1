#pragma once

#include <cstdint>
#include <string>

// What starting documents and the system browser needs from the system: the
// current directory, the shell's "open" and the registry's class entries.
// The program uses the system's own; tests substitute a recorder.
class LaunchPlatform {
public:
  // The show commands the launches use (the system's SW_SHOWNORMAL and SW_SHOW).
  static constexpr int32_t kShowNormal = 1;
  static constexpr int32_t kShow = 5;
  // The shell's answers above this value mean the start worked.
  static constexpr intptr_t kShellSuccessAbove = 32;

  LaunchPlatform() = default;
  LaunchPlatform(const LaunchPlatform &) = delete;
  LaunchPlatform &operator=(const LaunchPlatform &) = delete;
  virtual ~LaunchPlatform();

  virtual void ChangeDirectory(const std::string &folder) = 0;
  // The shell's "open" of the file with the parameters (none when empty),
  // without an owner or a directory; its answer as the shell gives it.
  virtual intptr_t ShellOpen(const std::string &file, const std::string &parameters, int32_t show) = 0;
  // The default value of an existing key under the classes root; empty when
  // the key or its value is missing. A look-up never creates keys.
  virtual std::string ReadClassesRootDefault(const std::string &key) = 0;
};
