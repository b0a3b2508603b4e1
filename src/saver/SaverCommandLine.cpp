#include "saver/SaverCommandLine.h"

#include <cctype>
#include <limits>

namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

char Upper(char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); }

// The decimal window number after the mode letter: a colon or spaces may
// come first (and the closing quote of a quoted letter). False when there are no digits or the number does not fit.
bool ReadWindowNumber(const char *text, uint64_t &number) {
  while (*text == ':' || *text == '"' || IsSpace(*text))
    ++text;
  if (!std::isdigit(static_cast<unsigned char>(*text)))
    return false;
  constexpr uint64_t kLargest = std::numeric_limits<uint64_t>::max();
  uint64_t read = 0;
  for (; std::isdigit(static_cast<unsigned char>(*text)); ++text) {
    const uint64_t digit = static_cast<uint64_t>(*text - '0');
    if (read > (kLargest - digit) / 10)
      return false;
    read = read * 10 + digit;
  }
  number = read;
  return true;
}

} // namespace

const char *SaverCommandLine::AfterProgramName(const char *commandLine) {
  if (!commandLine)
    return "";
  while (IsSpace(*commandLine))
    ++commandLine;
  bool quoted = false;
  for (; *commandLine; ++commandLine) {
    if (*commandLine == '"')
      quoted = !quoted;
    else if (IsSpace(*commandLine) && !quoted)
      break;
  }
  while (IsSpace(*commandLine))
    ++commandLine;
  return commandLine;
}

std::string SaverCommandLine::FirstArgument(const char *arguments) {
  std::string argument;
  if (!arguments)
    return argument;
  while (IsSpace(*arguments))
    ++arguments;
  bool quoted = false;
  for (; *arguments; ++arguments) {
    if (*arguments == '"')
      quoted = !quoted;
    else if (IsSpace(*arguments) && !quoted)
      break;
    else
      argument.push_back(*arguments);
  }
  return argument;
}

char SaverCommandLine::ModeLetter(const std::string &argument) {
  constexpr size_t kModePosition = 1;
  return argument.size() > kModePosition ? Upper(argument[kModePosition]) : '\0';
}

SaverCommandLine SaverCommandLine::Parse(const char *arguments) {
  SaverCommandLine parsed;
  const std::string first = FirstArgument(arguments);
  parsed.mode = ModeLetter(first);
  if (first.empty())
    return parsed;
  const bool switchForm = first[0] == '/' || first[0] == '-';
  if (!switchForm || parsed.mode == '\0')
    return parsed;
  // The number may be part of the first argument or the next one.
  while (IsSpace(*arguments))
    ++arguments;
  const char *afterLetter = arguments + 2;
  if (*arguments == '"')
    ++afterLetter;
  switch (parsed.mode) {
  case 'S':
    parsed.request = Request::kRun;
    break;
  case 'P':
    // A preview without a window to draw in has nowhere to go.
    parsed.request =
        ReadWindowNumber(afterLetter, parsed.window) && parsed.window != 0 ? Request::kPreview : Request::kNothing;
    break;
  case 'A':
    // Changing a password: this saver keeps none.
    parsed.request = Request::kNothing;
    break;
  default:
    ReadWindowNumber(afterLetter, parsed.window);
    break;
  }
  return parsed;
}
