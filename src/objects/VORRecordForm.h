#pragma once

#include <cstdint>

#include "model/VORClassRegistry.h"
#include "model/VORCodedObject.h"
#include "objects/VORObject.h"

// The page objects whose player form draws through the platform register
// their class-table rows once, in the platform-free source of their record,
// with PageObjectForms::Make<Record>. The row makes the player form where the
// program links it (its Win32 source installs it with a static
// PlayerFormRegistration), else the record form below: a page object that
// reads, copies and fires events like the player form but shows nothing.
// Platform-free programs (the host tests, the fuzz targets) so read every
// page object of a publication, and each key has one row in every program.
template <class Record>
class VORRecordForm : public VORObject {
public:
  VORRecordForm(uint32_t classKey, int32_t id) : VORObject(classKey, id) {}
  VORRecordForm(const VORRecordForm &other) : VORObject(other), m_record(other.m_record) {}
  VORRecordForm &operator=(const VORRecordForm &) = delete;
  ~VORRecordForm() override = default;

  VORObjectProperties *GetProperties() override { return &m_record; }
  VORPageMember *Clone() const override { return new VORRecordForm(*this); }

  Record &GetFormProperties() { return m_record; }

private:
  Record m_record;
};

namespace PageObjectForms {

// The player form installed for the key (category in the low half), or null.
VORClassRegistry::Factory FindPlayerForm(uint32_t classKey);
void SetPlayerForm(uint32_t classKey, VORClassRegistry::Factory factory);

// The class registry's factory of a page object whose record is Record.
template <class Record>
VORCodedObject *Make(uint32_t classKey, int32_t id) {
  if (const VORClassRegistry::Factory playerForm = FindPlayerForm(classKey))
    return playerForm(classKey, id);
  return static_cast<VORCodedObject *>(new VORRecordForm<Record>(classKey, id));
}

} // namespace PageObjectForms

// One static object per player form, in the Win32 source of its class.
class PlayerFormRegistration {
public:
  PlayerFormRegistration(uint16_t category, uint16_t code, VORClassRegistry::Factory factory);
};
