#pragma once

#include <cstdint>

#include "expression/VORVariableStore.h"
#include "foundation/XQList.h"

class VORClock;
class VORVariable;

// The publication's variables, owned, in the order they were first named.
// Names are unique without regard to letter case and keep the spelling of
// their first use. The player refreshes the built-in time variables once a
// second.
class VORVariableList : public VORVariableStore {
public:
  static constexpr const char *kPublicationTime = "PUBLICATION_TIME";
  static constexpr const char *kHour = "SYSTEM_TIME_HOUR";
  static constexpr const char *kHour12 = "SYSTEM_TIME_12HOUR";
  static constexpr const char *kAmPm = "SYSTEM_TIME_AMPM";

  VORVariableList() = default;
  VORVariableList(const VORVariableList &) = delete;
  VORVariableList &operator=(const VORVariableList &) = delete;
  // Deletes every variable without announcing.
  ~VORVariableList() override;

  VORVariable *Find(const XQString &name) const;
  VORVariable *FindOrCreate(const XQString &name);
  // Empties every variable (each set announced) and deletes it. Variables
  // that receivers of the announcements create meanwhile stay.
  void ClearAll();
  // Sets the variable only when the text differs from its value exactly; the
  // hour also sets the 12-hour variables.
  void SetIfChanged(const XQString &name, const XQString &text);
  // PUBLICATION_TIME: whole seconds since startTime; SYSTEM_TIME_DAY,
  // _MONTH, _DATE, _HOUR, _MINUTE, _SECOND and _YEAR from the local time.
  void RefreshBuiltins(VORClock &clock, uint32_t startTime);

  uint32_t GetCount() const { return m_variables.GetCount(); }
  bool Contains(const VORVariable *variable) const;

  XQString GetVariableValue(const XQString &name) override;
  void SetVariableValue(const XQString &name, const XQString &value) override;

private:
  void SetTwelveHour(const XQString &hourText);
  void RefreshLocalTime(const char *timeText);

  XQList<VORVariable *, 1> m_variables;
};
