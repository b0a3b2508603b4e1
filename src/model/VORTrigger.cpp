#include "model/VORTrigger.h"

#include "model/VORClassRegistry.h"
#include "vorfile/SectionGuard.h"
#include "vorfile/VORRecordFields.h"

namespace {

constexpr uint16_t kLowerA = 'a';
constexpr uint16_t kLowerZ = 'z';
constexpr uint16_t kCaseDistance = 'a' - 'A';

// The triggers' keys are fixed: a factory keeps the id and sets the key.
template <class Trigger>
VORCodedObject *CreateTrigger(uint32_t /*classKey*/, int32_t id) {
  return new Trigger(Trigger::kClassKey, id);
}

template <class Trigger>
const Trigger *As(const VORTrigger &trigger) {
  return dynamic_cast<const Trigger *>(&trigger);
}

const ClassRegistration kAutoStart(VORTrigger::kCategory, VORAutoStartTrigger::kCode,
                                   CreateTrigger<VORAutoStartTrigger>);
const ClassRegistration kDrop(VORTrigger::kCategory, VORDropTrigger::kCode, CreateTrigger<VORDropTrigger>);
const ClassRegistration kKeyboard(VORTrigger::kCategory, VORKeyboardTrigger::kCode, CreateTrigger<VORKeyboardTrigger>);
const ClassRegistration kMouse(VORTrigger::kCategory, VORMouseTrigger::kCode, CreateTrigger<VORMouseTrigger>);
const ClassRegistration kSynchronization(VORTrigger::kCategory, VORSynchronizationTrigger::kCode,
                                         CreateTrigger<VORSynchronizationTrigger>);

} // namespace

VORTrigger::~VORTrigger() = default;

void VORTrigger::Read(VORFile &file) {
  SectionGuard section(file);
  section.Open(GetObjectCode().ToKey(), VORObjectCode::kSize, false, false, true);
  ReadFields(file);
}

VORMouseTrigger::VORMouseTrigger(uint32_t /*classKey*/, int32_t id) : VORTrigger(kClassKey, id), m_mouseCode(0) {}

bool VORMouseTrigger::Matches(const VORTrigger &other) const {
  const VORMouseTrigger *mouse = As<VORMouseTrigger>(other);
  return mouse && mouse->m_mouseCode == m_mouseCode;
}

void VORMouseTrigger::ReadFields(VORFile &file) {
  m_mouseCode = static_cast<uint16_t>(VORRecordFields::ReadInt16(file));
}

VORKeyboardTrigger::VORKeyboardTrigger(uint32_t /*classKey*/, int32_t id) : VORTrigger(kClassKey, id), m_keyCode(0) {}

uint16_t VORKeyboardTrigger::FoldKey(uint16_t keyCode) {
  return keyCode >= kLowerA && keyCode <= kLowerZ ? static_cast<uint16_t>(keyCode - kCaseDistance) : keyCode;
}

bool VORKeyboardTrigger::Matches(const VORTrigger &other) const {
  const VORKeyboardTrigger *keyboard = As<VORKeyboardTrigger>(other);
  return keyboard && FoldKey(keyboard->m_keyCode) == FoldKey(m_keyCode);
}

void VORKeyboardTrigger::ReadFields(VORFile &file) {
  m_keyCode = static_cast<uint16_t>(VORRecordFields::ReadInt16(file));
}

VORDropTrigger::VORDropTrigger(uint32_t /*classKey*/, int32_t id) : VORTrigger(kClassKey, id) {}

bool VORDropTrigger::Matches(const VORTrigger &other) const {
  const VORDropTrigger *drop = As<VORDropTrigger>(other);
  return drop && drop->m_dropped.Equals(m_dropped);
}

void VORDropTrigger::ReadFields(VORFile &file) { m_dropped.Read(file); }

VORSynchronizationTrigger::VORSynchronizationTrigger(uint32_t /*classKey*/, int32_t id)
    : VORTrigger(kClassKey, id), m_syncCode(0) {}

bool VORSynchronizationTrigger::Matches(const VORTrigger &other) const {
  const VORSynchronizationTrigger *sync = As<VORSynchronizationTrigger>(other);
  return sync && sync->m_sender.Equals(m_sender) && sync->m_syncCode == m_syncCode;
}

void VORSynchronizationTrigger::ReadFields(VORFile &file) {
  m_syncCode = VORRecordFields::ReadInt32(file);
  m_sender.Read(file);
}

VORAutoStartTrigger::VORAutoStartTrigger(uint32_t /*classKey*/, int32_t id) : VORTrigger(kClassKey, id) {}

bool VORAutoStartTrigger::Matches(const VORTrigger &other) const { return As<VORAutoStartTrigger>(other) != nullptr; }
