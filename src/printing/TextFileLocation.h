#pragma once

#include <functional>
#include <string>

// Where a print request's text file is looked for. The path is made whole
// here instead of changing the process's current folder, which every later
// relative path would then follow.
namespace TextFileLocation {

// The value of an environment variable, or null when it is not set.
using Environment = std::function<const char *(const char *name)>;

// The temporary folder: TMP, then TEMP, then TMPDIR, then "c:\".
std::string TemporaryFolder(const Environment &environment);
// The name and extension of a path.
std::string NameAndExtension(const std::string &path);
// A path with a drive, or from a root, stands alone.
bool IsWholePath(const std::string &path);
std::string Join(const std::string &folder, const std::string &name);

// inTemporaryFolder: the name is looked for in the temporary folder;
// otherwise in the publication's folder, reduced to its name and extension
// first when nameOnly is set.
std::string Resolve(const std::string &fileName, bool nameOnly, bool inTemporaryFolder,
                    const std::string &publicationFolder, const Environment &environment);

} // namespace TextFileLocation
