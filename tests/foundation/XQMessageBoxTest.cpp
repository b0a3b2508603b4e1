#include "foundation/XQMessageBox.h"
#include "foundation/VORException.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Box {
  HWND owner;
  std::string text;
  std::string caption;
  UINT style;
  int shown = 0;
} g_box;

int RecordBox(HWND owner, const char *text, const char *caption, UINT style) {
  g_box = {owner, text, caption, style, g_box.shown + 1};
  return IDOK;
}

TEST(XQMessageBoxTest, ReportsBecomeTaskModalWarningBoxesWithoutOwner) {
  XQMessageBox::Handler previousBox = XQMessageBox::SetHandler(RecordBox);
  VORReportSink previousSink = VORSetReportSink(XQMessageBox::ShowReport);

  VORNewFailException(64).Report();

  VORSetReportSink(previousSink);
  XQMessageBox::SetHandler(previousBox);
  EXPECT_EQ(g_box.shown, 1);
  EXPECT_EQ(g_box.owner, nullptr);
  EXPECT_EQ(g_box.text, "New failed : 64 bytes");
  EXPECT_EQ(g_box.caption, "VORSEEXCEPTION");
  EXPECT_EQ(g_box.style, static_cast<UINT>(MB_TASKMODAL | MB_ICONWARNING));
}

} // namespace
