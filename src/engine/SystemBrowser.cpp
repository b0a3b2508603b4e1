#include "engine/SystemBrowser.h"

#include <cctype>

#include "engine/LaunchPlatform.h"

LaunchPlatform::~LaunchPlatform() = default;

namespace SystemBrowser {

namespace {

constexpr char kQuote = '"';
constexpr char kBlank = ' ';
constexpr const char *kExtension = ".exe";
constexpr size_t kExtensionLength = 4;

std::string TrimTrailingBlanks(std::string text) {
  while (!text.empty() && (text.back() == kBlank || text.back() == '\t'))
    text.pop_back();
  return text;
}

bool IsBlankOrEnd(const std::string &text, size_t at) {
  return at >= text.size() || text[at] == kBlank || text[at] == '\t';
}

// Where the first ".exe" that ends a word of the command ends; npos when
// there is none.
size_t EndOfExecutable(const std::string &command) {
  for (size_t at = 0; at + kExtensionLength <= command.size(); ++at) {
    bool matches = true;
    for (size_t i = 0; i < kExtensionLength && matches; ++i)
      matches = std::tolower(static_cast<unsigned char>(command[at + i])) == kExtension[i];
    if (matches && IsBlankOrEnd(command, at + kExtensionLength))
      return at + kExtensionLength;
  }
  return std::string::npos;
}

std::string ProgramToken(const std::string &command) {
  size_t start = 0;
  while (start < command.size() && (command[start] == kBlank || command[start] == '\t'))
    ++start;
  const std::string text = command.substr(start);
  if (!text.empty() && text[0] == kQuote) {
    // A lone quote, or one never closed, still names what follows it.
    const size_t close = text.find(kQuote, 1);
    return text.substr(1, close == std::string::npos ? std::string::npos : close - 1);
  }
  const size_t exeEnd = EndOfExecutable(text);
  if (exeEnd != std::string::npos)
    return text.substr(0, exeEnd);
  return text.substr(0, text.find_first_of(" \t"));
}

} // namespace

std::string ProgramOfOpenCommand(const std::string &command) {
  std::string program = ProgramToken(command);
  const size_t percent = program.find('%');
  if (percent != std::string::npos)
    program.resize(percent);
  return TrimTrailingBlanks(program);
}

std::string FindProgram(LaunchPlatform &platform) {
  const std::string fileClass = platform.ReadClassesRootDefault(".htm");
  if (fileClass.empty())
    return std::string();
  const std::string command = platform.ReadClassesRootDefault(fileClass + "\\shell\\open\\command");
  return ProgramOfOpenCommand(command);
}

bool Open(LaunchPlatform &platform, const std::string &address) {
  const std::string program = FindProgram(platform);
  if (program.empty())
    return false;
  platform.ShellOpen(program, address, LaunchPlatform::kShow);
  return true;
}

std::string AddressUpToBlank(const std::string &text) {
  size_t start = 0;
  while (start < text.size() && text[start] == kBlank)
    ++start;
  const size_t end = text.find(kBlank, start);
  return text.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

} // namespace SystemBrowser
