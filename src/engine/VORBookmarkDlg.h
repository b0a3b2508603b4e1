#pragma once

#include <windows.h>

#include <vector>

#include "engine/VORBookmarks.h"
#include "foundation/XQDialog.h"
#include "foundation/XQListCtrl.h"
#include "foundation/XQString.h"

class VORBookmarkDlg;

// The dialog's list: a double click goes to the bookmark.
class VORBookmarkList : public XQListCtrl {
public:
  explicit VORBookmarkList(VORBookmarkDlg &dialog) : m_dialog(dialog) {}

protected:
  bool OnDoubleClick() override;

private:
  VORBookmarkDlg &m_dialog;
};

// The bookmark dialog (template 102): the bookmarked pages by name, with
// Add (the page it was asked from), Delete, Go and Delete all. It edits a
// copy of the list, handed back on OK.
class VORBookmarkDlg : public XQDialog {
public:
  static constexpr int kTemplateId = 102;
  static constexpr int kListId = 1276;
  static constexpr int kAddId = 1264;
  static constexpr int kDeleteId = 1699;
  static constexpr int kGoId = 1702;
  static constexpr int kDeleteAllId = 1707;
  static constexpr UINT kDeleteAllString = 2;
  static constexpr UINT kWarningCaptionString = 61560;

  VORBookmarkDlg(HINSTANCE instance, HWND parent, VORBookmarks::DialogData &data);

  // The double click's and the Go button's work.
  void Go();
  const std::vector<VORBookmarks::BookData> &GetWorkingCopy() const { return m_copy; }

protected:
  bool OnInitDialog() override;
  bool OnCommand(WPARAM wParam, LPARAM lParam) override;
  bool OnOK() override;

private:
  void Fill();
  void Add();
  void Delete();
  void DeleteAll();
  // The working-copy position of the first selected entry; -1 when none.
  int SelectedCopyIndex() const;
  XQString LoadText(UINT id) const;

  HINSTANCE m_instance;
  VORBookmarks::DialogData &m_data;
  VORBookmarkList m_list;
  std::vector<VORBookmarks::BookData> m_copy;
};
