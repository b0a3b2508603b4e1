#include "foundation/XQRandom.h"

uint32_t XQRandom::Next() {
  m_state = m_state * kMultiplier + kIncrement;
  return (m_state >> 16) & kMax;
}

uint32_t XQRandom::Below(uint32_t bound) { return bound ? Next() % bound : 0; }
