#include "printing/PrintOptions.h"

#include <gtest/gtest.h>

namespace {

using namespace PrintOptions;

TEST(PrintOptionsTest, DialogFlagsFollowTheBits) {
  struct Case {
    uint32_t options;
    uint32_t flags;
    bool dialog;
  } cases[] = {
      {0, 0x100509, false},
      {kTextFile | kViewPicture, 0x100509, false},
      {kDefaultPrinter, 0x100509, false},
      {kShowDialog, 0x10010C, true},
      {kShowDialog | kDefaultPrinter, 0x10010C, true},
      {kDialogWithSelection, 0x100109, true},
      {kDialogWithSelection | kShowDialog | kDefaultPrinter, 0x100109, true},
  };
  for (const Case &c : cases) {
    EXPECT_EQ(DialogFlags(c.options), c.flags) << std::hex << c.options;
    EXPECT_EQ(ShowsDialog(c.options), c.dialog) << std::hex << c.options;
  }
}

TEST(PrintOptionsTest, AllPagesOnlyForPagesAnsweredWithoutSelection) {
  struct Case {
    uint32_t options;
    bool selection;
    bool allPages;
  } cases[] = {
      {kDialogWithSelection, false, true},
      {kDialogWithSelection, true, false},
      {kShowDialog, false, false},
      {0, false, false},
      // A view's picture and a text file have no pages to go through.
      {kDialogWithSelection | kViewPicture, false, false},
      {kDialogWithSelection | kTextFile, false, false},
  };
  for (const Case &c : cases)
    EXPECT_EQ(PrintsAllPages(c.options, c.selection), c.allPages) << std::hex << c.options << " " << c.selection;
}

TEST(PrintOptionsTest, KindAndProgressDialogPlace) {
  EXPECT_EQ(KindOf(0), Kind::Page);
  EXPECT_EQ(KindOf(kViewPicture), Kind::ViewPicture);
  EXPECT_EQ(KindOf(kViewPicture | kTextFile), Kind::TextFile);
  EXPECT_FALSE(CentresProgressDialog(0));
  EXPECT_FALSE(CentresProgressDialog(kShowDialog));
  EXPECT_TRUE(CentresProgressDialog(kDefaultPrinter));
  EXPECT_TRUE(CentresProgressDialog(kDialogWithSelection));
}

} // namespace
