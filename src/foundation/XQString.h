#pragma once

#include <cstdint>

// A heap string with a length. The buffer is NUL-terminated and null when the
// string is empty, so GetText() can be handed to calls that take a null
// pointer as "no text".
class XQString {
public:
  XQString() = default;
  XQString(const char *text); // NOLINT(google-explicit-constructor): texts convert freely
  XQString(const char *buffer, uint32_t length);
  XQString(const XQString &other);
  XQString(XQString &&other) noexcept;
  ~XQString();

  XQString &operator=(const XQString &other);
  XQString &operator=(XQString &&other) noexcept;

  void AssignText(const char *text);
  void Assign(const XQString &other);
  // Copies length bytes, then keeps only the text up to the first NUL.
  void AssignBuffer(const char *buffer, uint32_t length);
  void Append(const XQString &other);
  void AppendText(const char *text);
  void Clear();

  bool Equals(const XQString &other) const;
  bool Differs(const XQString &other) const { return !Equals(other); }
  bool EqualsText(const char *text) const;

  const char *GetText() const { return m_text; }
  // Never null: for callers that need a C string in every case.
  const char *CStr() const { return m_text ? m_text : ""; }
  uint32_t GetLength() const { return m_length; }
  bool IsEmpty() const { return m_length == 0; }

  bool operator==(const XQString &other) const { return Equals(other); }
  bool operator!=(const XQString &other) const { return Differs(other); }

protected:
  // Takes ownership of a buffer of length + 1 bytes, NUL at the end.
  void Adopt(char *buffer, uint32_t length);

private:
  void AppendBytes(const char *bytes, uint32_t length);

  char *m_text = nullptr;
  uint32_t m_length = 0;
};
