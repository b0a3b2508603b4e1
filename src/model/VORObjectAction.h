#pragma once

#include "model/VORFileDataObject.h"

class VORFile;

// The base of every action: whom it goes to, what it asks, and where it was
// raised. Each action class adds its own fields after these and reads them
// after ReadFields.
class VORObjectAction : public VORFileDataObject {
public:
  static constexpr uint16_t kCategory = 3;
  static constexpr uint16_t kCode = 1;
  static constexpr uint32_t kClassKey = VORObjectCode::MakeClassKey(kCategory, kCode);
  // Files of later versions carry the extra word.
  static constexpr uint32_t kExtraWordVersion = 0x4000000;

  VORObjectAction(uint32_t classKey, int32_t id) : VORFileDataObject(classKey, id) {}
  VORObjectAction(const VORObjectAction &) = default;
  ~VORObjectAction() override;

  // Opens the action's own folder (keyed by the class half of its
  // reference), reads the fields and closes the folder.
  void Read(VORFile &file) override;
  // The fields shared by every action; a record that ends before the extra
  // word passes VORFileIncompleteReadException on.
  void ReadFields(VORFile &file);
  virtual bool CheckAction() { return true; }
  // A new action with every field; each action class copies its own.
  virtual VORObjectAction *Clone() const;
  // Takes the view and the page of the page instance that fires the action
  // as its origin.
  virtual bool SetOrigin(const VORObjectCode &viewReference, const VORObjectCode &pageReference);

  const VORObjectCode &GetTarget() const { return m_target; }
  void SetTarget(const VORObjectCode &target) { m_target = target; }
  int32_t GetActionCode() const { return m_actionCode; }
  void SetActionCode(int32_t code) { m_actionCode = code; }
  const VORObjectCode &GetOriginObject() const { return m_originObject; }
  void SetOriginObject(const VORObjectCode &origin) { m_originObject = origin; }
  const VORObjectCode &GetOriginPage() const { return m_originPage; }
  void SetOriginPage(const VORObjectCode &origin) { m_originPage = origin; }
  // Kept and copied; no reader gives it a meaning.
  int32_t GetExtraWord() const { return m_extraWord; }

private:
  VORObjectCode m_target = VORObjectCode::Zero();
  int32_t m_actionCode = 0;
  VORObjectCode m_originObject = VORObjectCode::Zero();
  VORObjectCode m_originPage = VORObjectCode::Zero();
  int32_t m_extraWord = 0;
};
