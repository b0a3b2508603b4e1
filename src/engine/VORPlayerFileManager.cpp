#include "engine/VORPlayerFileManager.h"

#include <windows.h>

#include "model/VORExternalResourceIdentifier.h"
#include "vorfile/XQImageFile.h"
#include "vorfile/XQWin32File.h"

namespace {

constexpr int kDriveBits = 32;

} // namespace

VORPlayerFileManager::VORPlayerFileManager() { SetCDROMRoot(FindCDROMRoot()); }

VORPlayerFileManager::~VORPlayerFileManager() = default;

XQString VORPlayerFileManager::FindCDROMRoot() {
  const DWORD drives = GetLogicalDrives();
  for (int bit = 0; bit < kDriveBits; ++bit) {
    if (!(drives & (1u << bit)))
      continue;
    const char name[] = {static_cast<char>('A' + bit), ':', '\\', '\0'};
    if (GetDriveTypeA(name) == DRIVE_CDROM)
      return XQString(name, 2);
  }
  return XQString();
}

std::unique_ptr<XQFile> VORPlayerFileManager::OpenFile(const VORExternalResourceIdentifier &identifier) {
  XQString path;
  if (!ResolvePath(identifier, path))
    return nullptr;
  if (identifier.GetStorage() == VORExternalResourceIdentifier::kStoragePicture)
    return std::make_unique<XQImageFile>(path.CStr());
  return std::make_unique<XQWin32File>(path.CStr());
}
