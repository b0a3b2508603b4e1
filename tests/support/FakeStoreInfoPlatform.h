#pragma once

#include <map>
#include <string>
#include <vector>

#include "engine/VORStoreInfoPlatform.h"

// The system as storing information sees it, in memory: an environment,
// a current directory, files found by the current directory and their
// name, and a save dialog that answers as the test sets it. Every call is
// written to the log.
class FakeStoreInfoPlatform : public VORStoreInfoPlatform {
public:
  bool GetEnvironment(const char *name, XQString &value) override;
  bool ChangeDirectory(const XQString &folder) override;
  bool ReadTextFile(const XQString &name, XQString &text) override;
  bool WriteTextFile(const XQString &name, const XQString &text, bool replace) override;
  bool AskSaveFileName(const XQString &initialName, XQString &chosen) override;

  // The file's contents as the current directory and the name find it.
  static std::string Key(const std::string &directory, const std::string &name) { return directory + "|" + name; }

  std::map<std::string, std::string> environment;
  std::string currentDirectory = "start";
  std::map<std::string, std::string> files;
  // The save dialog: the path chosen, or none (cancelled).
  bool dialogChooses = true;
  std::string dialogChoice;
  std::string dialogInitialName;
  std::vector<std::string> log;
};
