#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>

#include "engine/VORScoreObjectAction.h"
#include "engine/VORStoreInfoObjectAction.h"
#include "model/VORActionList.h"
#include "model/VORBookmarkAction.h"
#include "model/VORBrowserAction.h"
#include "model/VOREvent.h"
#include "model/VORFrameStreamObjectAction.h"
#include "model/VORLaunchAction.h"
#include "model/VORPlayerGotoPageAction.h"
#include "model/VORPrinterAction.h"
#include "model/VORSynchronizationObjectAction.h"
#include "model/VORTrigger.h"
#include "support/FakeApp.h"
#include "support/FakeRecordFile.h"
#include "support/PublicationRecords.h"
#include "support/WrittenFolder.h"
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

template <class Action>
const Action &As(const VORActionList &list, uint32_t n) {
  const auto *action = dynamic_cast<const Action *>(list.GetAction(n));
  if (!action)
    throw std::runtime_error("action " + std::to_string(n) + " is of another class");
  return *action;
}

// One written action of each kind, in an event as a page holds it, comes
// back with its class and its last field, before and after the version that
// added the extra word to the common fields.
TEST(VORActionRecordsTest, EveryKindReadFromAnEventOfEitherVersion) {
  FakeApp app;
  for (const uint32_t version : {0u, 0x4000003u}) {
    const bool withExtraWord = version > VORObjectAction::kExtraWordVersion;
    PublicationRecords::Event written;
    written.objects = PublicationRecords::EveryActionKind(withExtraWord);
    const PublicationRecords::ListedObject object = written.Object();
    WrittenFolder folder([&](PublicationWriter::Folder &f) { object.AddTo(f); }, version);
    VOREvent event(static_cast<int32_t>(written.id));
    event.Read(folder.File());
    ASSERT_NE(event.GetActionList(), nullptr) << version;
    const VORActionList &list = *event.GetActionList();
    ASSERT_EQ(list.GetCount(), written.objects.size()) << version;
    EXPECT_EQ(folder.File().GetSkippedObjectCount(), 0u) << version;
    for (uint32_t i = 0; i < list.GetCount(); ++i)
      EXPECT_EQ(list.GetAction(i)->GetExtraWord(), withExtraWord ? 7 : 0) << version << ", action " << i;

    EXPECT_EQ(list.GetAction(0)->GetClassKey(), VORObjectAction::kClassKey);
    EXPECT_EQ(list.GetAction(0)->GetTarget(), VORObjectCode(1, 2, 5));
    EXPECT_EQ(list.GetAction(0)->GetActionCode(), 12);
    EXPECT_EQ(As<VORPlayerGotoPageAction>(list, 1).GetTargetPage(), VORObjectCode(0, 4, 2));
    EXPECT_EQ(As<VORBookmarkAction>(list, 2).GetPage(), VORObjectCode(0, 4, 1));
    const auto &launch = As<VORLaunchAction>(list, 3);
    EXPECT_STREQ(launch.location.CStr(), "PUBDIR");
    EXPECT_EQ(launch.exitAfter, 1);
    const auto &printer = As<VORPrinterAction>(list, 4);
    EXPECT_EQ(printer.options, 0x10000000u);
    EXPECT_STREQ(printer.fileName.CStr(), "notes.txt");
    EXPECT_EQ(printer.nameOnly, 1);
    const auto &browser = As<VORBrowserAction>(list, 5);
    EXPECT_STREQ(browser.text.CStr(), "URL");
    EXPECT_EQ(browser.resolveMode, 2);
    EXPECT_EQ(As<VORFrameStreamObjectAction>(list, 6).parameter, 3);
    const auto &score = As<VORScoreObjectAction>(list, 7);
    EXPECT_EQ(score.GetActionCode(), 804);
    EXPECT_EQ(score.points, 5);
    EXPECT_STREQ(score.question.CStr(), "q1");
    const auto &store = As<VORStoreInfoObjectAction>(list, 8);
    EXPECT_STREQ(store.text.CStr(), "SCORE_VALUE * 2");
    EXPECT_STREQ(store.targetVariable.CStr(), "doubled");
    EXPECT_EQ(store.sourceInTemporaryFolder, 1);
    EXPECT_EQ(store.targetNameInVariable, 0);
  }
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
