#pragma once

#include <cstdint>
#include <string>

// What the desktop asks of a screen saver, read from the program's
// arguments: "/s" run, "/p <window>" preview in that window, "/c" settings.
// The forms seen in practice are all read: either slash or dash, any letter
// case, the window number after a space or a colon ("/p 1234", "/p:1234");
// no argument at all asks for the settings.
struct SaverCommandLine {
  enum class Request { kSettings, kPreview, kRun, kNothing };

  Request request = Request::kSettings;
  // The preview's parent, or the settings' owner when one was given; 0 when
  // none.
  uint64_t window = 0;
  // The mode letter: the first argument's second character, upper-cased;
  // 0 when the argument is shorter.
  char mode = 0;

  // arguments: the command line after the program's name.
  static SaverCommandLine Parse(const char *arguments);
  // The whole command line without the program's name (quoted or not).
  static const char *AfterProgramName(const char *commandLine);
  // The first whitespace-separated argument, quotes taken off.
  static std::string FirstArgument(const char *arguments);
  static char ModeLetter(const std::string &argument);
};
