#pragma once

#include "foundation/XQList.h"

#include <type_traits>

// A list that can also be walked backwards and inserted into next to an
// element already in it. Removals, cursors and ownership as for XQList.
template <class T, unsigned N = 1>
class XQDoubleList : public XQList<T, N> {
  using Base = XQList<T, N>;
  using Node = typename Base::Node;
  using CursorSlot = typename Base::CursorSlot;

public:
  // A backward walk: Last, then Previous until it answers false. First, Next,
  // Last and Previous may be mixed on one cursor.
  bool Last(const XQListCursor &cursor, T &value) const {
    CursorSlot *slot = this->SlotOf(cursor);
    return slot && Base::Settle(*slot, this->m_tail, value);
  }

  bool Previous(const XQListCursor &cursor, T &value) const {
    CursorSlot *slot = this->SlotOf(cursor);
    if (!slot)
      return false;
    Node *previous = slot->position ? slot->position->previous : nullptr;
    if (slot->waiting && !slot->position)
      previous = this->m_tail;
    return Base::Settle(*slot, previous, value);
  }

  // Inserts after the last node holding reference. Without a reference (a
  // null pointer in a list of pointers) the value goes to the end; when the
  // reference is not in the list, to the front.
  void InsertAfter(const T &value, const T &reference) {
    if (IsNoReference(reference)) {
      this->Append(value);
      return;
    }
    Node *found = this->FindLast(reference);
    this->LinkBefore(new Node{value, nullptr, nullptr}, found ? found->next : this->m_head);
  }

  // Inserts before the first node holding reference. Without a reference the
  // value goes to the front; when the reference is not in the list, to the end.
  void InsertBefore(const T &value, const T &reference) {
    if (IsNoReference(reference)) {
      this->Prepend(value);
      return;
    }
    this->LinkBefore(new Node{value, nullptr, nullptr}, this->FindFirst(reference));
  }

private:
  // Only a list of pointers has a "no reference" value; in a list of numbers
  // or structures every reference is searched for.
  static bool IsNoReference([[maybe_unused]] const T &reference) {
    if constexpr (std::is_pointer<T>::value)
      return reference == nullptr;
    else
      return false;
  }
};
