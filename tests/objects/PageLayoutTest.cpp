#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <vector>

#include "display/DrawingContext.h"
#include "display/VORInputDispatcher.h"
#include "display/VORPlayerView.h"
#include "model/ActionContext.h"
#include "model/VORChapter.h"
#include "model/VORGraphicalObjectContainerManager.h"
#include "model/VORPageInstance.h"
#include "model/VORPageManager.h"
#include "model/VORPlayerPage.h"
#include "model/VORPublication.h"
#include "objects/VORImage.h"
#include "support/FakeApp.h"

namespace {

constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

// A picture object that fills its rectangle with one colour, so that where
// it was placed shows on the screen.
class FilledImage : public VORPlayerImage {
public:
  FilledImage(VORRect layout, COLORREF fill) : VORPlayerImage(MakeClassKey(), 1), colour(fill) {
    GetGraphicalProperties().layoutRect = layout;
  }
  FilledImage(const FilledImage &other) = default;
  VORPageMember *Clone() const override { return new FilledImage(*this); }
  bool IsEmpty(bool /*withChildren*/) override { return false; }
  // Remembers the input it hears, moves left out.
  bool ReceiveAction(VORObjectAction &action, ActionContext &context) override {
    const int32_t code = action.GetActionCode();
    if (code != VORInput::kPointerMoved && code != VORInput::kPointerRefresh)
      received.push_back(code);
    return VORPlayerImage::ReceiveAction(action, context);
  }
  void DrawContent(const VORRect & /*rect*/, DrawingContext &context) override {
    context.SetPenColor(colour);
    context.SetBrushColor(colour);
    context.DrawRectangle(GetRect());
    context.DeletePen();
    context.DeleteBrush();
  }

  COLORREF colour;
  std::vector<int32_t> received;

private:
  static uint32_t MakeClassKey() { return VORObjectCode::MakeClassKey(VORImage::kCategory, VORImage::kCode); }
};

class KeepingPageManager : public VORPageManager {
public:
  bool LoadPage(VORPage & /*page*/) override { return true; }
  void RemovePage(VORPage & /*page*/) override {}
};

// A view that completes the page entry at once, as the main loop does when
// no transition runs.
class TestView : public VORPlayerView {
public:
  using VORPlayerView::VORPlayerView;
  void Settle() {
    for (int i = 0; i < 3; ++i)
      OnIdle();
    FlushDirtyRects();
    Refresh();
    MSG message;
    while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&message);
      ::DispatchMessageA(&message);
    }
  }
};

COLORREF WindowPixel(HWND window, int x, int y) {
  HDC dc = ::GetDC(window);
  const COLORREF colour = ::GetPixel(dc, x, y);
  ::ReleaseDC(window, dc);
  return colour & 0xFFFFFF;
}

// A 320 x 240 window without frame or caption showing a 200 x 100 page,
// centred with its top-left corner at (60, 70), holding two objects.
class PageLayoutTest : public ::testing::Test {
protected:
  PageLayoutTest() : m_publication(VORPublication::kClassKey, -1) {
    auto &properties = m_publication.GetPublicationProperties();
    properties.fullScreen = 0;
    properties.border = 2;
    properties.titleBar = 0;
    properties.width = 320;
    properties.height = 240;
    properties.flags = 0;
    auto *chapter = new VORChapter(VORChapter::kClassKey, 1);
    m_publication.InsertAfter(chapter, nullptr);
    chapter->GetChapterProperties().pageWidth = 200;
    chapter->GetChapterProperties().pageHeight = 100;
    m_page = new VORPlayerPage(VORPlayerPage::kClassKey, 1);
    chapter->InsertAfter(m_page, nullptr);
    m_page->GetPageProperties().rect = VORRect(0, 0, 200, 100);
    m_page->GetPageProperties().backgroundColor = kGreen;
    m_app.SetPublication(&m_publication);
    m_app.SetPageManager(&m_pages);
    VORPageInstance &master = m_page->GetMasterInstance();
    m_red = new FilledImage(VORRect(20, 10, 70, 40), kRed);
    master.InsertAfter(m_red, nullptr);
    m_blue = new FilledImage(VORRect(100, 50, 180, 90), kBlue);
    master.InsertAfter(m_blue, nullptr);
    // What loading the page's objects does.
    m_page->GetMasterLayoutManager()->SetBounds(m_page->GetPageRect());
  }

  std::unique_ptr<TestView> MakeView(int32_t id) {
    auto view = std::make_unique<TestView>(id);
    EXPECT_TRUE(view->CreateViewWindow(::GetModuleHandleA(nullptr), nullptr, 0));
    return view;
  }

  FakeApp m_app;
  KeepingPageManager m_pages;
  VORPublication m_publication;
  VORPlayerPage *m_page;
  FilledImage *m_red;
  FilledImage *m_blue;
};

