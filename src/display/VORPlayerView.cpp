#include "display/VORPlayerView.h"

#include <algorithm>

#include "display/SystemErrorHook.h"
#include "display/VORScreenBuffer.h"
#include "foundation/XQCallbackGuard.h"
#include "model/VORApp.h"
#include "model/VORChapter.h"
#include "model/VORObjectAction.h"
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

bool IsMouseMessage(UINT message) {
  return message == WM_MOUSEMOVE || message == WM_LBUTTONDOWN || message == WM_LBUTTONUP || message == WM_RBUTTONDOWN ||
         message == WM_RBUTTONUP;
}

} // namespace

// ---- Child windows ---------------------------------------------------------------

VORPlayerView::PlayerViewChildWindow::PlayerViewChildWindow(HWND parent, const VORRect &rect,
                                                            ChildWindowCallback *callback)
    : m_callback(callback), m_rect(rect) {
  HINSTANCE instance = reinterpret_cast<HINSTANCE>(::GetWindowLongPtrA(parent, GWLP_HINSTANCE));
  WNDCLASSA existing;
  if (!::GetClassInfoA(instance, kChildWindowClass, &existing)) {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = &ChildWindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kChildWindowClass;
    if (::RegisterClassA(&windowClass) == 0) {
      ReportSystemError(kErrorWindowClassNotRegistered);
    }
  }
  m_window = ::CreateWindowExA(0, kChildWindowClass, "", WS_CHILD | WS_VISIBLE, rect.left, rect.top,
                               static_cast<int>(rect.Width()), static_cast<int>(rect.Height()), parent, nullptr,
                               instance, nullptr);
  if (m_window == nullptr) {
    ReportSystemError(kErrorWindowNotCreated);
    return;
  }
  ::SetWindowLongPtrA(m_window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

VORPlayerView::PlayerViewChildWindow::~PlayerViewChildWindow() {
  if (m_window != nullptr) {
    ::SetWindowLongPtrA(m_window, GWLP_USERDATA, kNoView);
    ::DestroyWindow(m_window);
  }
}

void VORPlayerView::PlayerViewChildWindow::Record(int32_t horizontal, int32_t vertical) {
  if (m_window == nullptr) {
    return;
  }
  RECT rect;
  ::GetWindowRect(m_window, &rect);
  POINT topLeft = {rect.left, rect.top};
  ::ScreenToClient(::GetParent(m_window), &topLeft);
  m_recorded = POINT{topLeft.x + horizontal, topLeft.y + vertical};
  m_recordedHorizontal = horizontal;
  m_recordedVertical = vertical;
}

void VORPlayerView::PlayerViewChildWindow::Follow(int32_t horizontal, int32_t vertical) {
  if (m_window == nullptr) {
    return;
  }
  if (horizontal != -1) {
    m_recordedHorizontal = horizontal;
  }
  if (vertical != -1) {
    m_recordedVertical = vertical;
  }
  ::SetWindowPos(m_window, nullptr, m_recorded.x - m_recordedHorizontal, m_recorded.y - m_recordedVertical, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CALLBACK VORPlayerView::PlayerViewChildWindow::ChildWindowProc(HWND window, UINT message, WPARAM wParam,
                                                                       LPARAM lParam) {
  return XQCallbackGuard::Call(LRESULT{0}, [&]() -> LRESULT {
    auto *child = reinterpret_cast<PlayerViewChildWindow *>(::GetWindowLongPtrA(window, GWLP_USERDATA));
    if (child == nullptr || message == WM_CREATE || message == WM_NCCREATE) {
      return ::DefWindowProcA(window, message, wParam, lParam);
    }
    return child->HandleMessage(message, wParam, lParam);
  });
}

LRESULT VORPlayerView::PlayerViewChildWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (m_callback != nullptr && m_callback->OnChildWindowMessage(message, wParam, lParam)) {
    return 0;
  }
  if (IsMouseMessage(message)) {
    // Client to client: window rectangles would count the parent's caption
    // and frame as well.
    HWND parent = ::GetParent(m_window);
    POINT point = {static_cast<int16_t>(LOWORD(lParam)), static_cast<int16_t>(HIWORD(lParam))};
    ::MapWindowPoints(m_window, parent, &point, 1);
    ::SendMessageA(parent, message, wParam, MAKELPARAM(point.x, point.y));
    return 0;
  }
  return ::DefWindowProcA(m_window, message, wParam, lParam);
}

bool VORPlayerView::CreateChildWindow(const VORRect &rect, ChildWindowCallback *callback, HWND &window) {
  window = nullptr;
  if (GetWindow() == nullptr) {
    ReportSystemError(kErrorWindowNotCreated);
    return false;
  }
  auto child = std::make_unique<PlayerViewChildWindow>(GetWindow(), rect, callback);
  if (child->GetWindow() == nullptr) {
    return false;
  }
  window = child->GetWindow();
  child->Record(m_horizontalPosition, m_verticalPosition);
  m_children.push_back(std::move(child));
  return true;
}

void VORPlayerView::DestroyChildWindow(ChildWindowCallback *callback) {
  const auto found = std::find_if(m_children.begin(), m_children.end(),
                                  [&](const auto &child) { return child->GetCallback() == callback; });
  if (found != m_children.end()) {
    m_children.erase(found);
  }
}

void VORPlayerView::RecordChildWindowPositions() {
  const VORPoint origin = GetScrollOrigin();
  m_horizontalPosition = std::max(-origin.x, 0);
  m_verticalPosition = std::max(-origin.y, 0);
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

VORPlayerView::VORPlayerView(uint32_t classKey, int32_t id) : VORRunView(classKey, id), m_ownsWindow(true) {}

VORPlayerView::VORPlayerView(uint32_t classKey, int32_t id, HWND window)
    : VORRunView(classKey, id), m_ownsWindow(false) {
  SetWindow(window);
}

VORPlayerView::~VORPlayerView() {
  Unregister();
  m_children.clear();
  DeleteDrawingContext();
  HWND window = GetWindow();
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
  SetWindow(window);
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
      app->CloseView(window); // may delete this view
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
  default:
    handled = false;
    return 0;
  }
}

bool VORPlayerView::OnCloseBox() {
  VORApp *app = VORApp::Get();
  if (app == nullptr) {
    return true;
  }
  if (m_chapterHasOwnWindow) {
    // Closing a chapter's window goes on to DefWindowProc (WM_CLOSE).
    VORObjectAction close(VORObjectAction::kClassKey, -1);
    close.SetTarget(GetObjectCode());
    close.SetActionCode(kCloseViewAction);
    app->ExecuteAction(close);
    return false;
  }
  VORPublication *publication = app->GetPublication();
  if (publication != nullptr && publication->AllowsCloseBoxExit()) {
    VORObjectAction exit(VORObjectAction::kClassKey, -1);
    exit.SetTarget(kPlayer);
    exit.SetActionCode(kExitAction);
    app->ExecuteAction(exit);
  }
  return true;
}

// ---- Pages ----------------------------------------------------------------------------------

void VORPlayerView::PlaceWindow(const VORChapter *chapter) {
  HWND window = GetWindow();
  if (window == nullptr || !m_ownsWindow) {
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
        ::SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
      }
      SetDragScrollMode(publication->HidesScrollBars());
    }
  }
  ::MoveWindow(window, rect.left, rect.top, rect.width, rect.height, TRUE);
  ::ShowWindow(window, SW_SHOW);
}

void VORPlayerView::ShowPageInView(VORRecursiveObjectContainer *page, const PageFacts &facts,
                                   const VORChapter *chapter) {
  m_chapterHasOwnWindow = chapter != nullptr && chapter->HasOwnWindow();
  if (!GetScreenBuffer()) {
    SetScreenBuffer(std::make_unique<VORScreenBuffer>(this, facts.pageRect));
    SetChapterFacts(facts.chapterPageRect, facts.keepAspect);
    HideScrollBars();
    PlaceWindow(chapter);
  } else if (facts.chapterPageRect != GetChapterPageRect() || facts.keepAspect != KeepsAspect() ||
             facts.pageRect != GetShownPageRect()) {
    SetChapterFacts(facts.chapterPageRect, facts.keepAspect);
    HideScrollBars();
  }
  ShowPage(page, facts);
}

VORRunView::PageFacts VORPlayerView::FactsFor(const VORObjectCode &reference, const VORRect &pageRect,
                                              COLORREF backgroundColor, const VORChapter *chapter) {
  PageFacts facts;
  facts.reference = reference;
  facts.pageRect = pageRect;
  facts.backgroundColor = backgroundColor;
  if (chapter != nullptr) {
    chapter->GetPageRect(facts.chapterPageRect.left, facts.chapterPageRect.top, facts.chapterPageRect.right,
                         facts.chapterPageRect.bottom);
    facts.keepAspect = chapter->KeepsAspectRatio();
  }
  return facts;
}
