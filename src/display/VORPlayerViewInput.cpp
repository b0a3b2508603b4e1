// The player view's input: window messages to object actions, the pointer
// shape and auto-scroll in drag-scroll mode.
#include <windows.h>

#include <algorithm>

#include "display/VORKeyboardObjectAction.h"
#include "display/VORPlayerView.h"
#include "model/VORApp.h"
#include "model/VORFileManager.h"
#include "model/VORPublication.h"

namespace {

class Win32CursorPlatform : public ViewCursor::Platform {
public:
  ViewCursor::Handle LoadSystemCursor(int32_t id) override {
    return ::LoadCursorA(nullptr, MAKEINTRESOURCEA(static_cast<WORD>(id)));
  }
  ViewCursor::Handle LoadCursorFile(const char *path) override { return ::LoadCursorFromFileA(path); }
  void DestroyCursor(ViewCursor::Handle cursor) override { ::DestroyCursor(static_cast<HCURSOR>(cursor)); }
  void SetCursor(ViewCursor::Handle cursor) override { ::SetCursor(static_cast<HCURSOR>(cursor)); }
  ViewCursor::Handle GetCursor() override { return ::GetCursor(); }
  bool ResolvePath(const VORExternalResourceIdentifier &identifier, VORString &path) override {
    VORApp *app = VORApp::Get();
    VORFileManager *files = app != nullptr ? app->GetFileManager() : nullptr;
    return files != nullptr && files->ResolvePath(identifier, path);
  }
};

// The pointer the publication shows where no object asks for another: the
// publication record names none that the player uses, so the system arrow.
const VORExternalResourceIdentifier &PublicationCursor() {
  static const VORExternalResourceIdentifier arrow(0, "%7F00");
  return arrow;
}

bool IsKeyDown(int key) { return (static_cast<uint16_t>(::GetAsyncKeyState(key)) & 0x8000u) != 0; }

// Client coordinates are signed: while the mouse is captured the pointer
// may lie left of or above the window.
VORPoint ClientPoint(LPARAM point) {
  return VORPoint{static_cast<int16_t>(LOWORD(point)), static_cast<int16_t>(HIWORD(point))};
}

} // namespace

ViewCursor &VORPlayerView::GetCursor() {
  if (!m_cursor) {
    m_cursorPlatform = std::make_unique<Win32CursorPlatform>();
    m_cursor = std::make_unique<ViewCursor>(*m_cursorPlatform);
  }
  return *m_cursor;
}

uint32_t VORPlayerView::GetModifierBits() {
  uint32_t bits = 0;
  if (IsKeyDown(VK_CONTROL))
    bits |= VORInput::kCtrl;
  if (IsKeyDown(VK_MENU))
    bits |= VORInput::kAlt;
  if (IsKeyDown(VK_SHIFT))
    bits |= VORInput::kShift;
  return bits;
}

void VORPlayerView::TakeButtonPoint(LPARAM point) { GetInput().SetLastPosition(ClientToPagePoint(ClientPoint(point))); }

void VORPlayerView::OnLButtonDown(WPARAM /*flags*/, LPARAM point) {
  TakeButtonPoint(point);
  m_held.left = true;
  if (m_window != nullptr)
    ::SetFocus(m_window);
  DispatchMouseEvent(VORInput::kLeftDown);
}

void VORPlayerView::OnLButtonUp(WPARAM /*flags*/, LPARAM point) {
  TakeButtonPoint(point);
  m_held.left = false;
  DispatchMouseEvent(VORInput::kLeftUp);
}

void VORPlayerView::OnLButtonDblClk(WPARAM /*flags*/, LPARAM point) {
  TakeButtonPoint(point);
  DispatchMouseEvent(VORInput::kLeftDoubleClick);
}

void VORPlayerView::OnRButtonDown(WPARAM /*flags*/, LPARAM point) {
  TakeButtonPoint(point);
  m_held.right = true;
  DispatchMouseEvent(VORInput::kRightDown);
}

void VORPlayerView::OnRButtonUp(WPARAM /*flags*/, LPARAM point) {
  TakeButtonPoint(point);
  m_held.right = false;
  DispatchMouseEvent(VORInput::kRightUp);
}

void VORPlayerView::OnRButtonDblClk(WPARAM /*flags*/, LPARAM point) {
  TakeButtonPoint(point);
  DispatchMouseEvent(VORInput::kRightDoubleClick);
}

void VORPlayerView::OnMouseMove(WPARAM /*flags*/, LPARAM point) {
  const VORPoint client = ClientPoint(point);
  const VORPoint page = ClientToPagePoint(client);
  const VORPoint last = GetInput().GetLastPosition();
  if (page.x == last.x && page.y == last.y)
    return;
  if (m_dragScroll) {
    int32_t dx = 0;
    int32_t dy = 0;
    if (m_clientRect.Contains(client.x, client.y) && GetAutoScrollStep(client, dx, dy))
      StartAutoScroll(dx, dy);
    else if (m_autoScroll.running)
      StopAutoScroll();
  }
  DispatchMouseMove(client);
}

void VORPlayerView::DispatchMouseMove(VORPoint clientPoint) {
  GetInput().DispatchMouseMove(ClientToPagePoint(clientPoint));
}

void VORPlayerView::OnPointerMoved() {
  m_idle = false;
  GetCursor().SetWanted(PublicationCursor());
  GetCursor().RequestUpdate();
}

