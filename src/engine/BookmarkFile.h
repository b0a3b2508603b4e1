#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/VORObjectCode.h"

// The bookmark file: a 32-bit count and that many 8-byte page references,
// little-endian. Its bytes are those a text-mode stream of the system
// writes: every 0x0A of the data is stored as 0x0D 0x0A. It is read and
// written as bytes here, with that folding done by hand, so that 0x1A is
// data and not the end of the file.
namespace BookmarkFile {

constexpr const char *kExtension = ".bmk";
constexpr size_t kRecordBytes = 8;

std::vector<uint8_t> Encode(const std::vector<VORObjectCode> &pages);
// The complete records the bytes hold, at most as many as the count says.
std::vector<VORObjectCode> Decode(const std::vector<uint8_t> &bytes);

// 0x0A -> 0x0D 0x0A, and back (0x0D 0x0A -> 0x0A; a lone 0x0D stays).
std::vector<uint8_t> ToTextMode(const std::vector<uint8_t> &data);
std::vector<uint8_t> FromTextMode(const std::vector<uint8_t> &bytes);

// folder + "\" + the base name (without folder and extension) of the
// publication file, or of the program when the publication names none,
// + ".bmk". The folder is TEMP, else TMPDIR, else "c:\".
std::string NameFor(const char *temp, const char *tmpDir, const std::string &publicationFile,
                    const std::string &programPath);
// The base name of a path: no drive, folder or extension.
std::string BaseName(const std::string &path);

// The whole file; false when it does not open.
bool ReadAll(const std::string &path, std::vector<uint8_t> &bytes);
// False when it cannot be written.
bool WriteAll(const std::string &path, const std::vector<uint8_t> &bytes);

} // namespace BookmarkFile
