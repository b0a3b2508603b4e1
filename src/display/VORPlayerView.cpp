#include "display/VORPlayerView.h"

#include <algorithm>

#include "display/CompositionOrder.h"
#include "display/DisplaySettings.h"
#include "display/DrawingContext.h"
#include "display/PageExtent.h"
#include "display/Palette.h"
#include "display/PlayerViewChildWindow.h"
#include "display/ScreenDepth.h"
#include "display/ScrollPosition.h"
#include "display/SurfaceBitmapPool.h"
#include "display/SystemErrorHook.h"
#include "display/VORScreenBuffer.h"
#include "display/VORTransition.h"
#include "foundation/StartupTrace.h"
#include "foundation/XQCallbackGuard.h"
#include "model/VORApp.h"
#include "model/VORChapter.h"
#include "model/VORGraphicalObjectContainerManager.h"
#include "model/VORObjectAction.h"
#include "model/VORPage.h"
#include "model/VORPageInstance.h"
#include "model/VORPlayerGotoPageAction.h"
#include "model/VORPublication.h"

namespace {

constexpr LONG_PTR kNoView = 0;

VORWindowMetrics ScreenMetrics() {
  VORWindowMetrics metrics;
  metrics.screenWidth = ::GetSystemMetrics(SM_CXSCREEN);
  metrics.screenHeight = ::GetSystemMetrics(SM_CYSCREEN);
  metrics.captionHeight = ::GetSystemMetrics(SM_CYCAPTION);
  metrics.frameWidth = ::GetSystemMetrics(SM_CXFRAME);
  metrics.frameHeight = ::GetSystemMetrics(SM_CYFRAME);
  metrics.borderWidth = ::GetSystemMetrics(SM_CXBORDER);
  return metrics;
}

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

// ---- Child windows ---------------------------------------------------------------

bool VORPlayerView::CreateChildWindow(const VORRect &rect, ChildWindowCallback &callback, WindowHandle &window) {
  window = nullptr;
  if (m_window == nullptr) {
    ReportSystemError(kErrorWindowNotCreated);
    return false;
  }
  // Page objects give page coordinates; the window is placed in the client
  // area where the page shows them.
  auto child = std::make_unique<PlayerViewChildWindow>(m_window, PageToClientRect(rect), callback);
  if (child->GetWindow() == nullptr) {
    return false;
  }
  window = child->GetWindow();
  child->Record(m_horizontalPosition, m_verticalPosition);
  m_children.push_back(std::move(child));
  return true;
}

void VORPlayerView::DestroyChildWindow(ChildWindowCallback &callback) {
  const auto found = std::find_if(m_children.begin(), m_children.end(),
                                  [&](const auto &child) { return &child->GetCallback() == &callback; });
  if (found != m_children.end()) {
    m_children.erase(found);
  }
}

bool VORPlayerView::MoveChildWindow(ChildWindowCallback &callback, const VORRect &rect) {
  const auto found = std::find_if(m_children.begin(), m_children.end(),
                                  [&](const auto &child) { return &child->GetCallback() == &callback; });
  if (found == m_children.end() || (*found)->GetWindow() == nullptr) {
    return false;
  }
  const VORRect client = PageToClientRect(rect);
  ::MoveWindow((*found)->GetWindow(), client.left, client.top, static_cast<int>(client.Width()),
               static_cast<int>(client.Height()), TRUE);
  // Scrolling moves it on from its new place.
  (*found)->Record(m_horizontalPosition, m_verticalPosition);
  return true;
}

void VORPlayerView::RecordChildWindowPositions() {
  m_horizontalPosition = std::max(-m_originX, 0);
  m_verticalPosition = std::max(-m_originY, 0);
  for (auto &child : m_children) {
    child->Record(m_horizontalPosition, m_verticalPosition);
  }
}

void VORPlayerView::MoveChildWindows(int32_t horizontal, int32_t vertical) {
  if (horizontal != -1) {
    m_horizontalPosition = horizontal;
  }
  if (vertical != -1) {
    m_verticalPosition = vertical;
  }
  for (auto &child : m_children) {
    child->Follow(horizontal, vertical);
  }
}

// ---- The view window -------------------------------------------------------------------

VORPlayerView::VORPlayerView(int32_t id) : VORRunView(id), m_ownsWindow(true) {}

VORPlayerView::VORPlayerView(int32_t id, HWND window) : VORRunView(id), m_window(window), m_ownsWindow(false) {}

VORPlayerView::~VORPlayerView() {
  Unregister();
  m_children.clear();
  DeleteDrawingContext();
  m_screenBuffer.reset();
  HWND window = m_window;
  if (window != nullptr && m_ownsWindow) {
    // Messages that still arrive (the window may outlive the view while it
    // is being closed) must not reach a view that is gone.
    if (FromWindow(window) == this) {
      ::SetWindowLongPtrA(window, GWLP_USERDATA, kNoView);
    }
    if (::IsWindow(window)) {
      ::DestroyWindow(window);
    }
  }
}

uint32_t VORPlayerView::ViewWindowStyle(uint32_t style) {
  if (style == 0) {
    style = WS_POPUP;
  }
  if ((style & WS_CAPTION) != WS_CAPTION) {
    style |= WS_POPUP;
  }
  return style | WS_CLIPCHILDREN;
}

bool VORPlayerView::RegisterViewClass(HINSTANCE instance) {
  WNDCLASSA existing;
  if (::GetClassInfoA(instance, kWindowClass, &existing)) {
    return true;
  }
  WNDCLASSA windowClass = {};
  windowClass.style = CS_DBLCLKS;
  windowClass.lpfnWndProc = &ViewWindowProc;
  windowClass.hInstance = instance;
  windowClass.hIcon = ::LoadIconA(instance, MAKEINTRESOURCEA(kIconResource));
  windowClass.hbrBackground = static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
  windowClass.lpszClassName = kWindowClass;
  if (::RegisterClassA(&windowClass) == 0) {
    ReportSystemError(kErrorWindowClassNotRegistered);
    return false;
  }
  return true;
}

bool VORPlayerView::CreateViewWindow(HINSTANCE instance, HWND parent, uint32_t style) {
  RegisterViewClass(instance);
  HWND window = ::CreateWindowExA(0, kWindowClass, kWindowTitle, ViewWindowStyle(style), 0, 0, 0, 0, parent, nullptr,
                                  instance, nullptr);
  if (window == nullptr) {
    ReportSystemError(kErrorWindowNotCreated);
    return false;
  }
  m_window = window;
  m_ownsWindow = true;
  RECT client;
  ::GetClientRect(window, &client);
  SetPageExtent(client.right, client.bottom, false, false);
  ::SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  return true;
}

VORPlayerView *VORPlayerView::FromWindow(HWND window) {
  return reinterpret_cast<VORPlayerView *>(::GetWindowLongPtrA(window, GWLP_USERDATA));
}

LRESULT CALLBACK VORPlayerView::ViewWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return XQCallbackGuard::Call(LRESULT{0}, [&]() -> LRESULT {
    bool handled = false;
    LRESULT result = 0;
    if (VORPlayerView *view = FromWindow(window)) {
      // The view may be deleted while it handles the message: only the
      // locals are used afterwards.
      result = view->HandleMessage(window, message, wParam, lParam, handled);
    }
    return handled ? result : ::DefWindowProcA(window, message, wParam, lParam);
  });
}

