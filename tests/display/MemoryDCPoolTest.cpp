#include "display/MemoryDCPool.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A context handed back and taken again is the same context, in the state
// of a new one: nothing of its last user's stays selected or set, and the
// bitmap it held is free to be deleted.
TEST(MemoryDCPoolTest, AContextHandedBackComesBackAsNew) {
  MemoryDCPool::Clear();
  HDC dc = MemoryDCPool::Take();
  ASSERT_NE(dc, nullptr);
  const HGDIOBJ newBitmap = ::GetCurrentObject(dc, OBJ_BITMAP);
  const HGDIOBJ newPen = ::GetCurrentObject(dc, OBJ_PEN);
  const HGDIOBJ newBrush = ::GetCurrentObject(dc, OBJ_BRUSH);
  const COLORREF newText = ::GetTextColor(dc);
  const int newBackground = ::GetBkMode(dc);
  const int newStretch = ::GetStretchBltMode(dc);
  const int newMix = ::GetROP2(dc);

  BITMAPINFO info = {};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), 8, -8, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  void *bits = nullptr;
  HBITMAP bitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HPEN pen = ::CreatePen(PS_SOLID, 3, RGB(255, 0, 0));
  HBRUSH brush = ::CreateSolidBrush(RGB(0, 255, 0));
  HRGN clip = ::CreateRectRgn(1, 1, 3, 3);
  ::SelectObject(dc, bitmap);
  ::SelectObject(dc, pen);
  ::SelectObject(dc, brush);
  ::SelectClipRgn(dc, clip);
  ::SetTextColor(dc, RGB(1, 2, 3));
  ::SetBkMode(dc, TRANSPARENT);
  ::SetStretchBltMode(dc, HALFTONE);
  ::SetROP2(dc, R2_XORPEN);
  MemoryDCPool::Give(dc);
  EXPECT_EQ(MemoryDCPool::WaitingCount(), 1u);

  HDC again = MemoryDCPool::Take();
  EXPECT_EQ(again, dc);
  EXPECT_EQ(MemoryDCPool::WaitingCount(), 0u);
  EXPECT_EQ(::GetCurrentObject(again, OBJ_BITMAP), newBitmap);
  EXPECT_EQ(::GetCurrentObject(again, OBJ_PEN), newPen);
  EXPECT_EQ(::GetCurrentObject(again, OBJ_BRUSH), newBrush);
  EXPECT_EQ(::GetTextColor(again), newText);
  EXPECT_EQ(::GetBkMode(again), newBackground);
  EXPECT_EQ(::GetStretchBltMode(again), newStretch);
  EXPECT_EQ(::GetROP2(again), newMix);
  HRGN region = ::CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(::GetClipRgn(again, region), 0); // no clip
  ::DeleteObject(region);
  // Selected nowhere any more: they can go.
  EXPECT_NE(::DeleteObject(bitmap), 0);
  EXPECT_NE(::DeleteObject(pen), 0);
  EXPECT_NE(::DeleteObject(brush), 0);
  ::DeleteObject(clip);

  MemoryDCPool::Give(again);
  MemoryDCPool::Clear();
  EXPECT_EQ(MemoryDCPool::WaitingCount(), 0u);
  EXPECT_EQ(::GetObjectType(dc), 0u); // deleted
}

TEST(MemoryDCPoolTest, NoMoreThanItsShareWaitAndTheRestAreDeleted) {
  MemoryDCPool::Clear();
  std::vector<HDC> taken;
  for (size_t i = 0; i < MemoryDCPool::kKept + 3; ++i) {
    taken.push_back(MemoryDCPool::Take());
    ASSERT_NE(taken.back(), nullptr);
  }
  for (HDC dc : taken) {
    MemoryDCPool::Give(dc);
  }
  EXPECT_EQ(MemoryDCPool::WaitingCount(), MemoryDCPool::kKept);
  for (size_t i = 0; i < taken.size(); ++i) {
    EXPECT_EQ(::GetObjectType(taken[i]) != 0, i < MemoryDCPool::kKept) << i;
  }
  MemoryDCPool::Give(nullptr);
  EXPECT_EQ(MemoryDCPool::WaitingCount(), MemoryDCPool::kKept);
  MemoryDCPool::Clear();
}

} // namespace
