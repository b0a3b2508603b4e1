#include "engine/Win32LaunchPlatform.h"

#include <windows.h>

#include <shellapi.h>

#include "engine/SystemBrowser.h"

void Win32LaunchPlatform::ChangeDirectory(const std::string &folder) {
  if (!folder.empty())
    SetCurrentDirectoryA(folder.c_str());
}

intptr_t Win32LaunchPlatform::ShellOpen(const std::string &file, const std::string &parameters, int32_t show) {
  HINSTANCE result =
      ShellExecuteA(nullptr, "open", file.c_str(), parameters.empty() ? nullptr : parameters.c_str(), nullptr, show);
  return reinterpret_cast<intptr_t>(result);
}

std::string Win32LaunchPlatform::ReadClassesRootDefault(const std::string &key) {
  HKEY opened = nullptr;
  if (RegOpenKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS)
    return std::string();
  char value[SystemBrowser::kMaxValueBytes] = {};
  DWORD type = 0;
  DWORD size = sizeof value - 1;
  const LONG status = RegQueryValueExA(opened, nullptr, nullptr, &type, reinterpret_cast<BYTE *>(value), &size);
  RegCloseKey(opened);
  if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ))
    return std::string();
  value[size < sizeof value ? size : sizeof value - 1] = '\0';
  return std::string(value);
}
