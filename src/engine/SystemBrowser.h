#pragma once

#include <string>

class LaunchPlatform;

// The browser the system opens web pages with: the program of the ".htm"
// class's open command.
namespace SystemBrowser {

// At most this many bytes of a registry value are taken.
constexpr size_t kMaxValueBytes = 1024;

// The program named at the start of an open command, without its switches
// and arguments: the quoted text when the command starts with a quote,
// otherwise the text up to the blank after the first ".exe" (or up to the
// first blank when it names no ".exe"); cut at a '%' and with trailing
// blanks removed. Empty when no program is named.
std::string ProgramOfOpenCommand(const std::string &command);
// The registered browser's program; empty when there is none.
std::string FindProgram(LaunchPlatform &platform);
// Opens the address with the registered browser; false when there is none.
bool Open(LaunchPlatform &platform, const std::string &address);
// The address up to its first blank (an address carries no blanks; what
// follows one is not part of it).
std::string AddressUpToBlank(const std::string &text);

} // namespace SystemBrowser
