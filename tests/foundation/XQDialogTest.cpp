#include "foundation/XQDialog.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>

#include "XQDialogTest.h"
#include "foundation/VORException.h"

namespace {

constexpr UINT kStepMs = 20;

// The test dialog with a record of what it was asked.
class TestDialog : public XQDialog {
public:
  TestDialog() : XQDialog(GetModuleHandleA(nullptr), IDD_TEST_DIALOG, nullptr) {}

  bool okAgrees = true;
  int okCalls = 0;
  int cancelCalls = 0;
  int commands = 0;
  bool initialised = false;
  std::string text;

protected:
  bool OnInitDialog() override {
    initialised = true;
    return true;
  }
  bool OnOK() override {
    ++okCalls;
    char buffer[64] = {};
    GetDlgItemTextA(GetWindow(), IDC_TEST_EDIT, buffer, sizeof buffer);
    text = buffer;
    return okAgrees;
  }
  bool OnCancel() override {
    ++cancelCalls;
    return true;
  }
  // The test's own clicks; the controls' focus notifications pass.
  bool OnCommand(WPARAM wParam, LPARAM) override {
    if (HIWORD(wParam) != BN_CLICKED)
      return false;
    ++commands;
    if (LOWORD(wParam) == IDC_TEST_BUTTON)
      throw new VORException();
    throw std::runtime_error("any other command");
  }
};

// Runs the steps one per timer tick while the dialog's own modal loop runs;
// a step answers false to be tried again at the next tick.
class Script {
public:
  using Step = std::function<bool()>;

  explicit Script(std::initializer_list<Step> steps) : m_steps(steps) {
    s_current = this;
    m_timer = SetTimer(nullptr, 0, kStepMs, Tick);
  }
  ~Script() {
    KillTimer(nullptr, m_timer);
    s_current = nullptr;
  }
  Script(const Script &) = delete;
  Script &operator=(const Script &) = delete;

  bool Done() const { return m_next == m_steps.size(); }

private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    Script *script = s_current;
    if (script && !script->Done() && script->m_steps[script->m_next]())
      ++script->m_next;
  }

  static Script *s_current;
  std::vector<Step> m_steps;
  size_t m_next = 0;
  UINT_PTR m_timer;
};

Script *Script::s_current = nullptr;

void Command(HWND dialog, int id) { PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }

TEST(XQDialogTest, OkReadsTheFieldsAndEndsWithOne) {
  TestDialog dialog;
  HWND seen = nullptr;
  Script script({[&] {
    seen = dialog.GetWindow();
    if (!seen)
      return false;
    SetDlgItemTextA(seen, IDC_TEST_EDIT, "typed");
    Command(seen, IDOK);
    return true;
  }});
  EXPECT_EQ(dialog.RunModal(), XQDialog::kOk);
  EXPECT_TRUE(dialog.initialised);
  EXPECT_EQ(dialog.text, "typed");
  EXPECT_TRUE(script.Done());
  // The window is gone, and its handle with it.
  EXPECT_FALSE(IsWindow(seen));
  EXPECT_EQ(dialog.GetWindow(), nullptr);
}

TEST(XQDialogTest, ItIsCentredOnTheScreenAndTopmost) {
  TestDialog dialog;
  RECT rect = {};
  LONG_PTR exStyle = 0;
  Script script({[&] {
    if (!dialog.GetWindow())
      return false;
    GetWindowRect(dialog.GetWindow(), &rect);
    exStyle = GetWindowLongPtrA(dialog.GetWindow(), GWL_EXSTYLE);
    Command(dialog.GetWindow(), IDCANCEL);
    return true;
  }});
  EXPECT_EQ(dialog.RunModal(), XQDialog::kCancel);
  EXPECT_EQ(dialog.cancelCalls, 1);
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  EXPECT_GT(width, 0);
  EXPECT_EQ(rect.left, GetSystemMetrics(SM_CXSCREEN) / 2 - width / 2);
  EXPECT_EQ(rect.top, GetSystemMetrics(SM_CYSCREEN) / 2 - height / 2);
  EXPECT_NE(exStyle & WS_EX_TOPMOST, 0);
}

TEST(XQDialogTest, ADialogWhoseOkRefusesStaysOpen) {
  TestDialog dialog;
  dialog.okAgrees = false;
  bool openAfterOk = false;
  Script script({[&] {
                   if (!dialog.GetWindow())
                     return false;
                   Command(dialog.GetWindow(), IDOK);
                   return true;
                 },
                 [&] {
                   if (dialog.okCalls == 0)
                     return false;
                   openAfterOk = IsWindowVisible(dialog.GetWindow()) != FALSE;
                   Command(dialog.GetWindow(), IDCANCEL);
                   return true;
                 }});
  EXPECT_EQ(dialog.RunModal(), XQDialog::kCancel);
  EXPECT_TRUE(openAfterOk);
  EXPECT_EQ(dialog.okCalls, 1);
}

// Whatever a handler throws stays in the dialog procedure: the dialog goes
// on and the message counts as not handled.
TEST(XQDialogTest, ExceptionsOfHandlersAreSwallowed) {
  TestDialog dialog;
  Script script({[&] {
                   if (!dialog.GetWindow())
                     return false;
                   Command(dialog.GetWindow(), IDC_TEST_BUTTON);
                   Command(dialog.GetWindow(), IDC_TEST_LIST);
                   return true;
                 },
                 [&] {
                   if (dialog.commands < 2)
                     return false;
                   Command(dialog.GetWindow(), IDCANCEL);
                   return true;
                 }});
  EXPECT_EQ(dialog.RunModal(), XQDialog::kCancel);
  EXPECT_EQ(dialog.commands, 2);
}

// Until WM_INITDIALOG has stored the object, a command finds nobody to
// take it: it is not handled, and nothing is called.
TEST(XQDialogTest, ACommandBeforeTheObjectIsStoredIsNotHandled) {
  TestDialog dialog;
  HWND window = dialog.CreateModeless();
  ASSERT_NE(window, nullptr);
  const LONG_PTR object = GetWindowLongPtrA(window, DWLP_USER);
  SetWindowLongPtrA(window, DWLP_USER, 0);
  SendMessageA(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  EXPECT_EQ(dialog.okCalls, 0);
  EXPECT_TRUE(IsWindow(window));
  SetWindowLongPtrA(window, DWLP_USER, object);
}

TEST(XQDialogTest, AModelessDialogForgetsItsWindowWhenItIsDestroyed) {
  TestDialog closedOutside;
  HWND window = closedOutside.CreateModeless();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(closedOutside.GetWindow(), window);
  DestroyWindow(window);
  EXPECT_EQ(closedOutside.GetWindow(), nullptr);

  HWND kept = nullptr;
  {
    TestDialog deleted;
    kept = deleted.CreateModeless();
    ASSERT_TRUE(IsWindow(kept));
  }
  EXPECT_FALSE(IsWindow(kept));
}

XQDialog *g_handled = nullptr;
INT_PTR AnswerOk(XQDialog &dialog) {
  g_handled = &dialog;
  return XQDialog::kOk;
}

TEST(XQDialogTest, AModalHandlerStandsInForTheDialog) {
  TestDialog dialog;
  XQDialog::ModalHandler previous = XQDialog::SetModalHandler(AnswerOk);
  EXPECT_EQ(dialog.RunModal(), XQDialog::kOk);
  EXPECT_EQ(XQDialog::SetModalHandler(previous), AnswerOk);
  EXPECT_EQ(g_handled, &dialog);
  EXPECT_FALSE(dialog.initialised);
  EXPECT_EQ(dialog.GetWindow(), nullptr);
}

} // namespace
