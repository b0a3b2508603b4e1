#include "printing/VORPrinter.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "PrintedPages.h"
#include "model/ActionContext.h"
#include "model/VORPrinterAction.h"
#include "printing/PrintOptions.h"
#include "support/FakeApp.h"
#include "support/FakePrinter.h"
#include "support/HeadlessView.h"
#include "support/TempFile.h"

namespace {

using Calls = std::vector<std::string>;

constexpr VORObjectCode kViewReference(0, 3, 1);

// Finds the test's view by its reference, as the player finds its views.
class PrinterTestApp : public FakeApp {
public:
  VORActionReceiver *FindObject(const VORObjectCode &target, const VORObjectCode &originView,
                                const VORObjectCode &originPage) override {
    if (view != nullptr && target.Equals(kViewReference))
      return view;
    return FakeApp::FindObject(target, originView, originPage);
  }
  VORActionReceiver *view = nullptr;
};

class VORPrinterTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(pages.Read(PrintedPages::Written(3, 640, 480)));
    app.SetPublication(pages.publication.get());

    auto ownPlatform = std::make_unique<FakePrinterPlatform>(log);
    auto ownPictures = std::make_unique<FakePictureMaker>();
    platform = ownPlatform.get();
    pictures = ownPictures.get();
    printer = std::make_unique<VORPrinter>(std::move(ownPlatform), std::move(ownPictures));
    printer->SetApplication(&host);
  }

  static VORPrinterAction Request(uint32_t options, int32_t page = 2, const std::string &file = "") {
    VORPrinterAction request(VORPrinterAction::kClassKey, 1);
    request.SetActionCode(VORPrinter::kPrintAction);
    request.SetTarget(VORPrinter::kReference);
    request.page = VORObjectCode(0, 4, page);
    request.options = options;
    request.fileName = VORString(file.c_str());
    return request;
  }

  // Whatever way the job ended, nothing of it is left.
  void ExpectAllLetGo() {
    EXPECT_FALSE(host.printing);
    EXPECT_FALSE(host.dialogOpen);
    EXPECT_EQ(log.liveDevices, 0);
    EXPECT_FALSE(pictures->viewAlive);
    EXPECT_FALSE(printer->HoldsJobResources());
    EXPECT_FALSE(printer->IsBusy());
  }

  PrinterTestApp app;
  PrintedPages pages;
  RecordingPrinterDevice::Log log;
  FakePrintingHost host;
  FakePrinterPlatform *platform = nullptr;
  FakePictureMaker *pictures = nullptr;
  std::unique_ptr<VORPrinter> printer;
};

TEST_F(VORPrinterTest, WithoutDialogBitsThePageGoesToTheDefaultPrinter) {
  printer->QueueAndPrint(Request(0));
  EXPECT_EQ(platform->dialogFlags, std::vector<uint32_t>{PrintOptions::kDefaultPrinterFlags});
  // 640 x 480 from a 96-dpi screen at 600 dpi: 4000 x 3000, centred on A4.
  EXPECT_EQ(log.calls,
            (Calls{"StartDoc Vorell page", "StartPage", "Stretch 480 2008 4000 3000 of 2", "EndPage", "EndDoc"}));
  EXPECT_EQ(host.dialogsShown, 1);
  EXPECT_TRUE(platform->centred.empty());
  ExpectAllLetGo();
}

