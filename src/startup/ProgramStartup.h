#pragma once

#include <windows.h>

#include <memory>

#include "startup/ProgramParts.h"

class VORPlayerApp;

// The one start-up road of the three programs: each entry hands its row of
// parts to MakeApplication and runs the application object it answers. A
// part the row names is installed here and nowhere else.
namespace ProgramStartup {

// Installs the import filters' readers in the picture-file loader. The
// start-up folder does not link the filters: the program that does hands
// this over with its row.
using ImportFilterInstaller = void (*)();

// Installs the process-wide parts of the row (the cover maker, the
// picture-file loader and, with the installer, the import filters), then
// makes the application object with its own (sound, effects, printer). A row
// that names the import filters without an installer gets none: the parts
// the start-up trace reports then show it.
std::unique_ptr<VORPlayerApp> MakeApplication(const ProgramParts &parts, HINSTANCE instance,
                                              ImportFilterInstaller importFilters = nullptr);

// What the process and the application object have, read from them rather
// than from any row.
ProgramParts InstalledParts(VORPlayerApp &app);

// Marks the installed parts in the start-up trace ("parts: cover ..."),
// when the trace is on.
void TraceInstalledParts(VORPlayerApp &app);

} // namespace ProgramStartup
