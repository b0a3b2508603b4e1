#include "foundation/XQString.h"

#include <cstring>
#include <utility>

namespace {

char *CopyBytes(const char *bytes, uint32_t length) {
  char *copy = new char[static_cast<size_t>(length) + 1];
  std::memcpy(copy, bytes, length);
  copy[length] = '\0';
  return copy;
}

uint32_t TextLength(const char *text) { return static_cast<uint32_t>(std::strlen(text)); }

} // namespace

XQString::XQString(const char *text) { AssignText(text); }

XQString::XQString(const char *buffer, uint32_t length) { AssignBuffer(buffer, length); }

XQString::XQString(const XQString &other) { Assign(other); }

XQString::XQString(XQString &&other) noexcept
    : m_text(std::exchange(other.m_text, nullptr)), m_length(std::exchange(other.m_length, 0)) {}

XQString::~XQString() { delete[] m_text; }

XQString &XQString::operator=(const XQString &other) {
  if (this != &other)
    Assign(other);
  return *this;
}

XQString &XQString::operator=(XQString &&other) noexcept {
  if (this != &other) {
    delete[] m_text;
    m_text = std::exchange(other.m_text, nullptr);
    m_length = std::exchange(other.m_length, 0);
  }
  return *this;
}

void XQString::AssignText(const char *text) {
  if (!text || !*text) {
    Clear();
    return;
  }
  Adopt(CopyBytes(text, TextLength(text)), TextLength(text));
}

void XQString::Assign(const XQString &other) {
  if (this == &other)
    return;
  if (other.IsEmpty())
    Clear();
  else
    Adopt(CopyBytes(other.m_text, other.m_length), other.m_length);
}

void XQString::AssignBuffer(const char *buffer, uint32_t length) {
  if (!buffer || length == 0) {
    Clear();
    return;
  }
  char *copy = CopyBytes(buffer, length);
  uint32_t textLength = TextLength(copy);
  if (textLength == 0) {
    delete[] copy;
    Clear();
    return;
  }
  Adopt(copy, textLength);
}

void XQString::Append(const XQString &other) {
  if (this == &other) {
    XQString copy(other);
    AppendBytes(copy.m_text, copy.m_length);
  } else {
    AppendBytes(other.m_text, other.m_length);
  }
}

void XQString::AppendText(const char *text) {
  if (text)
    AppendBytes(text, TextLength(text));
}

void XQString::AppendBytes(const char *bytes, uint32_t length) {
  if (length == 0)
    return;
  // The old text stays until the new buffer is complete.
  size_t total = static_cast<size_t>(m_length) + length;
  char *joined = new char[total + 1];
  if (m_length)
    std::memcpy(joined, m_text, m_length);
  std::memcpy(joined + m_length, bytes, length);
  joined[total] = '\0';
  Adopt(joined, static_cast<uint32_t>(total));
}

void XQString::Clear() {
  delete[] m_text;
  m_text = nullptr;
  m_length = 0;
}

void XQString::Adopt(char *buffer, uint32_t length) {
  delete[] m_text;
  m_text = buffer;
  m_length = length;
}

bool XQString::Equals(const XQString &other) const {
  return m_length == other.m_length && (m_length == 0 || std::memcmp(m_text, other.m_text, m_length) == 0);
}

bool XQString::EqualsText(const char *text) const {
  if (!text || !*text)
    return m_length == 0;
  return m_length != 0 && std::strcmp(m_text, text) == 0;
}
