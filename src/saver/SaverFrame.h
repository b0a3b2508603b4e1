#pragma once

#include <windows.h>

class VORPlayerApp;

// The screen saver's own part around the player: the saver window's
// procedure (ScreenSaverProc) and the settings dialog's, declared with the
// screen-saver library. What they keep is process-wide; these calls let
// tests run the frame in their own process.
namespace SaverFrame {

// Posted to the saver window once it exists: the player starts.
constexpr UINT kStartMessage = WM_USER + 1;

// The application object while one exists (a run or a preview), else null.
VORPlayerApp *GetApplication();
// The mode letter ('S' run, 'P' preview) the frame takes instead of the
// program's command line; 0 goes back to the command line.
void SetMode(char mode);
// The publication the run and the preview open instead of the one beside
// the program; null goes back to that one.
void SetPublication(const char *path);
// How many runs have started since the process began (a refused password
// starts one more).
int GetRunCount();

} // namespace SaverFrame
