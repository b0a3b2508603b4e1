#include "printing/TextFileLocation.h"

namespace TextFileLocation {

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

} // namespace

std::string TemporaryFolder(const Environment &environment) {
  for (const char *name : {"TMP", "TEMP", "TMPDIR"})
    if (const char *value = environment(name); value != nullptr && *value != '\0')
      return value;
  return "c:\\";
}

std::string NameAndExtension(const std::string &path) {
  const size_t cut = path.find_last_of("\\/:");
  return cut == std::string::npos ? path : path.substr(cut + 1);
}

bool IsWholePath(const std::string &path) {
  const bool drive = path.size() >= 2 && path[1] == ':';
  return drive || (!path.empty() && IsSeparator(path[0]));
}

std::string Join(const std::string &folder, const std::string &name) {
  if (folder.empty())
    return name;
  if (IsSeparator(folder.back()))
    return folder + name;
  // The folder's own separator (Windows takes either).
  const bool forward = folder.find('/') != std::string::npos && folder.find('\\') == std::string::npos;
  return folder + (forward ? "/" : "\\") + name;
}

std::string Resolve(const std::string &fileName, bool nameOnly, bool inTemporaryFolder,
                    const std::string &publicationFolder, const Environment &environment) {
  if (inTemporaryFolder)
    return IsWholePath(fileName) ? fileName : Join(TemporaryFolder(environment), fileName);
  const std::string name = nameOnly ? NameAndExtension(fileName) : fileName;
  return IsWholePath(name) ? name : Join(publicationFolder, name);
}

} // namespace TextFileLocation