TEST_F(VORPrinterTest, SelectionDialogPrintsThePageOrEveryPage) {
  platform->chooseSelection = true;
  printer->QueueAndPrint(Request(PrintOptions::kDialogWithSelection));
  EXPECT_EQ(platform->dialogFlags, std::vector<uint32_t>{PrintOptions::kSelectionDialogFlags});
  EXPECT_EQ(pictures->capturedPages, std::vector<int32_t>{2});
  EXPECT_EQ(log.calls,
            (Calls{"StartDoc Vorell page", "StartPage", "Stretch 480 2008 4000 3000 of 2", "EndPage", "EndDoc"}));
  EXPECT_EQ(platform->centred.size(), 1u);
  ExpectAllLetGo();

  log.calls.clear();
  pictures->capturedPages.clear();
  platform->chooseSelection = false; // All
  printer->QueueAndPrint(Request(PrintOptions::kDialogWithSelection));
  EXPECT_EQ(pictures->capturedPages, (std::vector<int32_t>{2, 1, 2, 3}));
  EXPECT_EQ(log.calls, (Calls{"StartDoc Vorell pages", "StartPage", "Stretch 480 2008 4000 3000 of 1", "EndPage",
                              "StartPage", "Stretch 480 2008 4000 3000 of 2", "EndPage", "StartPage",
                              "Stretch 480 2008 4000 3000 of 3", "EndPage", "EndDoc"}));
  ExpectAllLetGo();
}

TEST_F(VORPrinterTest, ViewPictureWithAllChosenPrintsThePicture) {
  HeadlessView view(1);
  app.view = &view;
  VORPrinterAction request = Request(PrintOptions::kViewPicture | PrintOptions::kDialogWithSelection);
  request.SetOriginObject(kViewReference);
  printer->QueueAndPrint(request);
  EXPECT_EQ(pictures->capturedViews, 1);
  EXPECT_TRUE(pictures->capturedPages.empty());
  // 320 x 240 from the screen's 96 dpi: 2000 x 1500.
  EXPECT_EQ(log.calls, (Calls{"StartDoc Vorell page", "StartPage", "Stretch 1480 2758 2000 1500 of 11259375", "EndPage",
                              "EndDoc"}));
  ExpectAllLetGo();
}

TEST_F(VORPrinterTest, RequestsWithoutTheirPageOrViewAreDropped) {
  printer->QueueAndPrint(Request(PrintOptions::kViewPicture)); // sent by no view
  printer->QueueAndPrint(Request(0, 99));                      // no such page
  EXPECT_TRUE(platform->dialogFlags.empty());
  EXPECT_EQ(host.dialogsShown, 0);
  EXPECT_TRUE(log.calls.empty());
  ExpectAllLetGo();
}

TEST_F(VORPrinterTest, APrinterWithoutBitmapsAbortsTheJob) {
  platform->facts.blitsBitmaps = false;
  printer->QueueAndPrint(Request(0));
  EXPECT_EQ(platform->messages, Calls{"Printer cannot display bitmaps. / Device Error"});
  EXPECT_TRUE(log.calls.empty());
  EXPECT_EQ(pictures->releases, 1);
  ExpectAllLetGo();
}

TEST_F(VORPrinterTest, FailuresAndCancelsAbortTheDocument) {
  struct Case {
    const char *name;
    uint32_t options;
    std::string failing;
    int cancelAtPump;
    Calls expected;
  } cases[] = {
      {"dialog cancelled", PrintOptions::kShowDialog, "", 0, {}},
      {"StartDoc fails", 0, "StartDoc", 0, {"StartDoc Vorell page"}},
      {"StartPage fails", 0, "StartPage", 0, {"StartDoc Vorell page", "StartPage", "AbortDoc"}},
      {"stretch fails",
       0,
       "Stretch",
       0,
       {"StartDoc Vorell page", "StartPage", "Stretch 480 2008 4000 3000 of 2", "AbortDoc"}},
      {"EndPage fails",
       0,
       "EndPage",
       0,
       {"StartDoc Vorell page", "StartPage", "Stretch 480 2008 4000 3000 of 2", "EndPage", "AbortDoc"}},
      {"cancelled before the page", 0, "", 2, {"StartDoc Vorell page", "StartPage", "AbortDoc"}},
      {"cancelled after the first of all pages",
       PrintOptions::kDialogWithSelection,
       "",
       4,
       {"StartDoc Vorell pages", "StartPage", "Stretch 480 2008 4000 3000 of 1", "EndPage", "AbortDoc"}},
  };
  for (const Case &c : cases) {
    log.calls.clear();
    platform->cancelDialog = std::string(c.name) == "dialog cancelled";
    platform->failingCall = c.failing;
    platform->pumps = 0;
    const int cancelAt = c.cancelAtPump;
    platform->onPump = [this, cancelAt](int pump) {
      if (pump == cancelAt)
        host.CancelPrinting();
    };
    printer->QueueAndPrint(Request(c.options));
    EXPECT_EQ(log.calls, c.expected) << c.name;
    ExpectAllLetGo();
  }
}

