#include "browser/BrowserAddress.h"

#include <cctype>

#include "foundation/XQString.h"
#include "model/VORExternalResourceIdentifier.h"
#include "model/VORFileManager.h"

namespace BrowserAddress {

namespace {

bool StartsWithNoCase(const std::string &text, const char *prefix) {
  for (size_t i = 0; prefix[i] != '\0'; ++i)
    if (i >= text.size() || std::tolower(static_cast<unsigned char>(text[i])) != prefix[i])
      return false;
  return true;
}

} // namespace

bool IsWebAddress(const std::string &address) {
  return StartsWithNoCase(address, "http:") || StartsWithNoCase(address, "ftp:");
}

bool Resolve(const std::string &address, int32_t mode, const VORFileManager *files, std::string &resolved) {
  if (mode == kAsIs || IsWebAddress(address)) {
    resolved = address;
    return true;
  }
  if (!files)
    return false;
  const bool hasDrive = address.size() >= 2 && address[1] == ':';
  const std::string withoutDrive = hasDrive ? address.substr(2) : address;
  const size_t folderEnd = withoutDrive.find_last_of("\\/");
  const std::string nameAndExtension =
      folderEnd == std::string::npos ? withoutDrive : withoutDrive.substr(folderEnd + 1);
  int32_t kind = VORExternalResourceIdentifier::kPublicationFolder;
  std::string name = nameAndExtension;
  if (mode == kOnDisc) {
    kind = VORExternalResourceIdentifier::kCDROMRoot;
    name = withoutDrive;
  }
  XQString path;
  if (!files->ResolvePath(VORExternalResourceIdentifier(kind, name.c_str()), path))
    return false;
  resolved.assign(path.CStr(), path.GetLength());
  return true;
}

} // namespace BrowserAddress
