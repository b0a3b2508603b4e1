#include "display/VORRunView.h"

#include "display/DisplaySettings.h"
#include "display/DrawingContext.h"
#include "display/PageExtent.h"
#include "display/Palette.h"
#include "display/ScrollPosition.h"
#include "display/SystemErrorHook.h"
#include "display/VORScreenBuffer.h"

namespace {

HPALETTE ApplicationPalette() {
  Palette *palette = GetDisplaySettings().applicationPalette;
  return palette != nullptr ? palette->GetHPalette() : nullptr;
}

void SelectAndRealize(DrawingContext &context) {
  if (HPALETTE palette = ApplicationPalette()) {
    context.SelectPalette(palette);
    context.RealizePalette();
  }
}

} // namespace

VORRunView::VORRunView(uint32_t classKey, int32_t id) : VORView(classKey, id) {}

VORRunView::~VORRunView() {
  DeleteDrawingContext();
  m_screenBuffer.reset();
}

// ---- Pages --------------------------------------------------------------------

void VORRunView::SetScreenBuffer(std::unique_ptr<VORScreenBuffer> buffer) { m_screenBuffer = std::move(buffer); }

void VORRunView::SetChapterFacts(const VORRect &chapterPageRect, bool keepAspect) {
  m_chapterPageRect = chapterPageRect;
  m_keepAspect = keepAspect;
}

void VORRunView::ShowPage(VORRecursiveObjectContainer *page, const PageFacts &facts) {
  m_pageEntryCompleted = false;
  m_enterTransitionStarted = false;
  m_shownNoticeGiven = false;
  m_backgroundColor = facts.backgroundColor;
  if (m_window != nullptr) {
    ::InvalidateRect(m_window, nullptr, FALSE);
  }
  m_shownPage = page;
  m_shownPageReference = facts.reference;
  m_shownPageRect = facts.pageRect;
  SetBounds(facts.pageRect);
  RecordChildWindowPositions();
  if (!m_clientCleared) {
    m_clientCleared = true;
    ClearClientArea();
  }
  DeleteDrawingContext();
  // A new page starts at its top-left corner; a centred one stays centred.
  m_originX = m_originX < 0 ? 0 : m_originX;
  m_originY = m_originY < 0 ? 0 : m_originY;
  RECT client = {0, 0, 0, 0};
  if (m_window != nullptr) {
    ::GetClientRect(m_window, &client);
  }
  SetPageExtent(client.right, client.bottom, false, true);
}

void VORRunView::ForgetPage() {
  m_shownPage = nullptr;
  m_shownPageReference = VORObjectCode::Zero();
}

void VORRunView::ClearClientArea() {
  if (m_window == nullptr) {
    return;
  }
  HDC dc = ::GetDC(m_window);
  RECT client;
  ::GetClientRect(m_window, &client);
  DrawingContext context(dc, this);
  context.SetPenColor(m_backgroundColor);
  context.SetBrushColor(m_backgroundColor);
  context.DrawRectangle(VORRect(client.left, client.top, client.right, client.bottom));
  context.DeletePen();
  context.DeleteBrush();
  ::ReleaseDC(m_window, dc);
}

void VORRunView::CompletePageEntry() {
  m_pageEntryCompleted = true;
  Refresh();
  if (!m_shownNoticeGiven && m_shownPage != nullptr) {
    m_shownNoticeGiven = true;
    OnPageShown();
  }
}

void VORRunView::Refresh() {
  if (m_inRefresh) {
    return;
  }
  m_inRefresh = true;
  FlushDirtyRects();
  const bool entryDue =
      !m_pageEntryCompleted && m_enterTransitionStarted && IsTransitionDone() && m_shownPage != nullptr;
  m_inRefresh = false;
  if (entryDue) {
    CompletePageEntry();
  }
}

// ---- Transitions ----------------------------------------------------------------

bool VORRunView::IsTransitionDone() const { return !m_screenBuffer || m_screenBuffer->IsTransitionFinished(); }

