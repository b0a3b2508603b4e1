#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <string>
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
#include "objects/VORFrame.h"
#include "objects/VORImage.h"
#include "objects/VORText.h"
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

// A 320 x 240 window without frame or caption whose one chapter holds one
// green page of the given size, answered.
VORPlayerPage *OnePageWindow(VORPublication &publication, int32_t pageWidth, int32_t pageHeight) {
  auto &properties = publication.GetPublicationProperties();
  properties.fullScreen = 0;
  properties.border = 2;
  properties.titleBar = 0;
  properties.width = 320;
  properties.height = 240;
  properties.flags = 0;
  auto *chapter = new VORChapter(VORChapter::kClassKey, 1);
  publication.InsertAfter(chapter, nullptr);
  chapter->GetChapterProperties().pageWidth = pageWidth;
  chapter->GetChapterProperties().pageHeight = pageHeight;
  auto *page = new VORPlayerPage(VORPlayerPage::kClassKey, 1);
  chapter->InsertAfter(page, nullptr);
  page->GetPageProperties().rect = VORRect(0, 0, pageWidth, pageHeight);
  page->GetPageProperties().backgroundColor = kGreen;
  return page;
}

// A 320 x 240 window without frame or caption showing a 200 x 100 page,
// centred with its top-left corner at (60, 70), holding two objects.
class PageLayoutTest : public ::testing::Test {
protected:
  PageLayoutTest() : m_publication(VORPublication::kClassKey, -1) {
    m_page = OnePageWindow(m_publication, 200, 100);
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

// A page of the window's size whose frame holds a text that fits its height
// to its width: the text is far longer than the page.
class GrowingPageTest : public ::testing::Test {
protected:
  static constexpr int kLines = 40;

  GrowingPageTest() : m_publication(VORPublication::kClassKey, -1) {
    m_page = OnePageWindow(m_publication, 320, 240);
    m_app.SetPublication(&m_publication);
    m_app.SetPageManager(&m_pages);

    m_frame = new VORPlayerFrame(VORObjectCode::MakeClassKey(VORFrame::kCategory, VORFrame::kCode), 1);
    m_frame->GetGraphicalProperties().layoutRect = VORRect(10, 10, 310, 60);
    m_text = new VORPlayerText(VORObjectCode::MakeClassKey(VORText::kCategory, VORText::kCode), 2);
    VORGraphicalObject::VORGraphicalObjectProperties &graphical = m_text->GetGraphicalProperties();
    graphical.layoutRect = VORRect(0, 0, 300, 50);
    graphical.horizontalSizing = 1;
    graphical.verticalSizing = 2; // the height follows the width
    std::string rtf = "{\\rtf1 ";
    for (int line = 1; line <= kLines; ++line)
      rtf += "Line " + std::to_string(line) + " of a text far longer than its page\\par ";
    m_text->GetTextProperties().rtfText = rtf + "}";
    m_frame->InsertAfter(m_text, nullptr);
    // What reading the frame and loading the page's objects do.
    m_frame->GetFrameLayout().SetBounds(m_frame->GetLayoutRect());
    m_page->GetMasterInstance().InsertAfter(m_frame, nullptr);
    m_page->GetMasterLayoutManager()->SetBounds(m_page->GetPageRect());
  }

  FakeApp m_app;
  KeepingPageManager m_pages;
  VORPublication m_publication;
  VORPlayerPage *m_page;
  VORPlayerFrame *m_frame;
  VORPlayerText *m_text;
};

// The frame answers for its text: the page grows to the text's height, the
// scroll range reaches the text's last line and, scrolled to the end, the
// last line shows in the window.
TEST_F(GrowingPageTest, AFrameFittingItsTextGrowsThePageToTheTextsLastLine) {
  EXPECT_TRUE(m_frame->FitsHeightToWidth());
  auto view = std::make_unique<TestView>(VORRunView::kMainViewId);
  ASSERT_TRUE(view->CreateViewWindow(::GetModuleHandleA(nullptr), nullptr, 0));
  ASSERT_TRUE(m_page->ShowInView(*view, false));
  view->Settle();
  HWND window = view->GetWindow();

  const int32_t textHeight = m_text->GetTextHeight();
  ASSERT_GT(textHeight, 2 * 240) << "the text is several pages long";
  const VORRect textRect = m_text->GetRect();
  EXPECT_EQ(textRect, VORRect(10, 10, 310, 10 + textHeight)) << "the text has all the height it needs";
  EXPECT_EQ(m_frame->GetRect(), textRect);
  // The space the design left below the frame stays below it.
  EXPECT_EQ(view->GetPageRect(), VORRect(0, 0, 320, textRect.bottom + 180));
  SCROLLINFO info = {};
  info.cbSize = sizeof info;
  info.fMask = SIF_ALL;
  ASSERT_TRUE(::GetScrollInfo(window, SB_VERT, &info));
  EXPECT_GE(info.nMax, textRect.bottom);

  ::SendMessageA(window, WM_VSCROLL, SB_BOTTOM, 0);
  view->Settle();
  // The scroll bars take their room from the client area.
  RECT client;
  ::GetClientRect(window, &client);
  const int32_t originY = view->GetScrollOrigin().y;
  // The last line that holds letters (the closing paragraph mark makes an
  // empty line after it).
  const std::vector<TextLine> &lines = m_text->GetLines();
  const TextLine *lastWritten = &lines.front();
  for (const TextLine &line : lines)
    if (!line.runs.empty() && line.runs.front().text.find("Line") == 0)
      lastWritten = &line;
  const TextLine &last = *lastWritten;
  ASSERT_EQ(last.runs.front().text.rfind("Line " + std::to_string(kLines) + " ", 0), 0u);
  const int top = textRect.top + m_text->GetMarginY() + last.top + originY;
  const int bottom = textRect.top + m_text->GetMarginY() + last.Bottom() + originY;
  ASSERT_GE(top, 0);
  ASSERT_LE(bottom, client.bottom) << "the last line lies in the window";
  int dark = 0;
  for (int y = top; y < bottom; ++y)
    for (int x = 10; x < 310; ++x) {
      const COLORREF pixel = WindowPixel(window, x, y);
      if (GetRValue(pixel) < 96 && GetGValue(pixel) < 96 && GetBValue(pixel) < 96)
        ++dark;
    }
  EXPECT_GT(dark, 20) << "the last line's letters show";
  m_page->RemoveFromView(*view);
}

} // namespace
