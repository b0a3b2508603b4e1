#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "OnePagePublication.h"
#include "display/VORInputDispatcher.h"
#include "model/VORPageInstance.h"
#include "model/VORPlayerPage.h"
#include "objects/VORText.h"
#include "support/FakeApp.h"
#include "support/HeadlessView.h"

namespace {

// A text on a page shown in a view without a window. Its line holds two links, 5 ("aaaa") then 6
// ("bbbb"), listed in the record as 6 before 5.
class TextLinkInputTest : public ::testing::Test {
protected:
  TextLinkInputTest() : m_onePage(m_app, VORRect(0, 0, 400, 200)), m_page(&m_onePage.Page()), m_view(1) {
    m_text = new VORPlayerText(VORObjectCode::MakeClassKey(VORText::kCategory, VORText::kCode), 1);
    m_text->GetGraphicalProperties().layoutRect = VORRect(0, 0, 400, 100);
    m_text->SetRect(VORRect(0, 0, 400, 100));
    VORText::VORTextProperties &properties = m_text->GetTextProperties();
    properties.rtfText = "{\\rtf1 {\\id5 aaaa} {\\id6 bbbb} c\\par d\\par e\\par f\\par g\\par h\\par i\\par j}";
    for (int32_t id : {6, 5}) {
      properties.links.emplace_back(new VORText::VORHypertextLink());
      properties.links.back()->linkId = id;
    }
    VORPageInstance &instance = m_page->GetMasterInstance();
    instance.InsertAfter(m_text, nullptr);
    instance.Show(m_view);
    m_view.ShowPageInstance(instance);
    m_text->Show(0);
  }
  ~TextLinkInputTest() override { m_page->GetMasterInstance().Hide(); }

  int32_t StateOf(int32_t id) {
    for (const auto &link : m_text->GetTextProperties().links)
      if (link->linkId == id)
        return link->hoverState;
    return -1;
  }
  // The middle of the n-th character of the first line.
  VORPoint OnCharacter(int32_t n) {
    const LineRun *run = nullptr;
    for (const LineRun &candidate : m_text->GetLines().front().runs)
      if (candidate.charStart <= n && n < candidate.charStart + static_cast<int32_t>(candidate.text.size()))
        run = &candidate;
    const int32_t left = n == run->charStart ? 0 : run->edges[static_cast<size_t>(n - run->charStart - 1)];
    return VORPoint{run->x + (left + run->edges[static_cast<size_t>(n - run->charStart)]) / 2, run->top + 4};
  }

  FakeApp m_app;
  OnePagePublication m_onePage;
  VORPlayerPage *m_page;
  HeadlessView m_view;
  VORPlayerText *m_text;
};

TEST_F(TextLinkInputTest, MovingFromOneLinkToAnotherLeavesTheFirstBeforeEnteringTheSecond) {
  m_view.GetInput().DispatchMouseMove(OnCharacter(1));
  EXPECT_EQ(StateOf(5), VORText::kLinkHover);
  EXPECT_TRUE(m_text->IsOverLink());
  // Link 6 comes first in the list: were it handled first, the leave of
  // link 5 would clear the pointer's over-a-link mark after 6 set it.
  m_view.GetInput().DispatchMouseMove(OnCharacter(6));
  EXPECT_EQ(StateOf(5), VORText::kLinkNormal);
  EXPECT_EQ(StateOf(6), VORText::kLinkHover);
  EXPECT_TRUE(m_text->IsOverLink());
  m_view.GetInput().DispatchMouseMove(VORPoint{390, 90});
  EXPECT_EQ(StateOf(6), VORText::kLinkNormal);
  EXPECT_FALSE(m_text->IsOverLink());
}

TEST_F(TextLinkInputTest, APressShowsThePressedStateUntilRelease) {
  m_view.GetInput().DispatchMouseMove(OnCharacter(1));
  m_view.GetInput().SetLastPosition(OnCharacter(1));
  m_view.GetInput().DispatchMouseEvent(VORInput::kLeftDown);
  EXPECT_EQ(StateOf(5), VORText::kLinkPressed);
  m_view.GetInput().DispatchMouseEvent(VORInput::kLeftUp);
  EXPECT_EQ(StateOf(5), VORText::kLinkHover);
  EXPECT_EQ(StateOf(6), VORText::kLinkNormal);
}

TEST_F(TextLinkInputTest, ScrollingStepsAndClampsInsideTheText) {
  int32_t x = 0;
  int32_t y = 0;
  const int32_t lineTop = m_text->GetLineTop(1);
  m_text->ScrollLineDown();
  m_text->GetScrollOffset(x, y);
  EXPECT_EQ(y, lineTop);
  m_text->ScrollLineUp();
  m_text->GetScrollOffset(x, y);
  EXPECT_EQ(y, 0);
  m_text->ScrollToLine(m_text->GetLineCount() - 1);
  m_text->GetScrollOffset(x, y);
  EXPECT_EQ(y, m_text->GetTextHeight() - 100); // the last line ends at the bottom
  m_text->ScrollPageDown();
  int32_t after = 0;
  m_text->GetScrollOffset(x, after);
  EXPECT_EQ(after, y);
}

} // namespace
