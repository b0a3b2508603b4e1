#pragma once

#include <windows.h>

#include "foundation/XQList.h"
#include "foundation/XQString.h"

// The fonts a publication brings in its folder: added to the system for
// the run (every "*.fon", "*.fnt", "*.ttf" and "*.fot" file there, in that
// order of patterns) and removed again at its end. A font the system
// refuses is skipped.
//
// Fonts added this way outlive a process that ends without removing them,
// so each one is also noted in fixed memory that a fault cannot have left
// half-built: RemoveAfterFault, called on the way out of a crashed process,
// removes them from there without allocating or walking the heap.
class FontInstaller {
public:
  static constexpr const char *kPatterns[] = {"*.fon", "*.fnt", "*.ttf", "*.fot"};

  FontInstaller() = default;
  // Removes what is still installed.
  ~FontInstaller();
  FontInstaller(const FontInstaller &) = delete;
  FontInstaller &operator=(const FontInstaller &) = delete;

  // folder ends in a separator (or is empty for the current folder).
  void InstallFrom(const XQString &folder);
  // Removes every installed font, first installed first.
  void RemoveAll();
  // Full paths, in the order they were installed.
  const XQList<XQString, 1> &GetInstalled() const { return m_fonts; }

  // Removes every font still installed by any installer, reading only the
  // fixed notes. Fonts whose path did not fit a note, or that came after
  // the notes were full, stay: this is a best effort.
  static void RemoveAfterFault();

  // The system's removal, replaceable for tests (which watch what is
  // removed); null restores the system's.
  using RemoveFunction = BOOL(WINAPI *)(LPCSTR path);
  static RemoveFunction SetRemoveFunction(RemoveFunction remove);

private:
  XQList<XQString, 1> m_fonts;
};
