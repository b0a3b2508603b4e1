#include "foundation/ShuffledSequence.h"

#include <cstddef>
#include <utility>

#include "foundation/VORRandomGenerator.h"

void ShuffledSequence::SetCount(uint32_t n) {
  m_order.assign(n, 0);
  ResetOrder();
  m_position = 0;
  Shuffle();
}

void ShuffledSequence::ResetOrder() {
  for (size_t i = 0; i < m_order.size(); ++i)
    m_order[i] = static_cast<int32_t>(i);
}

// An empty order has no first or last entry to remember: nothing to shuffle.
void ShuffledSequence::Shuffle() {
  const size_t n = m_order.size();
  if (n == 0)
    return;
  VORRandomGenerator::Seed(m_seedSource ? m_seedSource() : 0);
  const int32_t oldFirst = m_order.front();
  const int32_t oldLast = m_order.back();
  ResetOrder();
  for (size_t i = 0; i + 1 < n; ++i) {
    const size_t j = i + static_cast<size_t>(VORRandomGenerator::Next()) % (n - i);
    std::swap(m_order[i], m_order[j]);
  }
  // Whichever way the last round went, the new one must not start where it
  // ended.
  if (oldFirst == m_order.back() || oldLast == m_order.front())
    std::swap(m_order.front(), m_order.back());
}

int32_t ShuffledSequence::Next() {
  if (m_order.empty())
    return kNoIndex;
  ++m_position;
  if (m_position >= m_order.size()) {
    m_position = 0;
    if (m_reshuffleOnWrap)
      Shuffle();
  }
  return m_order[m_position];
}

int32_t ShuffledSequence::Previous() {
  if (m_order.empty())
    return kNoIndex;
  if (m_position == 0) {
    m_position = static_cast<uint32_t>(m_order.size() - 1);
    if (m_reshuffleOnWrap)
      Shuffle();
  } else {
    --m_position;
  }
  return m_order[m_position];
}

int32_t ShuffledSequence::GetCurrent() const { return m_position < m_order.size() ? m_order[m_position] : kNoIndex; }
