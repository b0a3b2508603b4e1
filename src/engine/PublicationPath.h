#pragma once

#include "foundation/XQString.h"

// The names the start-up works out for the publication file: from the
// command line, or beside the program; and the folder a path lies in.
// Plain text work, the same on every platform.
class PublicationPath {
public:
  // The publication a command line names. Windows passes a double-clicked
  // file as one quoted path: one enclosing pair of quotes is removed;
  // anything else is taken whole (no arguments are split off).
  static XQString NameFromCommandLine(const char *commandLine);
  // The program's path with its last three characters replaced by "vor";
  // empty for a path of four characters or fewer.
  static XQString NameForProgram(const char *programPath);
  // Drive and directory of a path, as the runtime's _splitpath gives them:
  // a drive is a letter and a colon at the start, the directory runs to the
  // last backslash or slash (kept). Empty when the path has neither.
  static XQString FolderOf(const char *path);
};
