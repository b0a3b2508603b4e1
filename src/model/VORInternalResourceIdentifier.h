#pragma once

#include <cstdint>

#include "model/VORFileKind.h"

class VORFile;

// Names a resource inside the compiled publication file: the index of its
// top-level entry and its file kind.
class VORInternalResourceIdentifier {
public:
  static constexpr int32_t kNoNumber = -1;

  VORInternalResourceIdentifier() = default;
  VORInternalResourceIdentifier(int32_t number, int32_t kind) : m_number(number), m_kind(kind) {}

  // The record's next 4 bytes of number and 1 byte of kind; a record that
  // ends first passes VORFileIncompleteReadException on.
  void Read(VORFile &file);

  bool Equals(const VORInternalResourceIdentifier &other) const {
    return m_number == other.m_number && m_kind == other.m_kind;
  }
  bool operator==(const VORInternalResourceIdentifier &other) const { return Equals(other); }

  int32_t GetNumber() const { return m_number; }
  int32_t GetKind() const { return m_kind; }

private:
  int32_t m_number = kNoNumber;
  int32_t m_kind = VORFileKind::kOther;
};
