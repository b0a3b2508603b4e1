#include "engine/PublicationPath.h"

#include <cstring>

namespace {

constexpr size_t kMinimumProgramPathLength = 5; // room for "x.vor"
constexpr size_t kReplacedExtensionLength = 3;
constexpr const char *kPublicationExtension = "vor";
constexpr size_t kDriveLength = 2; // "C:"

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

} // namespace

XQString PublicationPath::NameFromCommandLine(const char *commandLine) {
  if (!commandLine)
    return XQString();
  const size_t length = std::strlen(commandLine);
  if (length >= 2 && commandLine[0] == '"' && commandLine[length - 1] == '"')
    return XQString(commandLine + 1, static_cast<uint32_t>(length - 2));
  return XQString(commandLine);
}

XQString PublicationPath::NameForProgram(const char *programPath) {
  const size_t length = programPath ? std::strlen(programPath) : 0;
  if (length < kMinimumProgramPathLength)
    return XQString();
  XQString name(programPath, static_cast<uint32_t>(length - kReplacedExtensionLength));
  name.AppendText(kPublicationExtension);
  return name;
}

XQString PublicationPath::FolderOf(const char *path) {
  if (!path)
    return XQString();
  const size_t length = std::strlen(path);
  size_t end = length >= kDriveLength && path[0] != '\0' && path[1] == ':' ? kDriveLength : 0;
  for (size_t i = end; i < length; ++i)
    if (IsSeparator(path[i]))
      end = i + 1;
  return XQString(path, static_cast<uint32_t>(end));
}
