#pragma once

#include <cstdint>
#include <vector>

#include "model/VORObjectCode.h"

class VORActionReceiver;

// Finds receivers by their 24-byte identity: their own reference plus the
// view and page references of the page instance they belong to, so that
// the copies of one page object shown in two views are told apart.
// An open-addressing hash table whose size is a prime; it grows to keep
// its load below one half.
class ActionReceiverTable {
public:
  static constexpr uint32_t kInitialSize = 257;

  ActionReceiverTable();

  void Insert(VORActionReceiver *receiver);
  // The slot the receiver held, or -1. A receiver whose identity changed
  // since it was inserted (or that is removed from a base destructor, where
  // its identity operations answer the base's values) is still found by
  // its address, so the table never keeps a pointer to a receiver that went.
  int32_t Remove(const VORActionReceiver *receiver);
  VORActionReceiver *Find(const VORObjectCode &reference, const VORObjectCode &view, const VORObjectCode &page) const;

  uint32_t GetSize() const { return static_cast<uint32_t>(m_slots.size()); }
  uint32_t GetUsedCount() const { return m_used; }

  // The smallest prime not below n.
  static uint32_t SmallestPrimeNotBelow(uint32_t n);
  static uint32_t Hash(const VORObjectCode &reference, const VORObjectCode &view, const VORObjectCode &page);

private:
  void Grow();
  bool Place(VORActionReceiver *receiver);
  int32_t FindIndex(const VORObjectCode &reference, const VORObjectCode &view, const VORObjectCode &page) const;
  int32_t FindAddress(const VORActionReceiver *receiver) const;

  std::vector<VORActionReceiver *> m_slots;
  uint32_t m_used = 0;
};
