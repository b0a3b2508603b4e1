#include "foundation/XQListCursor.h"

XQListCursor::XQListCursor(const XQListBase &list) : m_list(list), m_index(list.GetCursorCapacity()) { Open(); }

XQListCursor::~XQListCursor() {
  if (m_iterationLocked)
    m_list.EndIteration();
  Close();
}

bool XQListCursor::Open() {
  if (!m_open)
    m_open = m_list.OpenCursor(m_index) != m_list.GetCursorCapacity();
  return m_open;
}

void XQListCursor::Close() {
  if (!m_open)
    return;
  m_list.CloseCursor(m_index);
  m_open = false;
  m_index = m_list.GetCursorCapacity();
}

void XQListCursor::LockIteration() {
  if (m_iterationLocked)
    return;
  m_list.BeginIteration();
  m_iterationLocked = true;
}
