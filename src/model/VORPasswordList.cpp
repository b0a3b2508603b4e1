#include "model/VORPasswordList.h"

#include <cctype>

#include "foundation/XQListCursor.h"
#include "vorfile/VORFileException.h"
#include "vorfile/VORRecordFields.h"

namespace {

// Letter case is folded for ASCII only, as the runtime's _stricmp does in
// the "C" locale.
bool EqualsIgnoringCase(const char *left, const char *right) {
  for (;; ++left, ++right) {
    const int a = std::tolower(static_cast<unsigned char>(*left));
    const int b = std::tolower(static_cast<unsigned char>(*right));
    if (a != b)
      return false;
    if (a == 0)
      return true;
  }
}

} // namespace

bool VORPasswordList::Password::Lists(const VORObjectCode &chapter) const {
  VORObjectCode found;
  return chapters.FindIf([&](const VORObjectCode &listed) { return listed.Equals(chapter); }, found);
}

// Appends the references up to the ending (0, 0, 0); false when the record
// ended first (the missing reference counts as the ending one).
bool VORPasswordList::ReadChapters(VORFile &file, Password &entry) {
  for (;;) {
    VORObjectCode chapter;
    try {
      chapter.Read(file);
    } catch (VORFileNonFatalException &) {
      return false;
    }
    if (chapter.IsZero())
      return true;
    entry.chapters.Append(chapter);
  }
}

VORPasswordList::~VORPasswordList() { Clear(); }

void VORPasswordList::Clear() { m_entries.DeleteAll(); }

VORPasswordList::Password &VORPasswordList::Add(const char *password) {
  auto *entry = new Password;
  entry->password.AssignText(password);
  m_entries.Append(entry);
  return *entry;
}

void VORPasswordList::Read(VORFile &file) {
  Clear();
  const uint16_t count = VORRecordFields::ReadOr<uint16_t>(file, 0);
  for (uint16_t i = 0; i < count; ++i) {
    auto *entry = new Password;
    m_entries.Append(entry);
    try {
      entry->password.Read(file);
    } catch (VORFileNonFatalException &) {
      // The record ends inside the password: the entries before it stay, and
      // this one, of which no chapter came, goes.
      m_entries.Remove(entry);
      delete entry;
      return;
    }
    if (!ReadChapters(file, *entry)) {
      // The record has ended: the entries the count still promises would all
      // be empty, and so would this one when it holds nothing.
      if (entry->password.IsEmpty() && entry->chapters.IsEmpty()) {
        m_entries.Remove(entry);
        delete entry;
      }
      return;
    }
  }
}

void VORPasswordList::CopyFrom(const VORPasswordList &other) {
  if (&other == this)
    return;
  Clear();
  XQListCursor cursor(other.m_entries);
  Password *source = nullptr;
  for (bool more = other.m_entries.First(cursor, source); more; more = other.m_entries.Next(cursor, source)) {
    Password &copy = Add(source->password.CStr());
    XQListCursor chapters(source->chapters);
    VORObjectCode chapter;
    for (bool listed = source->chapters.First(chapters, chapter); listed;
         listed = source->chapters.Next(chapters, chapter))
      copy.chapters.Append(chapter);
  }
}

const VORPasswordList::Password *VORPasswordList::FindByPassword(const char *text) const {
  const char *wanted = text ? text : "";
  Password *found = nullptr;
  m_entries.FindIf([wanted](const Password *entry) { return EqualsIgnoringCase(entry->password.CStr(), wanted); },
                   found);
  return found;
}

bool VORPasswordList::CheckAccess(const char *text, const VORObjectCode &chapter) const {
  const Password *entry = FindByPassword(text);
  if (entry && entry->Lists(chapter))
    return true;
  const Password *open = FindByPassword("");
  return open && open->Lists(chapter);
}
