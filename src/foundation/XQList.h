#pragma once

#include "foundation/XQListBase.h"
#include "foundation/XQListCursor.h"

#include <cstdint>
#include <type_traits>

// A linked list of copies of T that allows N walks at the same time, each
// through its own XQListCursor.
//
// Elements are compared with T's operator==: structures field by field,
// XQString by its text, pointers by identity. The list never deletes what its
// elements point to, not even when it goes (it frees only its own nodes):
// owners of pointer lists empty them with DeleteAll.
//
// Walks survive removals: a cursor whose node is removed, by its own walk or
// by another, waits in the gap the node leaves, so its next step reaches the
// removed node's successor (and a backward step its predecessor).
template <class T, unsigned N = 1>
class XQList : public XQListBase {
  static_assert(N >= 1, "a list needs a cursor slot for its walks");

public:
  XQList() : XQListBase(N) {}
  ~XQList() override { RemoveAll(); }

  void Append(const T &value) { LinkBefore(new Node{value, nullptr, nullptr}, nullptr); }
  void Prepend(const T &value) { LinkBefore(new Node{value, nullptr, nullptr}, m_head); }

  // Removes the first node holding value; the element itself is kept.
  bool Remove(const T &value) {
    Node *node = FindFirst(value);
    if (!node)
      return false;
    FreeNode(node);
    return true;
  }

  // Empties the list without deleting the elements.
  void RemoveAll() {
    while (m_head)
      FreeNode(m_head);
  }

  // Empties a list of pointers, deleting each element through its (virtual)
  // destructor. Each node leaves the list before its element is deleted, so a
  // destructor that removes its own element from this list finds nothing.
  void DeleteAll() {
    static_assert(std::is_pointer<T>::value, "DeleteAll is for lists of pointers");
    while (m_head) {
      T element = m_head->value;
      FreeNode(m_head);
      delete element;
    }
  }

  uint32_t GetCount() const { return m_count; }
  bool IsEmpty() const { return m_count == 0; }

  // A walk: First, then Next until it answers false. Each answers false when
  // there is no further element, or when the cursor is not an open cursor of
  // this list.
  bool First(const XQListCursor &cursor, T &value) const {
    CursorSlot *slot = SlotOf(cursor);
    return slot && Settle(*slot, m_head, value);
  }

  bool Next(const XQListCursor &cursor, T &value) const {
    CursorSlot *slot = SlotOf(cursor);
    if (!slot)
      return false;
    Node *next = slot->position;
    if (!slot->waiting && next)
      next = next->next;
    return Settle(*slot, next, value);
  }

  unsigned OpenCursor(unsigned &index) const override {
    for (unsigned i = 0; i < N; ++i) {
      if (m_cursors[i].used)
        continue;
      m_cursors[i] = CursorSlot{nullptr, false, true};
      index = i;
      BeginIteration();
      return i;
    }
    return N;
  }

  void CloseCursor(unsigned index) const override {
    if (index >= N || !m_cursors[index].used)
      return;
    m_cursors[index] = CursorSlot{};
    EndIteration();
  }

protected:
  struct Node {
    T value;
    Node *next;
    Node *previous;
  };

  // A cursor stands on position, or, when waiting, in the gap just before it
  // (the gap at the end when position is null): its node was removed.
  struct CursorSlot {
    Node *position = nullptr;
    bool waiting = false;
    bool used = false;
  };

  CursorSlot *SlotOf(const XQListCursor &cursor) const {
    if (!cursor.IsOpen() || !cursor.Walks(*this))
      return nullptr;
    unsigned index = cursor.GetIndex();
    if (index >= N || !m_cursors[index].used)
      return nullptr;
    return &m_cursors[index];
  }

  // Puts the cursor on node and hands out its value; false when node is null.
  static bool Settle(CursorSlot &slot, Node *node, T &value) {
    slot.position = node;
    slot.waiting = false;
    if (!node)
      return false;
    value = node->value;
    return true;
  }

  Node *FindFirst(const T &value) const {
    for (Node *node = m_head; node; node = node->next)
      if (node->value == value)
        return node;
    return nullptr;
  }

  Node *FindLast(const T &value) const {
    for (Node *node = m_tail; node; node = node->previous)
      if (node->value == value)
        return node;
    return nullptr;
  }

  // Links node in before successor; a null successor means at the end.
  void LinkBefore(Node *node, Node *successor) {
    Node *predecessor = successor ? successor->previous : m_tail;
    node->next = successor;
    node->previous = predecessor;
    (predecessor ? predecessor->next : m_head) = node;
    (successor ? successor->previous : m_tail) = node;
    ++m_count;
  }

  void FreeNode(Node *node) {
    (node->previous ? node->previous->next : m_head) = node->next;
    (node->next ? node->next->previous : m_tail) = node->previous;
    --m_count;
    for (CursorSlot &slot : m_cursors) {
      if (slot.used && slot.position == node) {
        slot.position = node->next;
        slot.waiting = true;
      }
    }
    delete node;
  }

  Node *m_head = nullptr;
  Node *m_tail = nullptr;
  uint32_t m_count = 0;
  mutable CursorSlot m_cursors[N];
};
