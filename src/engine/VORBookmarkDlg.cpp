#include "engine/VORBookmarkDlg.h"

#include <algorithm>

#include "foundation/XQMessageBox.h"
#include "model/VORPage.h"
#include "model/VORPublication.h"

namespace {

constexpr int kTextBytes = 512;

// The page's title when the publication has the page.
bool FindTitle(VORPublication *publication, const VORObjectCode &reference, VORString &title) {
  VORRecursiveObjectContainer *found = nullptr;
  if (!publication || !publication->FindPage(reference, found))
    return false;
  auto *page = dynamic_cast<VORPage *>(found);
  if (!page)
    return false;
  title = page->GetTitle();
  return true;
}

} // namespace

bool VORBookmarkList::OnDoubleClick() {
  m_dialog.Go();
  return true;
}

VORBookmarkDlg::VORBookmarkDlg(HINSTANCE instance, HWND parent, VORBookmarks::DialogData &data)
    : XQDialog(instance, kTemplateId, parent), m_instance(instance), m_data(data), m_list(*this) {
  if (data.list)
    m_copy = *data.list;
}

bool VORBookmarkDlg::OnInitDialog() {
  m_list.Attach(GetDlgItem(GetWindow(), kListId));
  Fill();
  SetWindowPos(GetWindow(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  return true;
}

// Bookmarks of pages that are gone are not listed, so each entry carries
// its position in the working copy.
void VORBookmarkDlg::Fill() {
  m_list.ResetContent();
  HWND listBox = m_list.GetWindow();
  for (size_t i = 0; i < m_copy.size(); ++i) {
    VORString title;
    if (!FindTitle(m_data.publication, m_copy[i], title))
      continue;
    const LRESULT entry = SendMessageA(listBox, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(title.CStr()));
    if (entry >= 0)
      SendMessageA(listBox, LB_SETITEMDATA, static_cast<WPARAM>(entry), static_cast<LPARAM>(i));
  }
}

bool VORBookmarkDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
  if (m_list.HandleNotification(wParam, lParam))
    return true;
  switch (LOWORD(wParam)) {
  case kAddId:
    Add();
    return true;
  case kDeleteId:
    Delete();
    return true;
  case kGoId:
    Go();
    return true;
  case kDeleteAllId:
    DeleteAll();
    return true;
  default:
    return false;
  }
}

void VORBookmarkDlg::Add() {
  const VORObjectCode page = m_data.page;
  const auto same = [&page](const VORBookmarks::BookData &entry) { return entry.Equals(page); };
  if (std::none_of(m_copy.begin(), m_copy.end(), same)) {
    m_copy.push_back(page);
    Fill();
  }
  EnableWindow(GetDlgItem(GetWindow(), kAddId), FALSE);
}

int VORBookmarkDlg::SelectedCopyIndex() const {
  const int selected = m_list.GetFirstSelected();
  if (selected == XQListCtrl::kNoSelection)
    return -1;
  const LRESULT data = SendMessageA(m_list.GetWindow(), LB_GETITEMDATA, static_cast<WPARAM>(selected), 0);
  if (data < 0 || static_cast<size_t>(data) >= m_copy.size())
    return -1;
  return static_cast<int>(data);
}

void VORBookmarkDlg::Delete() {
  const int index = SelectedCopyIndex();
  if (index < 0)
    return;
  m_copy.erase(m_copy.begin() + index);
  Fill();
}

void VORBookmarkDlg::DeleteAll() {
  const XQString question = LoadText(kDeleteAllString);
  const XQString caption = LoadText(kWarningCaptionString);
  if (XQMessageBox::Show(GetWindow(), question.CStr(), caption.CStr(), MB_ICONQUESTION | MB_OKCANCEL) != IDOK)
    return;
  m_copy.clear();
  m_list.ResetContent();
}

void VORBookmarkDlg::Go() {
  const int index = SelectedCopyIndex();
  if (index < 0)
    return;
  VORBookmarks::GotoBookmark(m_copy, index);
  PostMessageA(GetWindow(), WM_COMMAND, IDOK, 0);
}

bool VORBookmarkDlg::OnOK() {
  if (m_data.list)
    *m_data.list = m_copy;
  return true;
}

XQString VORBookmarkDlg::LoadText(UINT id) const {
  char text[kTextBytes] = {};
  if (LoadStringA(m_instance, id, text, sizeof text) <= 0)
    return XQString();
  return XQString(text);
}
