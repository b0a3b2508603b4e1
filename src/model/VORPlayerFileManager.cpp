#include "model/VORPlayerFileManager.h"

#include <windows.h>

#include "vorfile/XQWin32File.h"

namespace {
constexpr int kDriveLetters = 26; // GetLogicalDrives has a bit for A: to Z:
}

XQString VORPlayerFileManager::FindCDROMRoot() {
  const DWORD drives = GetLogicalDrives();
  for (int drive = 0; drive < kDriveLetters; ++drive) {
    if (!(drives & (1u << drive)))
      continue;
    // GetDriveTypeA wants the root directory: without the backslash it
    // answers for the drive's current directory, or not at all.
    const char rootDirectory[] = {static_cast<char>('A' + drive), ':', '\\', '\0'};
    if (GetDriveTypeA(rootDirectory) == DRIVE_CDROM)
      return XQString(rootDirectory, 2);
  }
  return XQString();
}

std::unique_ptr<XQFile> VORPlayerFileManager::CreateDiskFile(const char *path) {
  return std::make_unique<XQWin32File>(path);
}
