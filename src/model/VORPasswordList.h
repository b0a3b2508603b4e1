#pragma once

#include <cstdint>

#include "foundation/XQList.h"
#include "model/VORObjectCode.h"
#include "vorfile/VORString.h"

class VORFile;

// Which passwords open which chapters. An entry with the empty password
// lists the chapters open to everyone. Part of the publication properties.
class VORPasswordList {
public:
  struct Password {
    VORString password;
    XQList<VORObjectCode, 1> chapters;
    bool Lists(const VORObjectCode &chapter) const;
  };

  VORPasswordList() = default;
  VORPasswordList(const VORPasswordList &) = delete;
  VORPasswordList &operator=(const VORPasswordList &) = delete;
  ~VORPasswordList();

  // A 16-bit count, then for each entry its password and its chapter
  // references ended by (0, 0, 0). A list cut short reads as far as the
  // record goes: a reference missing at the end counts as (0, 0, 0) and ends
  // the list there; a password cut inside ends it before that entry.
  void Read(VORFile &file);
  void CopyFrom(const VORPasswordList &other);
  void Clear();

  // The first entry whose password equals the text without regard to letter
  // case; the empty-password entry only for an empty text.
  const Password *FindByPassword(const char *text) const;
  // The entry found for the text lists the chapter, or the empty-password
  // entry does.
  bool CheckAccess(const char *text, const VORObjectCode &chapter) const;

  uint32_t GetCount() const { return m_entries.GetCount(); }
  // Builds the list in code (tests, the writer's mirror).
  Password &Add(const char *password);

private:
  static bool ReadChapters(VORFile &file, Password &entry);

  XQList<Password *, 1> m_entries;
};
