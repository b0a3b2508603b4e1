#include <windows.h>

#include "saver/ScreenSaverLibrary.h"

// The screen saver's entry is the screen-saver library's: it reads what the
// desktop asks and makes the saver window, whose messages go to the frame.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previous*/, LPSTR commandLine, int /*show*/) {
  return ScreenSaverLibrary::Run(instance, commandLine);
}
