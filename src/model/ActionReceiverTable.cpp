#include "model/ActionReceiverTable.h"

#include "model/VORActionReceiver.h"

namespace {

constexpr uint32_t kIdentitySize = 24;

void Store16(uint8_t *&out, int16_t value) {
  const auto bits = static_cast<uint16_t>(value);
  *out++ = static_cast<uint8_t>(bits);
  *out++ = static_cast<uint8_t>(bits >> 8);
}

void Store32(uint8_t *&out, int32_t value) {
  const auto bits = static_cast<uint32_t>(value);
  for (int shift = 0; shift < 32; shift += 8)
    *out++ = static_cast<uint8_t>(bits >> shift);
}

struct Identity {
  VORObjectCode reference;
  VORObjectCode view;
  VORObjectCode page;
};

Identity IdentityOf(const VORActionReceiver &receiver) {
  return {receiver.GetObjectCode(), receiver.GetViewReference(), receiver.GetPageReference()};
}

bool HasIdentity(const VORActionReceiver &receiver, const VORObjectCode &reference, const VORObjectCode &view,
                 const VORObjectCode &page) {
  return receiver.HasReference(reference) && receiver.GetViewReference().Equals(view) &&
         receiver.GetPageReference().Equals(page);
}

} // namespace

ActionReceiverTable::ActionReceiverTable() : m_slots(kInitialSize, nullptr) {}

uint32_t ActionReceiverTable::SmallestPrimeNotBelow(uint32_t n) {
  for (uint32_t candidate = n;; ++candidate) {
    bool prime = candidate >= 2;
    for (uint32_t divisor = candidate / 2; prime && divisor >= 2; --divisor)
      prime = candidate % divisor != 0;
    if (prime)
      return candidate;
  }
}

uint32_t ActionReceiverTable::Hash(const VORObjectCode &reference, const VORObjectCode &view,
                                   const VORObjectCode &page) {
  uint8_t buffer[kIdentitySize];
  uint8_t *out = buffer;
  for (const VORObjectCode *code : {&reference, &view, &page})
    Store16(out, code->category);
  for (const VORObjectCode *code : {&reference, &view, &page})
    Store16(out, code->code);
  for (const VORObjectCode *code : {&reference, &view, &page})
    Store32(out, code->id);
  uint32_t hash = 0;
  for (uint8_t byte : buffer)
    hash = static_cast<uint32_t>(static_cast<int32_t>(static_cast<int8_t>(byte))) + 2 * hash;
  return hash;
}

void ActionReceiverTable::Insert(VORActionReceiver *receiver) {
  if (!receiver)
    return;
  if (m_used >= GetSize() / 2)
    Grow();
  if (Place(receiver))
    ++m_used;
}

bool ActionReceiverTable::Place(VORActionReceiver *receiver) {
  const Identity identity = IdentityOf(*receiver);
  const uint32_t size = GetSize();
  const uint32_t start = Hash(identity.reference, identity.view, identity.page) % size;
  for (uint32_t step = 0; step < size; ++step) {
    VORActionReceiver *&slot = m_slots[(start + step) % size];
    if (!slot) {
      slot = receiver;
      return true;
    }
  }
  return false;
}

void ActionReceiverTable::Grow() {
  std::vector<VORActionReceiver *> old(SmallestPrimeNotBelow(2 * GetSize()), nullptr);
  old.swap(m_slots);
  for (VORActionReceiver *receiver : old)
    if (receiver)
      Place(receiver);
}

int32_t ActionReceiverTable::FindIndex(const VORObjectCode &reference, const VORObjectCode &view,
                                       const VORObjectCode &page) const {
  const uint32_t size = GetSize();
  const uint32_t start = Hash(reference, view, page) % size;
  // Free slots do not end the search: removals leave no markers.
  for (uint32_t step = 0; step < size; ++step) {
    const uint32_t index = (start + step) % size;
    const VORActionReceiver *receiver = m_slots[index];
    if (receiver && HasIdentity(*receiver, reference, view, page))
      return static_cast<int32_t>(index);
  }
  return -1;
}

int32_t ActionReceiverTable::FindAddress(const VORActionReceiver *receiver) const {
  for (uint32_t index = 0; index < GetSize(); ++index)
    if (m_slots[index] == receiver)
      return static_cast<int32_t>(index);
  return -1;
}

int32_t ActionReceiverTable::Remove(const VORActionReceiver *receiver) {
  if (!receiver)
    return -1;
  const Identity identity = IdentityOf(*receiver);
  int32_t index = FindIndex(identity.reference, identity.view, identity.page);
  if (index < 0 || m_slots[static_cast<uint32_t>(index)] != receiver)
    index = FindAddress(receiver);
  if (index < 0)
    return -1;
  m_slots[static_cast<uint32_t>(index)] = nullptr;
  --m_used;
  return index;
}

VORActionReceiver *ActionReceiverTable::Find(const VORObjectCode &reference, const VORObjectCode &view,
                                             const VORObjectCode &page) const {
  const int32_t index = FindIndex(reference, view, page);
  return index < 0 ? nullptr : m_slots[static_cast<uint32_t>(index)];
}
