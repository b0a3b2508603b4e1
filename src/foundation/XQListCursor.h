#pragma once

#include "foundation/XQListBase.h"

// A scoped walk over a list: takes a cursor slot when built and gives it back
// when it goes, so a loop left by an exception does not keep its slot.
//
//   XQListCursor cursor(list);
//   T value;
//   for (bool more = list.First(cursor, value); more; more = list.Next(cursor, value))
//     ...
//
// When every slot of the list is taken the cursor stays closed and the
// list's walks through it find nothing.
class XQListCursor {
public:
  explicit XQListCursor(const XQListBase &list);
  ~XQListCursor();
  XQListCursor(const XQListCursor &) = delete;
  XQListCursor &operator=(const XQListCursor &) = delete;

  // Takes a slot unless one is held; false when none was free.
  bool Open();
  void Close();
  // Counts this cursor's list as being walked until the cursor goes.
  void LockIteration();

  bool IsOpen() const { return m_open; }
  // The slot held; the list's cursor capacity when closed.
  unsigned GetIndex() const { return m_index; }
  bool Walks(const XQListBase &list) const { return &m_list == &list; }

private:
  const XQListBase &m_list;
  bool m_open = false;
  unsigned m_index;
  bool m_iterationLocked = false;
};
