#pragma once

#include <cstdint>

#include "foundation/XQString.h"

// A named variable of the publication; its value is always text. Every set
// is announced to the shown pages, even when the value stays the same.
class VORVariable {
public:
  explicit VORVariable(const XQString &name) : m_name(name) {}
  VORVariable(const VORVariable &) = delete;
  VORVariable &operator=(const VORVariable &) = delete;

  const XQString &GetName() const { return m_name; }
  const XQString &GetValue() const { return m_value; }
  // The value read as a decimal number (atoi); 0 when empty.
  int32_t GetInt() const;

  void SetValue(const XQString &value);
  void SetInt(int32_t value);
  void AppendValue(const XQString &text);
  // Broadcasts the change (action 803 with the name) to the shown pages.
  void NotifyChanged() const;

private:
  XQString m_name;
  XQString m_value;
};
