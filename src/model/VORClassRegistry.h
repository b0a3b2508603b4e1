#pragma once

#include <cstdint>

#include "foundation/XQList.h"

class VORCodedObject;

// Turns the class half of a reference into a new object of the right player
// class. Filled before the program's entry runs, by one static
// ClassRegistration per class (in that class's source file), read-only
// afterwards. The caller owns every object made.
class VORClassRegistry {
public:
  // Builds the object with (class key, id) and answers its coded-object
  // part; classes with a fixed key ignore the arguments.
  using Factory = VORCodedObject *(*)(uint32_t classKey, int32_t id);

  struct Entry {
    uint16_t category;
    uint16_t code;
    Factory factory;
    bool operator==(const Entry &other) const {
      return category == other.category && code == other.code && factory == other.factory;
    }
  };

  static VORClassRegistry &Instance();

  VORClassRegistry(const VORClassRegistry &) = delete;
  VORClassRegistry &operator=(const VORClassRegistry &) = delete;
  virtual ~VORClassRegistry();

  // A second registration of the same category and code replaces the factory.
  void Register(uint16_t category, uint16_t code, Factory factory);
  // A new object of the class the key names; null for an unknown key.
  virtual VORCodedObject *Create(uint32_t classKey, int32_t id) const;

  uint32_t GetCount() const { return m_entries.GetCount(); }

private:
  VORClassRegistry() = default;
  bool Find(uint16_t category, uint16_t code, Entry &found) const;

  XQList<Entry, 1> m_entries;
};

// One static object per class: registers the class's factory among the
// program's static initialisers, before the entry point runs.
class ClassRegistration {
public:
  ClassRegistration(uint16_t category, uint16_t code, VORClassRegistry::Factory factory);
};
