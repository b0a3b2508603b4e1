#pragma once

#include <windows.h>

// A list box of a dialog: its messages as calls, and its notifications as
// virtual operations. The owning dialog hands it every WM_COMMAND;
// notifications from other controls are not the list's.
class XQListCtrl {
public:
  // What GetFirstSelected answers when no entry is selected.
  static constexpr int kNoSelection = -1;

  explicit XQListCtrl(HWND listBox = nullptr) : m_listBox(listBox) {}
  XQListCtrl(const XQListCtrl &) = delete;
  XQListCtrl &operator=(const XQListCtrl &) = delete;
  virtual ~XQListCtrl();

  void Attach(HWND listBox) { m_listBox = listBox; }
  HWND GetWindow() const { return m_listBox; }

  // True unless the list box answers LB_ERR (or LB_ERRSPACE).
  bool AddString(const char *text);
  bool DeleteString(int index);
  bool ResetContent();
  int GetCount() const;
  // The first selected entry from the top, or kNoSelection.
  int GetFirstSelected() const;

  // Calls the operation for the notification in the high word of wParam
  // when lParam is this list box; false for anything else.
  bool HandleNotification(WPARAM wParam, LPARAM lParam);

protected:
  virtual bool OnSelChange() { return false; }
  virtual bool OnDoubleClick() { return false; }
  virtual bool OnSelCancel() { return false; }
  virtual bool OnSetFocus() { return false; }
  virtual bool OnKillFocus() { return false; }

private:
  LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;

  HWND m_listBox;
};
