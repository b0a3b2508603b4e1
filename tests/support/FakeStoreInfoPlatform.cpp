#include "support/FakeStoreInfoPlatform.h"

bool FakeStoreInfoPlatform::GetEnvironment(const char *name, XQString &value) {
  auto found = environment.find(name);
  if (found == environment.end())
    return false;
  value = XQString(found->second.c_str());
  return true;
}

bool FakeStoreInfoPlatform::ChangeDirectory(const XQString &folder) {
  currentDirectory = folder.CStr();
  log.push_back("cd " + currentDirectory);
  return true;
}

bool FakeStoreInfoPlatform::ReadTextFile(const XQString &name, XQString &text) {
  log.push_back(std::string("read ") + name.CStr());
  auto found = files.find(Key(currentDirectory, name.CStr()));
  if (found == files.end())
    return false;
  text = XQString(found->second.c_str());
  return true;
}

bool FakeStoreInfoPlatform::WriteTextFile(const XQString &name, const XQString &text, bool replace) {
  log.push_back(std::string(replace ? "write " : "append ") + name.CStr());
  std::string &contents = files[Key(currentDirectory, name.CStr())];
  if (replace)
    contents.clear();
  contents += text.CStr();
  return true;
}

bool FakeStoreInfoPlatform::AskSaveFileName(const XQString &initialName, XQString &chosen) {
  dialogInitialName = initialName.CStr();
  log.push_back("ask " + dialogInitialName);
  if (!dialogChooses)
    return false;
  chosen = XQString(dialogChoice.c_str());
  return true;
}
