#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>

#include "PrintedPages.h"
#include "display/MemoryDCPool.h"
#include "display/SurfaceBitmapPool.h"
#include "model/VORPageManager.h"
#include "model/VORPlayerPage.h"
#include "model/VORPrinterAction.h"
#include "printing/PrintOptions.h"
#include "printing/PrinterViewPictureMaker.h"
#include "printing/VORPrinter.h"
#include "support/FakeApp.h"
#include "support/FakePrinter.h"
#include "support/PublicationRecords.h"

namespace {

class KeepingPageManager : public VORPageManager {
public:
  bool LoadPage(VORPage & /*page*/) override { return true; }
  void RemovePage(VORPage & /*page*/) override {}
};

// The process's GDI objects. Wine's GetGuiResources answers 0; there a
// handle's table index alone names its object, so the table is counted.
DWORD GdiObjects() {
  const DWORD counted = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
  if (counted != 0)
    return counted;
  constexpr ULONG_PTR kHandleIndexes = 0x10000;
  DWORD live = 0;
  for (ULONG_PTR index = 1; index < kHandleIndexes; ++index)
    if (::GetObjectType(reinterpret_cast<HGDIOBJ>(index)) != 0)
      ++live;
  return live;
}

// Under Wine: the live objects by kind (OBJ_PEN 1 ... OBJ_COLORSPACE 14), so
// that a count that differs says what differs.
std::string GdiObjectKinds() {
  constexpr ULONG_PTR kHandleIndexes = 0x10000;
  std::map<DWORD, int> kinds;
  for (ULONG_PTR index = 1; index < kHandleIndexes; ++index)
    if (const DWORD kind = ::GetObjectType(reinterpret_cast<HGDIOBJ>(index)))
      ++kinds[kind];
  std::string text;
  for (const auto &kind : kinds)
    text += " " + std::to_string(kind.first) + ":" + std::to_string(kind.second);
  return text;
}

// Pages of 320 x 240 composed in a real printer view.
class PrinterViewTest : public ::testing::Test {
protected:
  void SetUp() override {
    PublicationRecords::Publication written = PrintedPages::Written(3, 320, 240);
    // The first page prints itself when it shows, and moves on after a
    // second: neither may happen to its printed copy.
    PublicationRecords::PageProperties &first = written.chapters[0].pages[0].properties;
    PublicationRecords::PrinterAction request;
    request.page = VORObjectKey{0, 4, 1};
    PublicationRecords::Event event;
    event.objects = {request.Object()};
    event.delays = {0};
    first.events.list = {event.Object()};
    first.events.triggers = {PublicationRecords::AutoStartTrigger(1)};
    first.events.indexes = {0};
    first.timedPageDelay = 1000;
    first.timedPage = VORObjectKey{0, 4, 2};
    ASSERT_TRUE(printed.Read(written));
    app.SetPublication(printed.publication.get());
    app.SetPageManager(&pages);
    app.SetInstanceHandle(::GetModuleHandleA(nullptr));
  }

  VORPage &Page(int32_t id) {
    VORRecursiveObjectContainer *found = nullptr;
    EXPECT_TRUE(printed.publication->FindPage(VORObjectCode(0, 4, id), found));
    return *dynamic_cast<VORPage *>(found);
  }

