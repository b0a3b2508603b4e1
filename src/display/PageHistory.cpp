#include "display/PageHistory.h"

void PageHistory::Push(const VORObjectCode &reference) {
  if (m_current == kCapacity - 1) {
    for (int32_t i = 1; i < kCapacity; ++i)
      m_entries[i - 1] = m_entries[i];
  } else {
    ++m_current;
  }
  m_entries[m_current] = reference;
  m_last = m_current;
}

bool PageHistory::Back(VORObjectCode &reference) {
  if (m_current < 1)
    return false;
  reference = m_entries[--m_current];
  return true;
}

bool PageHistory::Forward(VORObjectCode &reference) {
  if (m_current >= m_last)
    return false;
  reference = m_entries[++m_current];
  return true;
}
