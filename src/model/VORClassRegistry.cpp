#include "model/VORClassRegistry.h"

#include "foundation/XQListCursor.h"

VORClassRegistry &VORClassRegistry::Instance() {
  // Built on the first registration, whichever source file's initialiser
  // runs first; emptied at program exit.
  static VORClassRegistry registry;
  return registry;
}

VORClassRegistry::~VORClassRegistry() { m_entries.RemoveAll(); }

bool VORClassRegistry::Find(uint16_t category, uint16_t code, Entry &found) const {
  XQListCursor cursor(m_entries);
  Entry entry{};
  for (bool more = m_entries.First(cursor, entry); more; more = m_entries.Next(cursor, entry)) {
    if (entry.category == category && entry.code == code) {
      found = entry;
      return true;
    }
  }
  return false;
}

void VORClassRegistry::Register(uint16_t category, uint16_t code, Factory factory) {
  Entry existing{};
  if (Find(category, code, existing))
    m_entries.Remove(existing);
  m_entries.Append(Entry{category, code, factory});
}

VORCodedObject *VORClassRegistry::Create(uint32_t classKey, int32_t id) const {
  Entry entry{};
  if (!Find(static_cast<uint16_t>(classKey & 0xFFFF), static_cast<uint16_t>(classKey >> 16), entry) || !entry.factory)
    return nullptr;
  return entry.factory(classKey, id);
}

ClassRegistration::ClassRegistration(uint16_t category, uint16_t code, VORClassRegistry::Factory factory) {
  VORClassRegistry::Instance().Register(category, code, factory);
}
