#pragma once

#include "foundation/XQString.h"

// What the expression language needs of the publication's variables. Values
// are always text; names compare without regard to letter case, and a name
// keeps the case of its first use. The application's variable list
// implements it.
class VORVariableStore {
public:
  virtual ~VORVariableStore() = default;

  // The value of the named variable; a variable not seen before is created
  // with an empty value (reading a name makes it known).
  virtual XQString GetVariableValue(const XQString &name) = 0;
  // Sets the named variable, creating it when missing. Every set is
  // announced to the publication, even when the value does not change.
  virtual void SetVariableValue(const XQString &name, const XQString &value) = 0;

protected:
  VORVariableStore() = default;
  VORVariableStore(const VORVariableStore &) = default;
  VORVariableStore &operator=(const VORVariableStore &) = default;
};