void VORRunView::RunTransitionModal(VORTransition &effect, const VORRect &rect, bool closing) {
  if (m_screenBuffer) {
    m_screenBuffer->FlushDirtyRects();
  }
  effect.RunModal(rect, closing);
}

// ---- Layout -------------------------------------------------------------------------

void VORRunView::SetPageExtent(int32_t width, int32_t height, bool redraw, bool force) {
  if (m_inSetPageExtent) {
    m_sizePending = true;
    m_pendingWidth = width;
    m_pendingHeight = height;
    return;
  }
  if (!force && width == m_pageRect.right && height == m_pageRect.bottom) {
    return;
  }
  m_inSetPageExtent = true;
  m_clientRect = VORRect(0, 0, width, height);
  if (m_shownPage == nullptr) {
    m_pageRect.left = -1;
    m_inSetPageExtent = false;
    return;
  }
  PageExtent::Input input;
  input.clientWidth = width;
  input.clientHeight = height;
  input.chapterPageRect = m_chapterPageRect;
  input.pageRect = m_shownPageRect;
  input.keepAspect = m_keepAspect;
  input.originX = m_originX;
  input.originY = m_originY;
  const PageExtent extent = PageExtent::Compute(input);
  if (!m_dragScroll) {
    SetScrollBars(extent.width, extent.height, extent.scrollX, extent.scrollY);
  }
  m_pageRect = VORRect(0, 0, extent.width, extent.height);
  m_originX = extent.originX;
  m_originY = extent.originY;

  OnPageRectChanged(m_pageRect);
  SetBounds(m_clientRect.Offset(-m_originX, -m_originY));
  DeleteDrawingContext();
  if (m_screenBuffer) {
    m_screenBuffer->SetBounds(m_pageRect);
  }
  RecordChildWindowPositions();
  InvalidateMargins();
  m_inSetPageExtent = false;
  // Scroll bars that come and go with each layout would loop for ever:
  // the size that arrived is laid out once more, then the layout stops.
  const bool again = m_sizePending && m_deferredLayouts < kMaxDeferredLayouts;
  m_sizePending = false;
  if (again) {
    ++m_deferredLayouts;
    SetPageExtent(m_pendingWidth, m_pendingHeight, redraw, false);
    --m_deferredLayouts;
    return;
  }
  if (redraw) {
    InvalidateAll();
    Refresh();
  }
}

void VORRunView::SetScrollBars(int32_t width, int32_t height, int32_t scrollX, int32_t scrollY) {
  if (m_window == nullptr) {
    return;
  }
  SCROLLINFO info = {};
  info.cbSize = sizeof info;
  info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
  info.nMin = 0;
  info.nMax = width;
  info.nPage = static_cast<UINT>(m_clientRect.right + 1);
  info.nPos = scrollX;
  ::SetScrollInfo(m_window, SB_HORZ, &info, TRUE);
  info.nMax = height;
  info.nPage = static_cast<UINT>(m_clientRect.bottom + 1);
  info.nPos = scrollY;
  ::SetScrollInfo(m_window, SB_VERT, &info, TRUE);
}

void VORRunView::HideScrollBars() {
  if (m_window != nullptr) {
    ::SetScrollRange(m_window, SB_HORZ, 0, 0, TRUE);
    ::SetScrollRange(m_window, SB_VERT, 0, 0, TRUE);
  }
}

void VORRunView::InvalidateMargins() {
  if (m_window == nullptr) {
    return;
  }
  const int32_t pageRight = m_originX + m_pageRect.right, pageBottom = m_originY + m_pageRect.bottom;
  if (m_originY > 0) {
    const RECT top = {0, 0, m_clientRect.right, m_originY};
    const RECT bottom = {0, pageBottom, m_clientRect.right, m_clientRect.bottom};
    ::InvalidateRect(m_window, &top, TRUE);
    ::InvalidateRect(m_window, &bottom, TRUE);
  }
  if (m_originX > 0) {
    const RECT left = {0, 0, m_originX, m_clientRect.bottom};
    const RECT right = {pageRight, 0, m_clientRect.right, m_clientRect.bottom};
    ::InvalidateRect(m_window, &left, TRUE);
    ::InvalidateRect(m_window, &right, TRUE);
  }
}

