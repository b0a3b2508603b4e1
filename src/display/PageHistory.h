#pragma once

#include <cstdint>

#include "model/VORObjectCode.h"

// The pages a view has shown, for going back and forward: the last twenty
// references, the one now shown and how far forward one can go again.
class PageHistory {
public:
  static constexpr int32_t kCapacity = 20;

  // After the twentieth entry the oldest drops out; a push after going back
  // drops the entries ahead of the current one.
  void Push(const VORObjectCode &reference);
  // The entry before (after) the current one, which becomes current; false
  // at the oldest (newest) entry.
  bool Back(VORObjectCode &reference);
  bool Forward(VORObjectCode &reference);

  int32_t GetCurrentIndex() const { return m_current; }
  int32_t GetLastIndex() const { return m_last; }

private:
  VORObjectCode m_entries[kCapacity];
  int32_t m_current = -1;
  int32_t m_last = -1;
};
