// Stands in for a browser or a document's program in the launch tests: it
// appends the command line it was started with, one line per start, to the
// file the environment variable VOR_LAUNCH_LOG names, and ends.
#include <windows.h>

#include <cstdio>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  char logPath[MAX_PATH] = {};
  const DWORD length = GetEnvironmentVariableA("VOR_LAUNCH_LOG", logPath, sizeof logPath);
  if (length == 0 || length >= sizeof logPath)
    return 1;
  FILE *log = std::fopen(logPath, "ab");
  if (!log)
    return 1;
  std::fprintf(log, "%s\n", GetCommandLineA());
  std::fclose(log);
  return 0;
}
