#include "engine/Win32LaunchPlatform.h"

#include <windows.h>

#include "engine/SystemBrowser.h"
#include "foundation/SystemLibrary.h"

namespace {

// The shell and the registry's library are loaded at their first use, not
// with the program.
SystemLibrary &Shell() {
  static SystemLibrary shell32("shell32.dll");
  return shell32;
}

SystemLibrary &Registry() {
  static SystemLibrary advapi32("advapi32.dll");
  return advapi32;
}

using ShellExecuteEntry = HINSTANCE(WINAPI *)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);
using RegOpenKeyExEntry = LONG(WINAPI *)(HKEY, LPCSTR, DWORD, REGSAM, PHKEY);
using RegQueryValueExEntry = LONG(WINAPI *)(HKEY, LPCSTR, LPDWORD, LPDWORD, LPBYTE, LPDWORD);
using RegCloseKeyEntry = LONG(WINAPI *)(HKEY);

} // namespace

void Win32LaunchPlatform::ChangeDirectory(const std::string &folder) {
  if (!folder.empty())
    SetCurrentDirectoryA(folder.c_str());
}

intptr_t Win32LaunchPlatform::ShellOpen(const std::string &file, const std::string &parameters, int32_t show) {
  auto shellExecute = Shell().Find<ShellExecuteEntry>("ShellExecuteA");
  if (!shellExecute)
    return 0;
  HINSTANCE result =
      shellExecute(nullptr, "open", file.c_str(), parameters.empty() ? nullptr : parameters.c_str(), nullptr, show);
  return reinterpret_cast<intptr_t>(result);
}

std::string Win32LaunchPlatform::ReadClassesRootDefault(const std::string &key) {
  auto openKey = Registry().Find<RegOpenKeyExEntry>("RegOpenKeyExA");
  auto queryValue = Registry().Find<RegQueryValueExEntry>("RegQueryValueExA");
  auto closeKey = Registry().Find<RegCloseKeyEntry>("RegCloseKey");
  if (!openKey || !queryValue || !closeKey)
    return std::string();
  HKEY opened = nullptr;
  if (openKey(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS)
    return std::string();
  char value[SystemBrowser::kMaxValueBytes] = {};
  DWORD type = 0;
  DWORD size = sizeof value - 1;
  const LONG status = queryValue(opened, nullptr, nullptr, &type, reinterpret_cast<BYTE *>(value), &size);
  closeKey(opened);
  if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ))
    return std::string();
  value[size < sizeof value ? size : sizeof value - 1] = '\0';
  return std::string(value);
}
