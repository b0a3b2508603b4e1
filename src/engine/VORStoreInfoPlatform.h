#pragma once

#include "foundation/XQString.h"

// What storing information needs of the system: the environment, the
// current directory, text files through the runtime's text mode (line ends
// as the system writes them) and the save dialog. The program uses the
// system's; tests give their own.
class VORStoreInfoPlatform {
public:
  VORStoreInfoPlatform() = default;
  VORStoreInfoPlatform(const VORStoreInfoPlatform &) = delete;
  VORStoreInfoPlatform &operator=(const VORStoreInfoPlatform &) = delete;
  virtual ~VORStoreInfoPlatform() = default;

  // The variable's value; false when the environment has no such variable.
  virtual bool GetEnvironment(const char *name, XQString &value) = 0;
  // Makes the folder (drive and directory) the current directory.
  virtual bool ChangeDirectory(const XQString &folder) = 0;
  // The whole file read in text mode; false when it does not open.
  virtual bool ReadTextFile(const XQString &name, XQString &text) = 0;
  // Writes the text in text mode over the file (replace) or after what it
  // holds; false when it does not open.
  virtual bool WriteTextFile(const XQString &name, const XQString &text, bool replace) = 0;
  // The path the user chooses to save to, starting from the name given;
  // false when the user cancels.
  virtual bool AskSaveFileName(const XQString &initialName, XQString &chosen) = 0;
};
