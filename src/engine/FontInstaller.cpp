#include "engine/FontInstaller.h"

#include <io.h>

#include <cstring>

namespace {

FontInstaller::RemoveFunction g_remove = ::RemoveFontResourceA;

// The notes for the way out of a crashed process: static, fixed in size,
// filled and cleared in place.
constexpr size_t kNoteCount = 64;
struct FontNote {
  volatile bool used;
  char path[MAX_PATH];
};
FontNote g_notes[kNoteCount];

void NoteInstalled(const XQString &path) {
  if (path.GetLength() >= MAX_PATH)
    return;
  for (FontNote &note : g_notes) {
    if (!note.used) {
      std::memcpy(note.path, path.CStr(), path.GetLength() + 1);
      note.used = true;
      return;
    }
  }
}

void NoteRemoved(const XQString &path) {
  for (FontNote &note : g_notes) {
    if (note.used && std::strcmp(note.path, path.CStr()) == 0) {
      note.used = false;
      return;
    }
  }
}

} // namespace

FontInstaller::~FontInstaller() { RemoveAll(); }

void FontInstaller::InstallFrom(const XQString &folder) {
  for (const char *pattern : kPatterns) {
    XQString search(folder);
    search.AppendText(pattern);
    _finddata_t found = {};
    const intptr_t handle = _findfirst(search.CStr(), &found);
    if (handle == -1)
      continue;
    do {
      XQString path(folder);
      path.AppendText(found.name);
      if (::AddFontResourceA(path.CStr()) != 0) {
        m_fonts.Append(path);
        NoteInstalled(path);
      }
    } while (_findnext(handle, &found) == 0);
    _findclose(handle);
  }
}

void FontInstaller::RemoveAll() {
  XQString font;
  while (m_fonts.FindIf([](const XQString &) { return true; }, font)) {
    m_fonts.Remove(font);
    NoteRemoved(font);
    g_remove(font.CStr());
  }
}

void FontInstaller::RemoveAfterFault() {
  for (FontNote &note : g_notes) {
    if (note.used) {
      note.used = false;
      g_remove(note.path);
    }
  }
}

FontInstaller::RemoveFunction FontInstaller::SetRemoveFunction(RemoveFunction remove) {
  RemoveFunction previous = g_remove;
  g_remove = remove ? remove : ::RemoveFontResourceA;
  return previous;
}
