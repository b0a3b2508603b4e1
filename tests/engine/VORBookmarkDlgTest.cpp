#include "engine/VORBookmarkDlg.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "foundation/XQMessageBox.h"
#include "support/FakeClock.h"
#include "support/ProgramDriver.h"
#include "support/TestPlayer.h"

namespace {

using Pages = std::vector<VORObjectCode>;

VORObjectCode PageRef(int32_t id) { return VORObjectCode(0, 4, id); }

std::vector<std::string> g_boxes;
int g_boxAnswer = IDOK;
int RecordBox(HWND, const char *text, const char *caption, UINT style) {
  g_boxes.push_back(std::string(caption) + ": " + text + (style == (MB_ICONQUESTION | MB_OKCANCEL) ? "" : " (style)"));
  return g_boxAnswer;
}

// The bookmark dialog of the real program (its template and texts, taken
// from the program's file), driven through its controls as a person would:
// the entries it lists, selections and button presses.
class VORBookmarkDlgTest : public ::testing::Test {
protected:
  void SetUp() override {
    m_program =
        LoadLibraryExA((ProgramDriver::ProgramFolder() + "vorplayer.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(m_program, nullptr);
    // Pages 1 to 3 are titled "Page n"; page 9 no longer exists.
    PublicationRecords::Publication publication = TestPublications::Of({TestPublications::Chapter(
        1, {TestPublications::Page(1), TestPublications::Page(2), TestPublications::Page(3)})});
    for (PublicationRecords::Page &page : publication.chapters[0].pages)
      page.properties.title = "Page " + std::to_string(page.reference.id);
    ASSERT_TRUE(m_player.Load(publication));
    g_boxes.clear();
    g_boxAnswer = IDOK;
    m_previousBox = XQMessageBox::SetHandler(RecordBox);
  }
  void TearDown() override {
    m_dialog.reset();
    XQMessageBox::SetHandler(m_previousBox);
    if (m_program)
      FreeLibrary(m_program);
  }

  void Open(const Pages &list, const VORObjectCode &page = PageRef(2)) {
    m_list = list;
    m_data.list = &m_list;
    m_data.page = page;
    m_data.view = VORObjectCode(0, 3, 1);
    m_data.publication = m_player.GetPublication();
    m_dialog = std::make_unique<VORBookmarkDlg>(m_program, nullptr, m_data);
    m_window = m_dialog->CreateModeless();
    ASSERT_NE(m_window, nullptr);
  }

  HWND ListBox() const { return GetDlgItem(m_window, VORBookmarkDlg::kListId); }

  std::vector<std::string> Entries() const {
    std::vector<std::string> entries;
    const LRESULT count = SendMessageA(ListBox(), LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
      char text[256] = {};
      SendMessageA(ListBox(), LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
      entries.emplace_back(text);
    }
    return entries;
  }

  void Select(int index) const { SendMessageA(ListBox(), LB_SETCURSEL, static_cast<WPARAM>(index), 0); }
  void Press(int id) const {
    SendMessageA(GetDlgItem(m_window, id), BM_CLICK, 0, 0);
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
  }
  void DoubleClick(int index) const {
    Select(index);
    SendMessageA(m_window, WM_COMMAND, MAKEWPARAM(VORBookmarkDlg::kListId, LBN_DBLCLK),
                 reinterpret_cast<LPARAM>(ListBox()));
    Press(0);
  }

  FakeClock m_clock;
  TestPlayer m_player{m_clock};
  HMODULE m_program = nullptr;
  Pages m_list;
  VORBookmarks::DialogData m_data;
  std::unique_ptr<VORBookmarkDlg> m_dialog;
  HWND m_window = nullptr;
  XQMessageBox::Handler m_previousBox = nullptr;
};

// Bookmarks of pages that are gone are not listed; the dialog is topmost.
TEST_F(VORBookmarkDlgTest, ListsThePagesByTitle) {
  Open({PageRef(9), PageRef(3), PageRef(1)});
  EXPECT_EQ(Entries(), (std::vector<std::string>{"Page 3", "Page 1"}));
  EXPECT_NE(GetWindowLongA(m_window, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
}

// Deleting after a missing page deletes the entry selected, not the one at
// its list position; OK hands the copy back (the missing page kept).
TEST_F(VORBookmarkDlgTest, DeleteRemovesTheSelectedBookmark) {
  Open({PageRef(9), PageRef(3), PageRef(1)});
  Select(1);
  Press(VORBookmarkDlg::kDeleteId);
  EXPECT_EQ(Entries(), (std::vector<std::string>{"Page 3"}));
  EXPECT_EQ(m_list.size(), 3u) << "nothing changes before OK";
  Press(IDOK);
  EXPECT_EQ(m_list, (Pages{PageRef(9), PageRef(3)}));
}

// Go shows the selected bookmark's page and ends the dialog as OK; a
// double click does the same.
TEST_F(VORBookmarkDlgTest, GoShowsTheSelectedPage) {
  Open({PageRef(9), PageRef(3), PageRef(1)});
  Select(1);
  Press(VORBookmarkDlg::kGoId);
  EXPECT_EQ(m_player.ShownIn(1), PageRef(1));
  Open({PageRef(9), PageRef(3), PageRef(1)});
  DoubleClick(0);
  EXPECT_EQ(m_player.ShownIn(1), PageRef(3));
  Press(VORBookmarkDlg::kGoId); // nothing selected: nothing happens
}

// Add appends the page the dialog was asked from once, and then is
// disabled; Cancel drops the changes.
TEST_F(VORBookmarkDlgTest, AddThenCancel) {
  Open({PageRef(1)}, PageRef(2));
  Press(VORBookmarkDlg::kAddId);
  EXPECT_EQ(Entries(), (std::vector<std::string>{"Page 1", "Page 2"}));
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(m_window, VORBookmarkDlg::kAddId)));
  EXPECT_EQ(m_dialog->GetWorkingCopy(), (Pages{PageRef(1), PageRef(2)}));
  Press(IDCANCEL);
  EXPECT_EQ(m_list, (Pages{PageRef(1)}));
  Open({PageRef(1)}, PageRef(1));
  Press(VORBookmarkDlg::kAddId);
  EXPECT_EQ(Entries(), (std::vector<std::string>{"Page 1"}));
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(m_window, VORBookmarkDlg::kAddId)));
}

// Delete all asks first, in the program's own words.
TEST_F(VORBookmarkDlgTest, DeleteAllAsksFirst) {
  Open({PageRef(1), PageRef(2)});
  g_boxAnswer = IDCANCEL;
  Press(VORBookmarkDlg::kDeleteAllId);
  EXPECT_EQ(Entries().size(), 2u);
  g_boxAnswer = IDOK;
  Press(VORBookmarkDlg::kDeleteAllId);
  EXPECT_TRUE(Entries().empty());
  ASSERT_EQ(g_boxes.size(), 2u);
  // The accented letter depends on the code page: the rest is checked.
  EXPECT_EQ(g_boxes[0].rfind("Attenzione: Si ", 0), 0u) << g_boxes[0];
  EXPECT_NE(g_boxes[0].find(" certi di voler cancellare tutti i segnalibri?"), std::string::npos) << g_boxes[0];
  Press(IDOK);
  EXPECT_TRUE(m_list.empty());
}

} // namespace