TEST_F(PageLayoutTest, ShownObjectsTakeTheirPlacesAndPaintThere) {
  auto view = MakeView(VORRunView::kMainViewId);
  ASSERT_TRUE(m_page->ShowInView(*view, false));
  view->Settle();
  // At the design size: the layout rectangles, in page coordinates.
  EXPECT_EQ(m_red->GetRect(), VORRect(20, 10, 70, 40));
  EXPECT_EQ(m_blue->GetRect(), VORRect(100, 50, 180, 90));
  HWND window = view->GetWindow();
  // Beside the objects, whatever the page shows where nothing stands.
  const COLORREF bare = WindowPixel(window, 60 + 5, 70 + 5);
  ASSERT_NE(bare, kRed);
  ASSERT_NE(bare, kBlue);
  struct Probe {
    int x, y;
    COLORREF colour;
  } probes[] = {{60 + 20, 70 + 10, kRed},   {60 + 69, 70 + 39, kRed},   {60 + 70, 70 + 20, bare},
                {60 + 100, 70 + 50, kBlue}, {60 + 179, 70 + 89, kBlue}, {60 + 99, 70 + 60, bare},
                {60 + 140, 70 + 90, bare},  {60 + 19, 70 + 9, bare}};
  for (const Probe &p : probes)
    EXPECT_EQ(WindowPixel(window, p.x, p.y), p.colour) << p.x << ", " << p.y;
  m_page->RemoveFromView(*view);
}

// A page of the same size with no objects, shown next in the same view,
// shows nothing of the objects of the page before.
TEST_F(PageLayoutTest, TheNextPageOfTheSameSizeShowsNothingOfTheLastOnesObjects) {
  VORChapter *chapter = m_page->GetChapter();
  auto *emptyPage = new VORPlayerPage(VORPlayerPage::kClassKey, 2);
  chapter->InsertAfter(emptyPage, m_page);
  emptyPage->GetPageProperties().rect = m_page->GetPageProperties().rect;
  emptyPage->GetPageProperties().backgroundColor = kGreen;
  auto view = MakeView(VORRunView::kMainViewId);
  ASSERT_TRUE(m_page->ShowInView(*view, false));
  view->Settle();
  HWND window = view->GetWindow();
  ASSERT_EQ(WindowPixel(window, 60 + 30, 70 + 20), kRed);
  m_page->RemoveFromView(*view);
  ASSERT_TRUE(emptyPage->ShowInView(*view, false));
  view->Settle();
  EXPECT_EQ(WindowPixel(window, 60 + 30, 70 + 20), WindowPixel(window, 60 + 5, 70 + 5));
  EXPECT_EQ(WindowPixel(window, 60 + 140, 70 + 70), WindowPixel(window, 60 + 5, 70 + 5));
  emptyPage->RemoveFromView(*view);
}

TEST_F(PageLayoutTest, ACopyInASecondViewLaysOutItsOwnObjects) {
  auto first = MakeView(VORRunView::kMainViewId);
  auto second = MakeView(VORRunView::kMainViewId + 1);
  ASSERT_TRUE(m_page->ShowInView(*first, false));
  ASSERT_TRUE(m_page->ShowInView(*second, false));
  VORPageInstance *copy = m_page->FindInstance(*second);
  ASSERT_NE(copy, nullptr);
  ASSERT_TRUE(copy->IsCopy());
  ASSERT_NE(copy->GetLayoutManager(), nullptr);
  EXPECT_NE(copy->GetLayoutManager(), m_page->GetMasterLayoutManager());
  auto *copiedBlue = dynamic_cast<FilledImage *>(copy->ChildAt(1));
  ASSERT_NE(copiedBlue, nullptr);
  EXPECT_EQ(copiedBlue->GetRect(), VORRect(100, 50, 180, 90));
  // The copy laid out larger leaves the master's objects where they are.
  copy->SetRect(VORRect(0, 0, 400, 200));
  EXPECT_EQ(copiedBlue->GetRect(), VORRect(200, 100, 360, 180));
  EXPECT_EQ(m_blue->GetRect(), VORRect(100, 50, 180, 90));
  m_page->RemoveFromView(*second);
  m_page->RemoveFromView(*first);
}

// Switching to another window while buttons and a key are held lets go of
// them on the page: left up, right up, key up, once.
TEST_F(PageLayoutTest, LosingTheFocusLetsGoOfHeldButtonsAndKeys) {
  auto view = MakeView(VORRunView::kMainViewId);
  ASSERT_TRUE(m_page->ShowInView(*view, false));
  view->Settle();
  HWND window = view->GetWindow();
  // The red image's middle, in client coordinates.
  const LPARAM onRed = MAKELPARAM(60 + 45, 70 + 25);
  ::SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, onRed);
  ::SendMessageA(window, WM_RBUTTONDOWN, MK_RBUTTON, onRed);
  ::SendMessageA(window, WM_KEYDOWN, 'A', 1);
  EXPECT_EQ(m_red->received, (std::vector<int32_t>{VORInput::kLeftDown, VORInput::kRightDown, 9}));
  m_red->received.clear();
  ::SendMessageA(window, WM_KILLFOCUS, 0, 0);
  EXPECT_EQ(m_red->received, (std::vector<int32_t>{VORInput::kLeftUp, VORInput::kRightUp, 10}));
  m_red->received.clear();
  ::SendMessageA(window, WM_KILLFOCUS, 0, 0);
  EXPECT_TRUE(m_red->received.empty()) << "nothing is held any longer";
  m_page->RemoveFromView(*view);
}

} // namespace
