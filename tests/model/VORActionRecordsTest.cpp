#include <gtest/gtest.h>

#include <memory>

#include "model/VORBookmarkAction.h"
#include "model/VORBrowserAction.h"
#include "model/VORFrameStreamObjectAction.h"
#include "model/VORLaunchAction.h"
#include "model/VORPrinterAction.h"
#include "model/VORSynchronizationObjectAction.h"
#include "model/VORTrigger.h"
#include "support/FakeRecordFile.h"
#include "vorfile/VORFileException.h"

namespace {

// The fields every action record begins with (a file of version 0: no extra
// word).
RecordBytes Common(int32_t code) {
  return std::move(RecordBytes().Code(0, 0, 13).Uint32(code).Code(0, 3, 1).Code(0, 4, 2));
}

template <class Action>
std::unique_ptr<Action> Read(RecordBytes record) {
  FakeRecordFile file(record.Take());
  auto action = std::make_unique<Action>(Action::kClassKey, 1);
  action->Read(file);
  return action;
}

template <class Action>
std::unique_ptr<Action> Copy(const Action &action) {
  return std::unique_ptr<Action>(dynamic_cast<Action *>(action.Clone()));
}

TEST(VORActionRecordsTest, Bookmark) {
  auto action = Read<VORBookmarkAction>(Common(500).Code(0, 4, 9));
  EXPECT_EQ(action->GetActionCode(), 500);
  EXPECT_EQ(action->GetPage(), VORObjectCode(0, 4, 9));
  EXPECT_EQ(Copy(*action)->GetPage(), VORObjectCode(0, 4, 9));
  EXPECT_THROW(Read<VORBookmarkAction>(Common(500)), VORFileIncompleteReadException);
}

TEST(VORActionRecordsTest, Launch) {
  auto action = Read<VORLaunchAction>(Common(1000)
                                          .String("setup.exe")
                                          .String("two")
                                          .String("tools")
                                          .String("/quiet")
                                          .String("five")
                                          .String("CDROM")
                                          .Byte(7)
                                          .Byte(1));
  std::unique_ptr<VORLaunchAction> copy = Copy(*action);
  for (const VORLaunchAction *a : {action.get(), copy.get()}) {
    EXPECT_STREQ(a->fileName.CStr(), "setup.exe");
    EXPECT_STREQ(a->second.CStr(), "two");
    EXPECT_STREQ(a->directory.CStr(), "tools");
    EXPECT_STREQ(a->parameters.CStr(), "/quiet");
    EXPECT_STREQ(a->fifth.CStr(), "five");
    EXPECT_STREQ(a->location.CStr(), "CDROM");
    EXPECT_EQ(a->unusedByte, 7);
    EXPECT_EQ(a->exitAfter, 1);
  }
  EXPECT_THROW(Read<VORLaunchAction>(
                   Common(1000).String("a").String("b").String("c").String("d").String("e").String("f").Byte(0)),
               VORFileIncompleteReadException)
      << "both bytes are required";
}

// The printer's two last bytes and the browser's last byte are optional.
TEST(VORActionRecordsTest, PrinterAndBrowserWithAndWithoutTheirOptionalBytes) {
  auto printer = Read<VORPrinterAction>(Common(900).Code(0, 4, 3).Uint32(0x80000000u).String("a.txt").Byte(1).Byte(1));
  EXPECT_EQ(printer->page, VORObjectCode(0, 4, 3));
  EXPECT_EQ(printer->options, 0x80000000u);
  EXPECT_STREQ(printer->fileName.CStr(), "a.txt");
  EXPECT_EQ(printer->nameOnly, 1);
  EXPECT_EQ(printer->inTemporaryFolder, 1);
  auto shortPrinter = Read<VORPrinterAction>(Common(900).Code(0, 4, 3).Uint32(1).String("a.txt").Byte(1));
  EXPECT_EQ(shortPrinter->nameOnly, 1);
  EXPECT_EQ(shortPrinter->inTemporaryFolder, 0);
  EXPECT_EQ(Copy(*shortPrinter)->nameOnly, 1);

  auto browser = Read<VORBrowserAction>(Common(980).Byte(1).String("url").Byte(2));
  EXPECT_EQ(browser->operation, 1);
  EXPECT_STREQ(browser->text.CStr(), "url");
  EXPECT_EQ(browser->resolveMode, 2);
  auto shortBrowser = Read<VORBrowserAction>(Common(980).Byte(0).String("http://x"));
  EXPECT_EQ(shortBrowser->resolveMode, 0);
  EXPECT_STREQ(Copy(*shortBrowser)->text.CStr(), "http://x");
}

TEST(VORActionRecordsTest, FrameStreamWithAndWithoutItsValue) {
  EXPECT_EQ(Read<VORFrameStreamObjectAction>(Common(209).Uint32(4))->parameter, 4);
  EXPECT_EQ(Read<VORFrameStreamObjectAction>(Common(209))->parameter, 0);
}

// A media object's notice carries its sender; receivers turn it into the
// trigger that waits for it.
TEST(VORActionRecordsTest, SynchronisationNoticesBecomeTriggers) {
  const VORObjectCode sender(2, 0, 5);
  VORSynchronizationObjectAction started(VORSynchronizationObjectAction::kStarted, sender);
  std::unique_ptr<VORObjectAction> copy(started.Clone());
  auto *notice = dynamic_cast<VORSynchronizationObjectAction *>(copy.get());
  ASSERT_NE(notice, nullptr);
  EXPECT_EQ(notice->GetActionCode(), 700);
  EXPECT_EQ(notice->GetSender(), sender);
  const VORSynchronizationTrigger waiting(700, sender);
  EXPECT_TRUE(waiting.Matches(VORSynchronizationTrigger(notice->GetActionCode(), notice->GetSender())));
}

} // namespace