void VORPlayerView::RequestCursorUpdate() { GetCursor().RequestUpdate(); }

void VORPlayerView::SetObjectCursor(const VORExternalResourceIdentifier *identifier) {
  GetCursor().SetObjectCursor(identifier);
}

void VORPlayerView::UpdateCursor() {
  VORApp *app = VORApp::Get();
  const bool publicationCursor = app != nullptr && app->UsesPublicationCursor() && app->GetPublication() != nullptr;
  GetCursor().Update(publicationCursor ? &PublicationCursor() : nullptr);
}

void VORPlayerView::ResendMouseIfAsked() {
  if (m_resendMouse) {
    m_resendMouse = false;
    GetInput().DispatchMouseMove(GetInput().GetLastPosition());
  }
  if (GetCursor().IsUpdateWanted())
    UpdateCursor();
}

void VORPlayerView::OnKeyDown(WPARAM key, LPARAM data) {
  m_idle = false;
  m_held.key = true;
  m_held.keyWParam = key;
  m_held.keyLParam = data;
  DispatchKeyEvent(VORKeyboardObjectAction::kKeyDown, key, data);
}

void VORPlayerView::OnKeyUp(WPARAM key, LPARAM data) {
  m_held.key = false;
  DispatchKeyEvent(VORKeyboardObjectAction::kKeyUp, key, data);
}

void VORPlayerView::OnChar(WPARAM key, LPARAM data) {
  DispatchKeyEvent(VORKeyboardObjectAction::kCharacter, key, data);
}

LRESULT VORPlayerView::OnKillFocus() {
  const HeldInput held = m_held;
  m_held = HeldInput{};
  if (held.left)
    DispatchMouseEvent(VORInput::kLeftUp);
  if (held.right)
    DispatchMouseEvent(VORInput::kRightUp);
  if (held.key)
    DispatchKeyEvent(VORKeyboardObjectAction::kKeyUp, held.keyWParam, held.keyLParam);
  return 0;
}

void VORPlayerView::OnTimer(WPARAM timer) {
  if (m_autoScroll.running && timer == kAutoScrollTimer)
    AutoScrollStep();
}

// ---- Auto-scroll -----------------------------------------------------------------

bool VORPlayerView::GetAutoScrollStep(VORPoint clientPoint, int32_t &dx, int32_t &dy) const {
  dx = 0;
  dy = 0;
  const VORPoint last = PageToClientPoint(GetInput().GetLastPosition());
  const bool running = m_autoScroll.running;
  // A page smaller than the window is centred (origin above 0) and never
  // scrolls that way.
  if (m_originX <= 0) {
    if (clientPoint.x > m_clientRect.right - kAutoScrollBand && (clientPoint.x > last.x || running))
      dx = 1;
    else if (clientPoint.x < kAutoScrollBand && (clientPoint.x < last.x || running))
      dx = -1;
  }
  if (m_originY <= 0) {
    if (clientPoint.y > m_clientRect.bottom - kAutoScrollBand && (clientPoint.y > last.y || running))
      dy = 1;
    else if (clientPoint.y < kAutoScrollBand && (clientPoint.y < last.y || running))
      dy = -1;
  }
  return dx != 0 || dy != 0;
}

void VORPlayerView::StartAutoScroll(int32_t dx, int32_t dy) {
  if (dx == 0 && dy == 0)
    return;
  m_autoScroll.stepX = dx * kAutoScrollPixels;
  m_autoScroll.stepY = dy * kAutoScrollPixels;
  if (!m_autoScroll.running && m_window != nullptr) {
    m_autoScroll.running = true;
    ::SetTimer(m_window, kAutoScrollTimer, kAutoScrollPeriod, nullptr);
    ::SetCapture(m_window);
  }
}

void VORPlayerView::StopAutoScroll() {
  if (m_window != nullptr) {
    ::KillTimer(m_window, kAutoScrollTimer);
    ::ReleaseCapture();
  }
  m_autoScroll.running = false;
}

void VORPlayerView::AutoScrollStep() {
  // The origin stays between "the page's far edge at the window's edge"
  // and 0, so the page never scrolls past its edges.
  const auto clampOrigin = [](int32_t origin, int32_t client, int32_t page) {
    return std::min(std::max(origin, client - page), 0);
  };
  const int32_t newX = m_autoScroll.stepX != 0
                           ? clampOrigin(m_originX - m_autoScroll.stepX, m_clientRect.right, m_pageRect.right)
                           : m_originX;
  const int32_t newY = m_autoScroll.stepY != 0
                           ? clampOrigin(m_originY - m_autoScroll.stepY, m_clientRect.bottom, m_pageRect.bottom)
                           : m_originY;
  if (newX == m_originX && newY == m_originY)
    return;
  if (m_window != nullptr)
    ::ScrollWindowEx(m_window, newX - m_originX, newY - m_originY, nullptr, nullptr, nullptr, nullptr, SW_INVALIDATE);
  const bool movedX = newX != m_originX;
  const bool movedY = newY != m_originY;
  m_originX = newX;
  m_originY = newY;
  DeleteDrawingContext();
  MoveOrigin(-m_originX, -m_originY, true);
  // Child windows keep their place on the page.
  MoveChildWindows(movedX ? -m_originX : -1, movedY ? -m_originY : -1);
}
