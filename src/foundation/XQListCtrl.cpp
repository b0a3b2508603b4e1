#include "foundation/XQListCtrl.h"

XQListCtrl::~XQListCtrl() = default;

LRESULT XQListCtrl::Send(UINT message, WPARAM wParam, LPARAM lParam) const {
  return SendMessageA(m_listBox, message, wParam, lParam);
}

bool XQListCtrl::AddString(const char *text) {
  const LRESULT answer = Send(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
  return answer != LB_ERR && answer != LB_ERRSPACE;
}

bool XQListCtrl::DeleteString(int index) { return Send(LB_DELETESTRING, static_cast<WPARAM>(index)) != LB_ERR; }

bool XQListCtrl::ResetContent() { return Send(LB_RESETCONTENT) != LB_ERR; }

int XQListCtrl::GetCount() const { return static_cast<int>(Send(LB_GETCOUNT)); }

int XQListCtrl::GetFirstSelected() const {
  const int count = GetCount();
  for (int i = 0; i < count; ++i) {
    const LRESULT selected = Send(LB_GETSEL, static_cast<WPARAM>(i));
    if (selected == LB_ERR)
      return kNoSelection;
    if (selected != 0)
      return i;
  }
  return kNoSelection;
}

// A button's notification codes overlap the list's (BN_PAINT is 1, like
// LBN_SELCHANGE): only what this list box sent is a list notification.
bool XQListCtrl::HandleNotification(WPARAM wParam, LPARAM lParam) {
  if (!m_listBox || reinterpret_cast<HWND>(lParam) != m_listBox)
    return false;
  switch (HIWORD(wParam)) {
  case LBN_SELCHANGE:
    return OnSelChange();
  case LBN_DBLCLK:
    return OnDoubleClick();
  case LBN_SELCANCEL:
    return OnSelCancel();
  case LBN_SETFOCUS:
    return OnSetFocus();
  case LBN_KILLFOCUS:
    return OnKillFocus();
  default:
    return false;
  }
}