void VORRunView::OnSize(UINT type, int32_t width, int32_t height) {
  if (type == SIZE_MINIMIZED) {
    return;
  }
  SetPageExtent(width, height, true, false);
}

// ---- Painting ---------------------------------------------------------------------------

void VORRunView::PaintMargins(DrawingContext &context, const RECT &paint) {
  HBRUSH brush = ::CreateSolidBrush(m_backgroundColor);
  if (brush == nullptr) {
    ReportSystemError(kErrorBrushNotCreated);
    return;
  }
  const int32_t pageRight = m_originX + m_pageRect.right, pageBottom = m_originY + m_pageRect.bottom;
  RECT bands[4];
  int count = 0;
  if (m_originX > 0) {
    bands[count++] = RECT{0, 0, m_originX, m_clientRect.bottom};
    bands[count++] = RECT{pageRight, 0, m_clientRect.right, m_clientRect.bottom};
  }
  if (m_originY > 0) {
    bands[count++] = RECT{0, 0, m_clientRect.right, m_originY};
    bands[count++] = RECT{0, pageBottom, m_clientRect.right, m_clientRect.bottom};
  }
  for (int i = 0; i < count; ++i) {
    RECT part;
    if (::IntersectRect(&part, &bands[i], &paint)) {
      ::FillRect(context.GetDC(), &part, brush);
    }
  }
  ::DeleteObject(brush);
}

void VORRunView::OnPaint() {
  PAINTSTRUCT paint;
  HDC dc = ::BeginPaint(m_window, &paint);
  if (dc != nullptr) {
    DrawingContext context(dc, this);
    context.SetOrigin(GetSurfaceBounds().left, GetSurfaceBounds().top);
    SelectAndRealize(context);
    PaintMargins(context, paint.rcPaint);
    const VORRect painted(paint.rcPaint.left, paint.rcPaint.top, paint.rcPaint.right, paint.rcPaint.bottom);
    VORRect part;
    if (m_screenBuffer && m_screenBuffer->IsTransitionFinished() &&
        part.Intersect(ClientToPageRect(painted), m_pageRect)) {
      m_screenBuffer->CopyRectTo(part, part, context);
    }
    context.DeselectPalette();
  }
  ::EndPaint(m_window, &paint);
}

LRESULT VORRunView::OnQueryNewPalette() {
  if (m_window != nullptr) {
    HDC dc = ::GetDC(m_window);
    if (HPALETTE palette = ApplicationPalette()) {
      HPALETTE previous = ::SelectPalette(dc, palette, FALSE);
      ::RealizePalette(dc);
      ::SelectPalette(dc, previous, FALSE);
    }
    ::ReleaseDC(m_window, dc);
  }
  return 1;
}

LRESULT VORRunView::OnPaletteChanged(HWND changedBy) {
  if (m_window != nullptr && changedBy != m_window) {
    OnQueryNewPalette();
  }
  return 0;
}

// ---- Scrolling ------------------------------------------------------------------------------

void VORRunView::OnHScroll(int32_t request) {
  SCROLLINFO info = {};
  info.cbSize = sizeof info;
  info.fMask = SIF_ALL;
  ::GetScrollInfo(m_window, SB_HORZ, &info);
  Scroll(SB_HORZ, ScrollPosition::ForRequest(request, ::GetScrollPos(m_window, SB_HORZ), info.nTrackPos, info.nMax,
                                             static_cast<int32_t>(info.nPage)));
}

void VORRunView::OnVScroll(int32_t request) {
  SCROLLINFO info = {};
  info.cbSize = sizeof info;
  info.fMask = SIF_ALL;
  ::GetScrollInfo(m_window, SB_VERT, &info);
  Scroll(SB_VERT, ScrollPosition::ForRequest(request, ::GetScrollPos(m_window, SB_VERT), info.nTrackPos, info.nMax,
                                             static_cast<int32_t>(info.nPage)));
}

