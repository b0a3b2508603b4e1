#include "display/PlayerViewChildWindow.h"

#include "display/SystemErrorHook.h"
#include "foundation/XQCallbackGuard.h"

namespace {

constexpr LONG_PTR kNoChild = 0;

bool IsMouseMessage(UINT message) {
  return message == WM_MOUSEMOVE || message == WM_LBUTTONDOWN || message == WM_LBUTTONUP || message == WM_RBUTTONDOWN ||
         message == WM_RBUTTONUP;
}

} // namespace

VORPlayerView::PlayerViewChildWindow::PlayerViewChildWindow(HWND parent, const VORRect &rect,
                                                            ChildWindowCallback &callback)
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
    ::SetWindowLongPtrA(m_window, GWLP_USERDATA, kNoChild);
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
  if (m_callback.OnChildWindowMessage(message, wParam, lParam)) {
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