  FakeApp app;
  KeepingPageManager pages;
  PrintedPages printed;
};

TEST_F(PrinterViewTest, ComposesThePageInAWindowOfItsOwn) {
  PrinterViewPictureMaker maker(::GetModuleHandleA(nullptr));
  PagePicture picture;
  ASSERT_TRUE(maker.CapturePage(Page(1), picture));
  EXPECT_EQ(picture.Width(), 320);
  EXPECT_EQ(picture.Height(), 240);
  // Nothing on the page: the composed picture is white.
  EXPECT_EQ(picture.bits[0], 0xFF);
  HWND window = maker.GetPrinterViewWindow();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(::GetParent(window), nullptr);
  RECT placed = {};
  ::GetWindowRect(window, &placed);
  EXPECT_EQ(placed.left, 0);
  EXPECT_EQ(placed.top, 0);
  EXPECT_TRUE(Page(1).IsShown());
  EXPECT_TRUE(app.ScheduledActions().empty());
  // The next page takes the view's place; the first leaves it.
  ASSERT_TRUE(maker.CapturePage(Page(2), picture));
  EXPECT_FALSE(Page(1).IsShown());
  maker.ReleasePrinterView();
  EXPECT_FALSE(Page(2).IsShown());
  EXPECT_FALSE(::IsWindow(window));
}

TEST_F(PrinterViewTest, ClosingTheWindowLeavesTheViewToItsOwner) {
  PrinterViewPictureMaker maker(::GetModuleHandleA(nullptr));
  PagePicture picture;
  ASSERT_TRUE(maker.CapturePage(Page(1), picture));
  HWND window = maker.GetPrinterViewWindow();
  ::SendMessageA(window, WM_CLOSE, 0, 0);
  // Still there, while the job may use it; it only takes no more pages.
  EXPECT_TRUE(maker.HasPrinterView());
  EXPECT_TRUE(::IsWindow(window));
  EXPECT_TRUE(app.ClosedWindows().empty());
  EXPECT_FALSE(maker.CapturePage(Page(2), picture));
  maker.ReleasePrinterView();
  EXPECT_FALSE(::IsWindow(window));
}

TEST_F(PrinterViewTest, ACancelledJobLeavesNoSystemObjectsBehind) {
  RecordingPrinterDevice::Log log;
  auto platform = std::make_unique<FakePrinterPlatform>(log);
  FakePrinterPlatform &fake = *platform;
  FakePrintingHost host;
  VORPrinter printer(std::move(platform), std::make_unique<PrinterViewPictureMaker>(::GetModuleHandleA(nullptr)));
  printer.SetApplication(&host);
  VORPrinterAction request(VORPrinterAction::kClassKey, 1);
  request.SetActionCode(VORPrinter::kPrintAction);
  request.page = VORObjectCode(0, 4, 1);
  request.options = PrintOptions::kDialogWithSelection; // all pages
  // Warm up once: window classes and stock objects stay for the process.
  printer.QueueAndPrint(request);
  ASSERT_FALSE(log.calls.empty());
  EXPECT_EQ(log.calls.back(), "EndDoc");

  // The system colours' brushes are made on first use and kept for the
  // process: the progress dialog asks for one only when it paints before the
  // job ends, so all of them are made before counting.
  for (int colour = COLOR_SCROLLBAR; colour <= COLOR_MENUBAR; ++colour)
    ::GetSysColorBrush(colour);
  // The bitmaps and device contexts kept for later pages are let go before
  // each count: the job would take those the warm-up left.
  SurfaceBitmapPool::Trim();
  MemoryDCPool::Clear();
  const DWORD gdiBefore = GdiObjects();
  const std::string kindsBefore = GdiObjectKinds();
  ASSERT_GT(gdiBefore, 0u);
  log.calls.clear();
  fake.pumps = 0;
  DWORD gdiDuring = 0;
  fake.onPump = [&host, &gdiDuring](int pump) {
    if (pump == 4) {
      gdiDuring = GdiObjects();
      host.CancelPrinting();
    }
  };
  printer.QueueAndPrint(request);
  EXPECT_EQ(log.calls.back(), "AbortDoc");
  // The count sees the printer view's screen buffer while the job runs.
  EXPECT_GT(gdiDuring, gdiBefore);
  EXPECT_EQ(log.liveDevices, 0);
  EXPECT_FALSE(host.printing);
  EXPECT_FALSE(printer.HoldsJobResources());
  EXPECT_FALSE(Page(1).IsShown());
  SurfaceBitmapPool::Trim();
  MemoryDCPool::Clear();
  EXPECT_EQ(GdiObjects(), gdiBefore) << "before:" << kindsBefore << "\nafter: " << GdiObjectKinds();
}

} // namespace