LRESULT VORPlayerView::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, bool &handled) {
  // The owner of an adopted window (the screen saver) keeps its closing,
  // the keyboard and the mouse buttons and moves: no page object sees them.
  const bool mouse = message >= WM_MOUSEFIRST && message <= WM_MOUSELAST && message != WM_MOUSEWHEEL;
  const bool keyboard = message >= WM_KEYFIRST && message <= WM_KEYLAST;
  if (!m_ownsWindow && (message == WM_CLOSE || mouse || keyboard)) {
    handled = false;
    return 0;
  }
  handled = true;
  switch (message) {
  case WM_SIZE:
    OnSize(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));
    return 0;
  case WM_SETFOCUS:
    return OnSetFocus();
  case WM_KILLFOCUS:
    return OnKillFocus();
  case WM_PAINT:
    OnPaint();
    return 0;
  case WM_CLOSE:
    if (VORApp *app = VORApp::Get()) {
      app->CloseViewWindow(window); // may delete this view
    } else {
      ::DestroyWindow(window);
    }
    return 0;
  case WM_KEYDOWN:
    OnKeyDown(wParam, lParam);
    return 0;
  case WM_KEYUP:
    OnKeyUp(wParam, lParam);
    return 0;
  case WM_CHAR:
    OnChar(wParam, lParam);
    return 0;
  case WM_SYSCOMMAND:
    if ((wParam & 0xFFF0) == SC_CLOSE) {
      handled = OnCloseBox();
    } else {
      handled = false;
    }
    return 0;
  case WM_TIMER:
    OnTimer(wParam);
    return 0;
  case WM_HSCROLL:
    OnHScroll(LOWORD(wParam));
    return 0;
  case WM_VSCROLL:
    OnVScroll(LOWORD(wParam));
    return 0;
  case WM_MOUSEMOVE:
    OnMouseMove(wParam, lParam);
    return 0;
  case WM_LBUTTONDOWN:
    OnLButtonDown(wParam, lParam);
    return 0;
  case WM_LBUTTONUP:
    OnLButtonUp(wParam, lParam);
    return 0;
  case WM_LBUTTONDBLCLK:
    OnLButtonDblClk(wParam, lParam);
    return 0;
  case WM_RBUTTONDOWN:
    OnRButtonDown(wParam, lParam);
    return 0;
  case WM_RBUTTONUP:
    OnRButtonUp(wParam, lParam);
    return 0;
  case WM_RBUTTONDBLCLK:
    OnRButtonDblClk(wParam, lParam);
    return 0;
  case WM_MOUSEWHEEL:
    OnMouseWheel(wParam);
    return 0;
  case WM_QUERYNEWPALETTE:
    return OnQueryNewPalette();
  case WM_PALETTECHANGED:
    return OnPaletteChanged(reinterpret_cast<HWND>(wParam));
  case WM_DISPLAYCHANGE:
    // Another program changed the screen's mode, its depth perhaps.
    ScreenDepth::Forget();
    handled = false;
    return 0;
  default:
    handled = false;
    return 0;
  }
}

