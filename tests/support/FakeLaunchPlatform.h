#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "engine/LaunchPlatform.h"

// Records what a launch asks of the system and answers from a registry in
// memory; the shell answers shellResult.
class FakeLaunchPlatform : public LaunchPlatform {
public:
  struct Open {
    std::string file;
    std::string parameters;
    int32_t show;
  };

  void ChangeDirectory(const std::string &folder) override { directories.push_back(folder); }
  intptr_t ShellOpen(const std::string &file, const std::string &parameters, int32_t show) override {
    opens.push_back({file, parameters, show});
    return shellResult;
  }
  std::string ReadClassesRootDefault(const std::string &key) override {
    lookups.push_back(key);
    const auto found = registry.find(key);
    return found == registry.end() ? std::string() : found->second;
  }

  // A ".htm" class whose open command is the one given.
  void RegisterBrowser(const std::string &command) {
    registry[".htm"] = "htmlfile";
    registry["htmlfile\\shell\\open\\command"] = command;
  }

  std::map<std::string, std::string> registry;
  intptr_t shellResult = 42;
  std::vector<std::string> directories;
  std::vector<Open> opens;
  std::vector<std::string> lookups;
};
