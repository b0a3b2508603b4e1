#include "foundation/XQListCtrl.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A list control that records which operation each notification reached.
class RecordingList : public XQListCtrl {
public:
  using XQListCtrl::XQListCtrl;
  std::vector<int> calls;

protected:
  bool OnSelChange() override { return Record(LBN_SELCHANGE); }
  bool OnDoubleClick() override { return Record(LBN_DBLCLK); }
  bool OnSelCancel() override { return Record(LBN_SELCANCEL); }
  bool OnSetFocus() override { return Record(LBN_SETFOCUS); }
  bool OnKillFocus() override { return Record(LBN_KILLFOCUS); }

private:
  bool Record(int code) {
    calls.push_back(code);
    return true;
  }
};

class ListBoxWindow {
public:
  explicit ListBoxWindow(DWORD style)
      : m_window(CreateWindowExA(0, "LISTBOX", nullptr, WS_POPUP | style, 0, 0, 100, 100, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr)) {}
  ~ListBoxWindow() { DestroyWindow(m_window); }
  ListBoxWindow(const ListBoxWindow &) = delete;
  ListBoxWindow &operator=(const ListBoxWindow &) = delete;
  HWND Get() const { return m_window; }

private:
  HWND m_window;
};

TEST(XQListCtrlTest, EntriesAreAddedDeletedAndCleared) {
  ListBoxWindow box(0);
  ASSERT_NE(box.Get(), nullptr);
  XQListCtrl list(box.Get());
  EXPECT_TRUE(list.AddString("one"));
  EXPECT_TRUE(list.AddString("two"));
  EXPECT_TRUE(list.AddString("three"));
  EXPECT_EQ(list.GetCount(), 3);
  EXPECT_TRUE(list.DeleteString(1));
  EXPECT_FALSE(list.DeleteString(7));
  EXPECT_EQ(list.GetCount(), 2);
  EXPECT_TRUE(list.ResetContent());
  EXPECT_EQ(list.GetCount(), 0);
}

TEST(XQListCtrlTest, TheFirstSelectedEntryFromTheTop) {
  ListBoxWindow box(LBS_MULTIPLESEL);
  XQListCtrl list(box.Get());
  for (const char *text : {"a", "b", "c", "d"})
    list.AddString(text);
  EXPECT_EQ(list.GetFirstSelected(), XQListCtrl::kNoSelection);
  SendMessageA(box.Get(), LB_SETSEL, TRUE, 3);
  SendMessageA(box.Get(), LB_SETSEL, TRUE, 1);
  EXPECT_EQ(list.GetFirstSelected(), 1);
  XQListCtrl empty(nullptr);
  EXPECT_EQ(empty.GetFirstSelected(), XQListCtrl::kNoSelection);
}

TEST(XQListCtrlTest, OnlyTheListsOwnNotificationsReachIt) {
  ListBoxWindow box(0);
  ListBoxWindow other(0);
  RecordingList list(box.Get());
  const LPARAM fromList = reinterpret_cast<LPARAM>(box.Get());
  for (int code : {LBN_SELCHANGE, LBN_DBLCLK, LBN_SELCANCEL, LBN_SETFOCUS, LBN_KILLFOCUS})
    EXPECT_TRUE(list.HandleNotification(MAKEWPARAM(1, code), fromList)) << code;
  EXPECT_EQ(list.calls, (std::vector<int>{LBN_SELCHANGE, LBN_DBLCLK, LBN_SELCANCEL, LBN_SETFOCUS, LBN_KILLFOCUS}));

  list.calls.clear();
  // BN_PAINT and BN_DOUBLECLICKED of a button share the list's codes.
  EXPECT_FALSE(list.HandleNotification(MAKEWPARAM(IDOK, BN_PAINT), reinterpret_cast<LPARAM>(other.Get())));
  EXPECT_FALSE(list.HandleNotification(MAKEWPARAM(IDOK, BN_DOUBLECLICKED), 0));
  EXPECT_FALSE(list.HandleNotification(MAKEWPARAM(1, LBN_ERRSPACE), fromList));
  EXPECT_FALSE(list.HandleNotification(MAKEWPARAM(1, 6), fromList));
  EXPECT_TRUE(list.calls.empty());
}

} // namespace
