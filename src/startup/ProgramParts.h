#pragma once

#include <string>

// The parts a program installs in its application object and in the
// process: the one place where the three programs differ in what they
// play. Each program's entry takes its row; the start-up installs what the
// row names (ProgramStartup).
struct ProgramParts {
  // The cover window over the publication's cover picture while the start-up
  // runs. The screen saver has none: its preview paints the cover itself.
  bool cover = false;
  // Picture files beside the publication: BMP, and Photo CD where the
  // outside Photo CD library is present.
  bool pictureFiles = false;
  // The import filters' formats (JPEG, PCX, TGA, PNG, CGM): only the program
  // that links the filters has them.
  bool importFilters = false;
  // The sound manager with its wave, MIDI and CD players.
  bool sound = false;
  // The transition effects of pages, objects and slideshows.
  bool effects = false;
  // The printer of print actions, with the print and progress dialogs.
  bool printer = false;

  // The parts as words, in the order above: "cover picture-files
  // import-filters sound effects printer" for a program that has them all.
  std::string Describe() const;
};

namespace Programs {

// vorplayer.exe: everything.
constexpr ProgramParts kFullPlayer = {true, true, true, true, true, true};
// vorcompact.exe: the full player without the import filters.
constexpr ProgramParts kCompactPlayer = {true, true, false, true, true, true};
// VORPLAY.scr: the compact player's parts, without the cover window.
constexpr ProgramParts kScreenSaver = {false, true, false, true, true, true};

} // namespace Programs
