#pragma once

#include <cstdint>

#include "model/VORObjectCode.h"

// The pages a view has shown, for going back and forward: the last twenty,
// the oldest dropping out. A push after going back drops the pages ahead.
class PageHistory {
public:
  static constexpr int32_t kSize = 20;

  void Push(const VORObjectCode &reference);
  // False when there is nothing before (after) the current entry.
  bool Back(VORObjectCode &reference);
  bool Forward(VORObjectCode &reference);

  int32_t GetCurrentIndex() const { return m_current; }
  int32_t GetLastIndex() const { return m_last; }
  const VORObjectCode &EntryAt(int32_t index) const { return m_entries[index]; }

private:
  VORObjectCode m_entries[kSize];
  int32_t m_current = -1;
  int32_t m_last = -1;
};
