#pragma once

#include <cstdint>

#include "model/VORFileDataObject.h"

class VORFile;

// What sets an event off: a mouse event, a key, a dropped object, a
// synchronisation notice of another object, or the page or object being
// shown. An object that sees an input builds a trigger of that kind and asks
// its event map which of its stored triggers match it.
class VORTrigger : public VORFileDataObject {
public:
  static constexpr uint16_t kCategory = 3;

  VORTrigger(uint32_t classKey, int32_t id) : VORFileDataObject(classKey, id) {}
  VORTrigger(const VORTrigger &) = default;
  ~VORTrigger() override;

  // Opens the trigger's own folder (its key and id) and reads its fields.
  void Read(VORFile &file) override;
  virtual bool Matches(const VORTrigger &other) const = 0;
  virtual VORTrigger *Clone() const = 0;

protected:
  virtual void ReadFields(VORFile & /*file*/) {}
};

// A mouse event: its kind in the low byte, button and modifier bits above.
class VORMouseTrigger : public VORTrigger {
public:
  static constexpr uint16_t kCode = 14;
  static constexpr uint32_t kClassKey = VORObjectCode::MakeClassKey(kCategory, kCode);

  explicit VORMouseTrigger(uint16_t mouseCode = 0) : VORTrigger(kClassKey, 0), m_mouseCode(mouseCode) {}
  VORMouseTrigger(uint32_t classKey, int32_t id);

  bool Matches(const VORTrigger &other) const override;
  VORTrigger *Clone() const override { return new VORMouseTrigger(*this); }
  uint16_t GetMouseCode() const { return m_mouseCode; }

protected:
  void ReadFields(VORFile &file) override;

private:
  uint16_t m_mouseCode;
};

// A key. Letters match without regard to case; other codes exactly.
class VORKeyboardTrigger : public VORTrigger {
public:
  static constexpr uint16_t kCode = 15;
  static constexpr uint32_t kClassKey = VORObjectCode::MakeClassKey(kCategory, kCode);

  explicit VORKeyboardTrigger(uint16_t keyCode = 0) : VORTrigger(kClassKey, 0), m_keyCode(keyCode) {}
  VORKeyboardTrigger(uint32_t classKey, int32_t id);

  bool Matches(const VORTrigger &other) const override;
  VORTrigger *Clone() const override { return new VORKeyboardTrigger(*this); }
  uint16_t GetKeyCode() const { return m_keyCode; }

  // 'a' to 'z' as 'A' to 'Z'; every other 16-bit code as it is (the
  // runtime's toupper is defined for bytes only).
  static uint16_t FoldKey(uint16_t keyCode);

protected:
  void ReadFields(VORFile &file) override;

private:
  uint16_t m_keyCode;
};

// An object dropped on the one that fires it.
class VORDropTrigger : public VORTrigger {
public:
  static constexpr uint16_t kCode = 16;
  static constexpr uint32_t kClassKey = VORObjectCode::MakeClassKey(kCategory, kCode);

  explicit VORDropTrigger(const VORObjectCode &dropped = VORObjectCode::None())
      : VORTrigger(kClassKey, 0), m_dropped(dropped) {}
  VORDropTrigger(uint32_t classKey, int32_t id);

  bool Matches(const VORTrigger &other) const override;
  VORTrigger *Clone() const override { return new VORDropTrigger(*this); }
  const VORObjectCode &GetDropped() const { return m_dropped; }

protected:
  void ReadFields(VORFile &file) override;

private:
  VORObjectCode m_dropped;
};

// Another object's media started (700) or ended (701).
class VORSynchronizationTrigger : public VORTrigger {
public:
  static constexpr uint16_t kCode = 17;
  static constexpr uint32_t kClassKey = VORObjectCode::MakeClassKey(kCategory, kCode);

  VORSynchronizationTrigger(int32_t syncCode, const VORObjectCode &sender)
      : VORTrigger(kClassKey, 0), m_syncCode(syncCode), m_sender(sender) {}
  VORSynchronizationTrigger(uint32_t classKey, int32_t id);

  bool Matches(const VORTrigger &other) const override;
  VORTrigger *Clone() const override { return new VORSynchronizationTrigger(*this); }
  int32_t GetSyncCode() const { return m_syncCode; }
  const VORObjectCode &GetSender() const { return m_sender; }

protected:
  void ReadFields(VORFile &file) override;

private:
  int32_t m_syncCode;
  VORObjectCode m_sender;
};

// The page or the object has been shown.
class VORAutoStartTrigger : public VORTrigger {
public:
  static constexpr uint16_t kCode = 22;
  static constexpr uint32_t kClassKey = VORObjectCode::MakeClassKey(kCategory, kCode);

  VORAutoStartTrigger() : VORTrigger(kClassKey, 0) {}
  VORAutoStartTrigger(uint32_t classKey, int32_t id);

  bool Matches(const VORTrigger &other) const override;
  VORTrigger *Clone() const override { return new VORAutoStartTrigger(*this); }
};
