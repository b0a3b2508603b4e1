#pragma once

#include <cstdint>
#include <string>

class VORFileManager;

// Where a browser action sends the browser: web addresses as they are,
// other addresses (under a resolve mode) as files of the disc or of the
// publication's folder.
namespace BrowserAddress {

enum ResolveMode : int32_t {
  kAsIs = 0,
  kOnDisc = 1,
  kInPublicationFolder = 2,
};

// Starts with "http:" or "ftp:", in any letter case.
bool IsWebAddress(const std::string &address);
// The address to navigate to; false when a file name cannot be resolved.
// Mode 1 keeps the folder and drops the drive (the disc's root is the
// machine's); mode 2 keeps only the name and extension.
bool Resolve(const std::string &address, int32_t mode, const VORFileManager *files, std::string &resolved);

} // namespace BrowserAddress
