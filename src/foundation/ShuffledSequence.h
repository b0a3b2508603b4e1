#pragma once

#include <cstdint>
#include <vector>

// A random order of the indexes 0 to n - 1 walked forwards or backwards; at
// either end the walk wraps and, by default, a new order is drawn, one that
// does not begin with the index the previous round ended on. Random pages
// and slideshows use it so that no index comes twice in a row.
//
// Every shuffle reseeds the process-wide random generator from the seed
// source (the program's millisecond clock), as the runtime's shuffles have
// always done.
class ShuffledSequence {
public:
  using SeedSource = uint32_t (*)();
  // The answer of an empty sequence: it has no index to give.
  static constexpr int32_t kNoIndex = -1;

  explicit ShuffledSequence(SeedSource seedSource) : m_seedSource(seedSource) {}

  // A new order of n indexes, shuffled; the walk starts over.
  void SetCount(uint32_t n);
  // Draws a new order; the position stays.
  void Shuffle();
  // Steps forward (backward), wrapping at the ends; the entry there.
  int32_t Next();
  int32_t Previous();
  int32_t GetCurrent() const;
  uint32_t GetPosition() const { return m_position; }
  uint32_t GetCount() const { return static_cast<uint32_t>(m_order.size()); }
  void SetReshuffleOnWrap(bool reshuffle) { m_reshuffleOnWrap = reshuffle; }

private:
  void ResetOrder();

  SeedSource m_seedSource;
  std::vector<int32_t> m_order;
  uint32_t m_position = 0;
  bool m_reshuffleOnWrap = true;
};