bool VORPlayerView::ReceiveAction(VORObjectAction &action, ActionContext & /*context*/) {
  if (action.GetActionCode() != kCloseViewAction || action.GetTarget() != GetObjectCode()) {
    return false;
  }
  if (m_window != nullptr) {
    ::PostMessageA(m_window, WM_CLOSE, 0, 0);
  }
  return true;
}

bool VORPlayerView::OnCloseBox() {
  VORApp *app = VORApp::Get();
  if (app == nullptr) {
    return true;
  }
  if (m_chapterHasOwnWindow) {
    // The message goes on to DefWindowProc, which closes the window.
    VORObjectAction close(VORObjectAction::kClassKey, -1);
    close.SetTarget(GetObjectCode());
    close.SetActionCode(kCloseViewAction);
    app->ExecuteAction(close);
    return false;
  }
  VORPublication *publication = app->GetPublication();
  if (publication != nullptr && publication->AllowsCloseBoxExit()) {
    std::unique_ptr<VORPlayerGotoPageAction> exit(
        VORPlayerGotoPageAction::Make(kExitAction, VORObjectCode::Zero(), VORObjectCode::Zero()));
    app->ExecuteAction(*exit);
  }
  return true;
}

// ---- Pages ----------------------------------------------------------------------------------

void VORPlayerView::PlaceWindow(const VORChapter *chapter) {
  if (m_window == nullptr || !m_ownsWindow) {
    return;
  }
  const VORWindowMetrics metrics = ScreenMetrics();
  VORWindowRect rect;
  if (chapter == nullptr || !chapter->GetOwnWindowRect(metrics, rect)) {
    VORApp *app = VORApp::Get();
    VORPublication *publication = app != nullptr ? app->GetPublication() : nullptr;
    if (publication != nullptr) {
      rect = publication->GetWindowRect(metrics);
      if (publication->IsTopmost()) {
        ::SetWindowPos(m_window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
      }
      m_dragScroll = publication->HidesScrollBars();
    }
  }
  ::MoveWindow(m_window, rect.left, rect.top, rect.width, rect.height, TRUE);
  ::ShowWindow(m_window, SW_SHOW);
  StartupTrace::Mark("view window shown");
}

VORPlayerView::PageFacts VORPlayerView::FactsOf(VORPageInstance &instance) {
  PageFacts facts;
  facts.pageRect = instance.GetPageRect();
  facts.backgroundColor = instance.GetPage().GetBackgroundColor();
  if (const VORChapter *chapter = instance.GetPage().GetChapter()) {
    chapter->GetPageRect(facts.chapterPageRect.left, facts.chapterPageRect.top, facts.chapterPageRect.right,
                         facts.chapterPageRect.bottom);
    facts.keepAspect = chapter->KeepsAspectRatio();
  }
  return facts;
}

void VORPlayerView::ShowPageInstance(VORPageInstance &instance) {
  const PageFacts facts = FactsOf(instance);
  const VORChapter *chapter = instance.GetPage().GetChapter();
  m_chapterHasOwnWindow = chapter != nullptr && chapter->HasOwnWindow();
  if (!m_screenBuffer) {
    m_screenBuffer = std::make_unique<VORScreenBuffer>(this, facts.pageRect);
    m_chapterPageRect = facts.chapterPageRect;
    m_keepAspect = facts.keepAspect;
    HideScrollBars();
    PlaceWindow(chapter);
  } else if (facts.chapterPageRect != m_chapterPageRect || facts.keepAspect != m_keepAspect ||
             facts.pageRect != m_shownPageRect) {
    m_chapterPageRect = facts.chapterPageRect;
    m_keepAspect = facts.keepAspect;
    HideScrollBars();
  }
  ShowPage(instance, facts);
}

VORObjectCode VORPlayerView::GetPageReference() const {
  return m_instance != nullptr ? m_instance->GetPageReference() : VORObjectCode::Zero();
}

void VORPlayerView::ShowPage(VORPageInstance &instance, const PageFacts &facts) {
  m_pageEntryCompleted = false;
  m_enterTransitionStarted = false;
  m_shownNoticeGiven = false;
  m_idleDone = false;
  m_backgroundColor = facts.backgroundColor;
  if (m_window != nullptr) {
    ::InvalidateRect(m_window, nullptr, FALSE);
  }
  m_instance = &instance;
  m_resendMouse = true;
  m_shownPageRect = facts.pageRect;
  SetBounds(facts.pageRect);
  RecordChildWindowPositions();
  if (!m_clientCleared) {
    m_clientCleared = true;
    ClearClientArea();
  }
  DeleteDrawingContext();
  // A new page starts at its top-left corner; a centred one stays centred.
  m_originX = std::max(m_originX, 0);
  m_originY = std::max(m_originY, 0);
  RECT client = {0, 0, 0, 0};
  if (m_window != nullptr) {
    ::GetClientRect(m_window, &client);
  }
  SetPageExtent(client.right, client.bottom, false, true);
}

void VORPlayerView::LeavePageInstance(VORPageInstance &instance) {
  if (m_instance == &instance) {
    m_instance = nullptr;
    GetInput().Forget();
  }
  if (m_window == nullptr || !m_screenBuffer) {
    return;
  }
  const VORPage::VORPageProperties &page = instance.GetPage().GetPageProperties();
  std::unique_ptr<VORTransition> effect = MakePageTransition(page.exitTransition);
  if (!effect) {
    return;
  }
  // The page goes into its background colour.
  const VORRect bounds = m_screenBuffer->GetBounds();
  if (DrawingContext *own = m_screenBuffer->GetDrawingContext()) {
    FillRect(*own, bounds, m_backgroundColor);
    m_screenBuffer->ReleaseContexts();
  }
  if (effect->WantsModalRun(true)) {
    RunTransitionModal(*effect, bounds, false);
    effect.reset();
    if (DrawingContext *view = GetDrawingContext()) {
      FillRect(*view, bounds, m_backgroundColor);
    }
    return;
  }
  VORTransition &started = *effect;
  m_screenBuffer->SetTransition(std::move(effect));
  started.Start(false);
}

std::unique_ptr<VORTransition> VORPlayerView::MakePageTransition(const VORFXParams &params) {
  VORApp *app = VORApp::Get();
  VORTransitionMaker *maker = app != nullptr ? app->GetTransitionMaker() : nullptr;
  if (maker == nullptr || !m_screenBuffer || !params.HasEffect()) {
    return nullptr;
  }
  return maker->MakeTransition(params, m_screenBuffer.get(), nullptr, this);
}

std::unique_ptr<VORTransition> VORPlayerView::CreateTransition(const VORFXParams &params) {
  std::unique_ptr<VORTransition> effect = MakePageTransition(params);
  if (effect && !effect->WantsModalRun(false)) {
    effect.reset();
  }
  return effect;
}

void VORPlayerView::FillRect(DrawingContext &context, const VORRect &rect, COLORREF colour) {
  context.SetPenColor(colour);
  context.SetBrushColor(colour);
  context.DrawRectangle(rect);
  context.DeletePen();
  context.DeleteBrush();
}

void VORPlayerView::FitPageToEnteredContent() {
  if (m_instance != nullptr) {
    SetPageExtent(m_clientRect.right, m_clientRect.bottom, false, true);
  }
}

void VORPlayerView::PlayEnterTransition() {
  m_enterTransitionStarted = true;
  FitPageToEnteredContent();
  // The objects decide which of them draw through surfaces of their own
  // before the page is first composed.
  if (m_instance != nullptr)
    CompositionOrder::PrepareLevel(*m_instance);
  // The page took the surfaces' bitmaps it could use from those the page
  // before left; the rest go.
  SurfaceBitmapPool::Trim();
  // The buffer still holds the page shown before; objects mark only their
  // own areas, so a page of the same size with fewer objects would show
  // what the last one left behind.
  if (m_screenBuffer)
    m_screenBuffer->AddDirtyRect(m_pageRect);
  if (m_screenBuffer && m_window != nullptr) {
    // Composed with the application palette realised in the window.
    HDC dc = ::GetDC(m_window);
    HPALETTE palette = ApplicationPalette();
    HPALETTE previous = palette != nullptr ? ::SelectPalette(dc, palette, FALSE) : nullptr;
    if (palette != nullptr) {
      ::RealizePalette(dc);
    }
    m_screenBuffer->FlushDirtyRects();
    if (previous != nullptr) {
      ::SelectPalette(dc, previous, FALSE);
    }
    ::ReleaseDC(m_window, dc);
  }
  std::unique_ptr<VORTransition> effect =
      m_instance != nullptr ? MakePageTransition(m_instance->GetPage().GetPageProperties().enterTransition) : nullptr;
  if (!effect) {
    // Without an enter effect the page entry is complete at once.
    CompletePageEntry();
  } else if (effect->WantsModalRun(true)) {
    RunTransitionModal(*effect, m_screenBuffer->GetBounds(), false);
    // An effect that Escape ended is still scheduled: it goes here, so
    // that it never draws again.
    effect.reset();
    InvalidateAll();
    CompletePageEntry();
  } else {
    // The screen buffer paints through the effect until it ends; the
    // refresh then completes the page entry.
    VORTransition &started = *effect;
    m_screenBuffer->SetTransition(std::move(effect));
    started.Start(false);
  }
  if (VORApp *app = VORApp::Get())
    app->RemoveCover();
}

void VORPlayerView::OnIdle() {
  if (m_instance == nullptr || m_idleDone) {
    return;
  }
  m_idleDone = true;
  m_instance->GetPage().LinkPreviousPageResources();
  // What a transition over the page will need is made ready while the
  // reader looks at it: its first frame would wait for it otherwise.
  VORApp *app = VORApp::Get();
  VORTransitionMaker *maker = app != nullptr ? app->GetTransitionMaker() : nullptr;
  if (maker != nullptr && m_screenBuffer && m_screenBuffer->IsTransitionFinished()) {
    const VORRect page = m_screenBuffer->GetBounds();
    maker->PrepareFor(static_cast<int32_t>(page.Width()), static_cast<int32_t>(page.Height()));
  }
}

bool VORPlayerView::TestAndSetIdle() {
  const bool idle = m_idle;
  m_idle = true;
  return idle;
}

void VORPlayerView::ClearClientArea() {
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

void VORPlayerView::CompletePageEntry() {
  m_pageEntryCompleted = true;
  Refresh();
  if (!m_shownNoticeGiven && m_instance != nullptr) {
    m_shownNoticeGiven = true;
    m_instance->OnShown();
  }
}

void VORPlayerView::Refresh() {
  if (m_inRefresh) {
    return;
  }
  m_inRefresh = true;
  FlushDirtyRects();
  const bool entryDue =
      !m_pageEntryCompleted && m_enterTransitionStarted && IsTransitionDone() && m_instance != nullptr;
  m_inRefresh = false;
  if (entryDue) {
    CompletePageEntry();
  }
  ResendMouseIfAsked();
}

// ---- Transitions ----------------------------------------------------------------

bool VORPlayerView::IsTransitionDone() { return !m_screenBuffer || m_screenBuffer->IsTransitionFinished(); }

void VORPlayerView::RunTransitionModal(VORTransition &effect, const VORRect &rect, bool closing) {
  if (m_screenBuffer) {
    m_screenBuffer->FlushDirtyRects();
  }
  effect.RunModal(rect, closing);
}

// ---- Layout -------------------------------------------------------------------------

void VORPlayerView::SetPageExtent(int32_t width, int32_t height, bool redraw, bool force) {
  if (m_inSetPageExtent) {
    m_sizePending = true;
    m_pendingWidth = width;
    m_pendingHeight = height;
    return;
  }
  // The client size decides, not the page's extent: a page centred in a
  // larger client keeps its extent, and the client coming back to the
  // page's size must still bring the page back to its corner.
  if (!force && width == m_clientRect.right && height == m_clientRect.bottom) {
    return;
  }
  m_inSetPageExtent = true;
  m_clientRect = VORRect(0, 0, width, height);
  if (m_instance == nullptr) {
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
  if (VORGraphicalObjectContainerManager *layout = m_instance->GetLayoutManager()) {
    input.neededHeight = [layout](int32_t extentWidth) { return layout->GetHeightForWidth(extentWidth); };
  }
  const PageExtent extent = PageExtent::Compute(input);
  if (!m_dragScroll) {
    SetScrollBars(extent.width, extent.height, extent.scrollX, extent.scrollY);
  }
  m_pageRect = VORRect(0, 0, extent.width, extent.height);
  m_originX = extent.originX;
  m_originY = extent.originY;

  m_instance->SetRect(m_pageRect);
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

void VORPlayerView::SetScrollBars(int32_t width, int32_t height, int32_t scrollX, int32_t scrollY) {
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

void VORPlayerView::HideScrollBars() {
  if (m_window != nullptr) {
    ::SetScrollRange(m_window, SB_HORZ, 0, 0, TRUE);
    ::SetScrollRange(m_window, SB_VERT, 0, 0, TRUE);
  }
}

void VORPlayerView::InvalidateMargins() {
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

void VORPlayerView::OnSize(UINT type, int32_t width, int32_t height) {
  if (type == SIZE_MINIMIZED) {
    return;
  }
  SetPageExtent(width, height, true, false);
}

// ---- Painting ---------------------------------------------------------------------------

void VORPlayerView::PaintMargins(DrawingContext &context, const RECT &paint) {
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

void VORPlayerView::OnPaint() {
  static bool s_firstPaint = true;
  if (s_firstPaint) {
    s_firstPaint = false;
    StartupTrace::Mark("first view painted");
  }
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

LRESULT VORPlayerView::OnQueryNewPalette() {
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

LRESULT VORPlayerView::OnPaletteChanged(HWND changedBy) {
  if (m_window != nullptr && changedBy != m_window) {
    OnQueryNewPalette();
  }
  return 0;
}

// ---- Scrolling ------------------------------------------------------------------------------

void VORPlayerView::OnHScroll(int32_t request) {
  SCROLLINFO info = {};
  info.cbSize = sizeof info;
  info.fMask = SIF_ALL;
  ::GetScrollInfo(m_window, SB_HORZ, &info);
  Scroll(SB_HORZ, ScrollPosition::ForRequest(request, ::GetScrollPos(m_window, SB_HORZ), info.nTrackPos, info.nMax,
                                             static_cast<int32_t>(info.nPage)));
}

void VORPlayerView::OnVScroll(int32_t request) {
  SCROLLINFO info = {};
  info.cbSize = sizeof info;
  info.fMask = SIF_ALL;
  ::GetScrollInfo(m_window, SB_VERT, &info);
  Scroll(SB_VERT, ScrollPosition::ForRequest(request, ::GetScrollPos(m_window, SB_VERT), info.nTrackPos, info.nMax,
                                             static_cast<int32_t>(info.nPage)));
}

void VORPlayerView::OnMouseWheel(WPARAM wParam) {
  SCROLLINFO info = {};
  info.cbSize = sizeof info;
  info.fMask = SIF_ALL;
  if (!::GetScrollInfo(m_window, SB_VERT, &info) || info.nMax < static_cast<int>(info.nPage)) {
    return;
  }
  const auto delta = static_cast<int16_t>(HIWORD(wParam));
  Scroll(SB_VERT, ScrollPosition::ForWheel(delta, info.nPos, info.nMax, static_cast<int32_t>(info.nPage)));
}

void VORPlayerView::Scroll(int bar, int32_t position) {
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

void VORPlayerView::InvalidateAll() { AddDirtyRect(m_pageRect); }

DrawingContext *VORPlayerView::GetDrawingContext() {
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

void VORPlayerView::DeleteDrawingContext() {
  m_context.reset();
  if (m_contextDC != nullptr) {
    ::ReleaseDC(m_window, m_contextDC);
    m_contextDC = nullptr;
  }
}

void VORPlayerView::FlushDirtyRects() {
  if (m_window == nullptr) {
    VORView::FlushDirtyRects();
    return;
  }
  ::HideCaret(m_window);
  VORView::FlushDirtyRects();
  DeleteDrawingContext();
  ::ShowCaret(m_window);
}

void VORPlayerView::RedrawRect(const VORRect &rect) {
  VORRect part;
  if (!m_screenBuffer || !part.Intersect(rect, m_pageRect)) {
    return;
  }
  if (GetDrawingContext() == nullptr) {
    return;
  }
  m_screenBuffer->PresentRect(part, part);
}

int32_t VORPlayerView::GetBitsPerPixel() { return ScreenDepth::Get(); }

VORRect VORPlayerView::ScrollRect(const VORRect &rect, int32_t dx, int32_t dy) {
  if (m_window != nullptr) {
    const VORRect band = PageToClientRect(rect);
    const RECT client = {band.left, band.top, band.right, band.bottom};
    ::ScrollWindow(m_window, dx, dy, &client, &client);
  }
  return rect;
}