TEST_F(VORPrinterTest, RequestsThatArriveDuringAJobPrintAfterIt) {
  platform->onPump = [this](int pump) {
    // A request raised by a message dispatched while the first one prints.
    if (pump == 1) {
      printer->QueueAndPrint(Request(0, 3));
      EXPECT_EQ(printer->GetQueuedCount(), 1u);
      EXPECT_TRUE(log.calls.empty());
    }
  };
  printer->QueueAndPrint(Request(0, 1));
  EXPECT_EQ(log.calls,
            (Calls{"StartDoc Vorell page", "StartPage", "Stretch 480 2008 4000 3000 of 1", "EndPage", "EndDoc",
                   "StartDoc Vorell page", "StartPage", "Stretch 480 2008 4000 3000 of 3", "EndPage", "EndDoc"}));
  EXPECT_EQ(host.dialogsShown, 2);
  EXPECT_EQ(printer->GetQueuedCount(), 0u);
  ExpectAllLetGo();
}

TEST_F(VORPrinterTest, ATextFilePrintsWholeLinesOnAsManySheetsAsNeeded) {
  std::string text;
  for (int i = 1; i <= 10; ++i)
    text += "Line " + std::to_string(i) + "\n";
  TempFile file(".txt");
  ASSERT_TRUE(file.Write(text));
  // Margins of 10 characters (80) and 5 lines (80): a 100-pixel column.
  platform->facts = PrinterDevice::Facts{600, 600, 400, 260, true};
  printer->QueueAndPrint(Request(PrintOptions::kTextFile, 2, file.Path()));
  ASSERT_FALSE(log.calls.empty());
  EXPECT_EQ(log.calls.front(), "StartDoc Vorell - text file");
  EXPECT_EQ(log.calls.back(), "EndDoc");
  ASSERT_EQ(log.sheets.size(), 2u);
  int next = 1;
  for (const std::vector<DrawnText> &sheet : log.sheets)
    for (const DrawnText &line : sheet) {
      EXPECT_EQ(line.text, "Line " + std::to_string(next++));
      EXPECT_GE(line.y, 80);
      EXPECT_LE(line.y + 16, 180);
    }
  EXPECT_EQ(next, 11);
  EXPECT_TRUE(pictures->capturedPages.empty());
  ExpectAllLetGo();
}

TEST_F(VORPrinterTest, AMissingTextFileIsReportedAndEndsTheJob) {
  VORPrinterAction request = Request(PrintOptions::kTextFile, 2, "c:\\nowhere\\missing.txt");
  request.nameOnly = 1;
  printer->QueueAndPrint(request);
  EXPECT_EQ(platform->messages, Calls{"Cannot open file - missing.txt / File Error"});
  EXPECT_TRUE(log.calls.empty());
  ExpectAllLetGo();
}

TEST_F(VORPrinterTest, TakesOnlyPrintRequests) {
  ActionContext context = ActionContext::FromAction(Request(0));
  VORPrinterAction wrongCode = Request(0);
  wrongCode.SetActionCode(901);
  EXPECT_FALSE(printer->ReceiveAction(wrongCode, context));
  VORObjectAction plain(VORObjectCode::MakeClassKey(3, 1), 1);
  plain.SetActionCode(VORPrinter::kPrintAction);
  EXPECT_FALSE(printer->ReceiveAction(plain, context));
  VORPrinterAction request = Request(0);
  EXPECT_TRUE(printer->ReceiveAction(request, context));
  EXPECT_EQ(log.calls.size(), 5u);
}

} // namespace
