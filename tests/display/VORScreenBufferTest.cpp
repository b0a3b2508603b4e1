#include "display/VORScreenBuffer.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "FakePaintable.h"
#include "FakeView.h"
#include "GdiCanvas.h"
#include "model/VORPageInstance.h"
#include "model/VORPlayerPage.h"

namespace {

constexpr uint32_t kReadWhite = 0xFFFFFF;
constexpr uint32_t kReadRed = 0xFF0000;
constexpr uint32_t kReadBlue = 0x0000FF;
constexpr uint32_t kReadGrey = 0x808080;
constexpr VORRect kPage(0, 0, 64, 48);

// A window, its view and a page of objects; the objects paint into the log.
class ScreenBufferTest : public ::testing::Test {
protected:
  ScreenBufferTest() : m_window(64, 48, 32), m_view(m_window, kPage), m_page(VORPlayerPage::kClassKey, 1) {
    m_window.Fill(RGB(128, 128, 128));
    m_view.page = &m_page.GetMasterInstance();
  }

  FakePaintable &Add(VORRect rect, bool transparent, long colour) {
    VORPageInstance &objects = m_page.GetMasterInstance();
    auto *object = new FakePaintable(static_cast<int>(objects.GetChildCount()), rect, transparent, &m_log);
    object->colour = colour;
    objects.InsertAfter(object, nullptr);
    return *object;
  }

  GdiCanvas m_window;
  FakeView m_view;
  VORPlayerPage m_page;
  std::vector<int> m_log;
};

// A transition that only records what it is asked to paint.
class FakeTransition : public VORTransition {
public:
  explicit FakeTransition(int *deleted) : m_deleted(deleted) {}
  ~FakeTransition() override { ++*m_deleted; }
  void Start(bool) override {}
  bool IsFinished() const override { return finished; }
  bool WantsModalRun(bool) override { return false; }
  void RunModal(const VORRect &, bool) override {}
  void Paint(const VORRect &destination, const VORRect &source) override { painted.push_back({destination, source}); }

  bool finished = false;
  std::vector<std::vector<VORRect>> painted;

private:
  int *m_deleted;
};

TEST_F(ScreenBufferTest, PresentingComposesTheDirtyRectanglesAndCopiesThemIntoTheWindow) {
  Add(kPage, false, RGB(0, 0, 255));
  Add(VORRect(10, 10, 20, 20), true, RGB(255, 0, 0));
  VORScreenBuffer buffer(&m_view, kPage);
  EXPECT_EQ(m_view.GetDirtyRects(), std::vector<VORRect>{kPage}) << "the new buffer is dirty in the view too";
  buffer.PresentRect(kPage, kPage);
  EXPECT_EQ(m_log, (std::vector<int>{0, 1}));
  EXPECT_EQ(m_window.Pixel(40, 40), kReadBlue);
  EXPECT_EQ(m_window.Pixel(15, 15), kReadRed);
  EXPECT_FALSE(buffer.HasDirtyRects());
}

TEST_F(ScreenBufferTest, CompositionSkipsEverythingBelowTheTopmostOpaqueCover) {
  Add(kPage, false, RGB(0, 0, 255));
  Add(VORRect(0, 0, 32, 32), false, RGB(0, 255, 0));
  Add(kPage, true, -1);
  VORScreenBuffer buffer(&m_view, kPage);
  buffer.FlushDirtyRects();
  m_log.clear();
  buffer.AddDirtyRect(VORRect(4, 4, 8, 8));
  buffer.AddDirtyRect(VORRect(40, 40, 44, 44));
  buffer.FlushDirtyRects();
  EXPECT_EQ(m_log, (std::vector<int>{1, 2, 0, 1, 2}));
}

TEST_F(ScreenBufferTest, WhatNoOpaqueObjectCoversIsWhite) {
  m_page.GetPageProperties().backgroundColor = RGB(0, 0, 255);
  Add(VORRect(0, 0, 10, 10), true, -1);
  VORScreenBuffer buffer(&m_view, kPage);
  buffer.PresentRect(kPage, kPage);
  EXPECT_EQ(m_window.Pixel(30, 30), kReadWhite) << "not the page's colour";
  EXPECT_EQ(m_log, std::vector<int>{0});
}

TEST_F(ScreenBufferTest, APageWithoutObjectsIsWhiteNotItsColour) {
  m_page.GetPageProperties().backgroundColor = RGB(0, 0, 255);
  VORScreenBuffer buffer(&m_view, kPage);
  buffer.PresentRect(kPage, kPage);
  EXPECT_EQ(m_window.Pixel(30, 30), kReadWhite);
}

TEST_F(ScreenBufferTest, WhileATransitionRunsItPaintsAndTheBufferIsNeverCopied) {
  Add(kPage, false, RGB(255, 0, 0));
  VORScreenBuffer buffer(&m_view, kPage);
  int deleted = 0;
  auto owned = std::make_unique<FakeTransition>(&deleted);
  FakeTransition *effect = owned.get();
  buffer.SetTransition(std::move(owned));
  EXPECT_FALSE(buffer.IsTransitionFinished());

  buffer.PresentRect(VORRect(0, 0, 8, 8), VORRect(1, 1, 9, 9));
  ASSERT_EQ(effect->painted.size(), 1u);
  EXPECT_EQ(effect->painted[0], (std::vector<VORRect>{{1, 1, 9, 9}, {0, 0, 8, 8}}));
  EXPECT_EQ(m_window.Pixel(4, 4), kReadGrey) << "the window is left to the effect";

  effect->finished = true;
  EXPECT_TRUE(buffer.IsTransitionFinished());
  buffer.PresentRect(kPage, kPage);
  EXPECT_EQ(deleted, 1);
  EXPECT_EQ(buffer.GetTransition(), nullptr);
  EXPECT_EQ(m_window.Pixel(4, 4), kReadRed);
}

TEST_F(ScreenBufferTest, ReplacingOrEndingTheBufferDeletesTheTransition) {
  int deleted = 0;
  {
    VORScreenBuffer buffer(&m_view, kPage);
    buffer.SetTransition(std::make_unique<FakeTransition>(&deleted));
    buffer.SetTransition(std::make_unique<FakeTransition>(&deleted));
    EXPECT_EQ(deleted, 1);
    buffer.SetTransition(nullptr);
    EXPECT_EQ(deleted, 2);
    EXPECT_TRUE(buffer.IsTransitionFinished());
    buffer.SetTransition(std::make_unique<FakeTransition>(&deleted));
  }
  EXPECT_EQ(deleted, 3);
}

TEST_F(ScreenBufferTest, CopyRectToCopiesWithoutComposing) {
  Add(kPage, false, RGB(255, 0, 0));
  VORScreenBuffer buffer(&m_view, kPage);
  GdiCanvas target(64, 48, 32);
  target.Fill(RGB(0, 0, 255));
  DrawingContext context(target.dc(), nullptr);
  buffer.CopyRectTo(kPage, kPage, context);
  EXPECT_EQ(target.Pixel(5, 5), 0u) << "the new buffer is still black";
  EXPECT_TRUE(buffer.HasDirtyRects());
  EXPECT_TRUE(m_log.empty());
}

} // namespace