void VORRunView::OnMouseWheel(WPARAM wParam) {
  SCROLLINFO info = {};
  info.cbSize = sizeof info;
  info.fMask = SIF_ALL;
  if (!::GetScrollInfo(m_window, SB_VERT, &info) || info.nMax < static_cast<int>(info.nPage)) {
    return;
  }
  const auto delta = static_cast<int16_t>(HIWORD(wParam));
  Scroll(SB_VERT, ScrollPosition::ForWheel(delta, info.nPos, info.nMax, static_cast<int32_t>(info.nPage)));
}

void VORRunView::Scroll(int bar, int32_t position) {
  ::SetScrollPos(m_window, bar, position, TRUE);
  const bool horizontal = bar == SB_HORZ;
  const int32_t shift = -position - (horizontal ? m_originX : m_originY);
  ::ScrollWindowEx(m_window, horizontal ? shift : 0, horizontal ? 0 : shift, nullptr, nullptr, nullptr, nullptr,
                   SW_INVALIDATE);
  (horizontal ? m_originX : m_originY) = -position;
  DeleteDrawingContext();
  MoveOrigin(-m_originX, -m_originY, true);
  MoveChildWindows(horizontal ? position : -1, horizontal ? -1 : position);
}

// ---- The drawing-surface part -----------------------------------------------------------------

void VORRunView::InvalidateAll() { AddDirtyRect(m_pageRect); }

DrawingContext *VORRunView::GetDrawingContext() {
  if (!m_context) {
    if (m_window == nullptr) {
      return nullptr;
    }
    m_contextDC = ::GetDC(m_window);
    m_context = std::make_unique<DrawingContext>(m_contextDC, this);
    m_context->SetOrigin(GetSurfaceBounds().left, GetSurfaceBounds().top);
    SelectAndRealize(*m_context);
  }
  return m_context.get();
}

void VORRunView::DeleteDrawingContext() {
  m_context.reset();
  if (m_contextDC != nullptr) {
    ::ReleaseDC(m_window, m_contextDC);
    m_contextDC = nullptr;
  }
}

void VORRunView::FlushDirtyRects() {
  if (m_window == nullptr) {
    VORView::FlushDirtyRects();
    return;
  }
  ::HideCaret(m_window);
  VORView::FlushDirtyRects();
  DeleteDrawingContext();
  ::ShowCaret(m_window);
}

void VORRunView::RedrawRect(const VORRect &rect) {
  VORRect part;
  if (!m_screenBuffer || !part.Intersect(rect, m_pageRect)) {
    return;
  }
  if (GetDrawingContext() == nullptr) {
    return;
  }
  m_screenBuffer->PresentRect(part, part);
}

int32_t VORRunView::GetBitsPerPixel() {
  HDC screen = ::GetDC(nullptr);
  const int32_t depth = ::GetDeviceCaps(screen, BITSPIXEL);
  ::ReleaseDC(nullptr, screen);
  return depth;
}

VORRect VORRunView::ScrollRect(const VORRect &rect, int32_t dx, int32_t dy) {
  if (m_window != nullptr) {
    const VORRect band = PageToClientRect(rect);
    const RECT client = {band.left, band.top, band.right, band.bottom};
    ::ScrollWindow(m_window, dx, dy, &client, &client);
  }
  return rect;
}

// A window offers no direct pixel access.
void VORRunView::LockPixels(void **bits, void **maskBits, BitmapInfoHeader **info, VORRect & /*rect*/) {
  *bits = nullptr;
  *maskBits = nullptr;
  *info = nullptr;
}

void VORRunView::LockMaskPixels(void **maskBits, BitmapInfoHeader **info, VORRect & /*rect*/) {
  *maskBits = nullptr;
  *info = nullptr;
}

void VORRunView::UnlockPixels(bool /*copyBack*/) {}
