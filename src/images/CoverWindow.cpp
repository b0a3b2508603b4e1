#include "images/CoverWindow.h"

#include "display/DibImage.h"
#include "display/DisplaySettings.h"
#include "display/DrawingContext.h"
#include "display/Palette.h"
#include "foundation/XQCallbackGuard.h"
#include "images/VORInternalImage.h"

CoverWindow *CoverWindow::s_current = nullptr;

CoverWindow::CoverWindow(HINSTANCE /*instance*/, uint32_t resourceHandle)
    : m_image(std::make_unique<VORInternalImage>(resourceHandle, ImageLayout())) {}

std::unique_ptr<VORCover> CoverWindow::Make(HINSTANCE instance, uint32_t resourceHandle) {
  if (s_current != nullptr)
    return nullptr;
  std::unique_ptr<CoverWindow> cover(new CoverWindow(instance, resourceHandle));
  s_current = cover.get();
  if (!cover->Create(instance))
    return nullptr;
  return cover;
}

bool CoverWindow::Create(HINSTANCE instance) {
  if (!m_image->Lock())
    return false;
  int32_t width = 0, height = 0, depth = 0;
  m_image->GetSize(width, height, depth);
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = CoverWindowProc;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = kClassName;
  // A class left by an earlier cover of this process serves again.
  if (!RegisterClassA(&windowClass) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
    return false;
  m_layout.left = 0;
  m_layout.top = 0;
  m_layout.right = width;
  m_layout.bottom = height;
  m_image->GetLayout() = m_layout;
  const int left = GetSystemMetrics(SM_CXSCREEN) / 2 - width / 2;
  const int top = GetSystemMetrics(SM_CYSCREEN) / 2 - height / 2;
  m_window =
      CreateWindowExA(0, kClassName, nullptr, WS_POPUP, left, top, width, height, nullptr, nullptr, instance, nullptr);
  if (m_window == nullptr)
    return false;
  if (GetDisplaySettings().paletteDisplay)
    MakePalette();
  ShowWindow(m_window, SW_SHOW);
  UpdateWindow(m_window);
  SetWindowPos(m_window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  return true;
}

void CoverWindow::MakePalette() {
  constexpr int32_t kPaletteDepth = 8;
  const DibImage *picture = m_image->GetDib();
  if (picture != nullptr && picture->GetBitsPerPixel() == kPaletteDepth) {
    m_palette =
        std::make_unique<Palette>(picture->GetColorTable(), static_cast<int32_t>(picture->GetColorTableEntries()));
    return;
  }
  m_palette = std::make_unique<Palette>();
  m_palette->LoadDefault();
}

CoverWindow::~CoverWindow() {
  if (m_window != nullptr)
    DestroyWindow(m_window);
  m_image.reset();
  m_palette.reset();
  if (s_current == this)
    s_current = nullptr;
}

// The picture fills the window one to one; a partial repaint draws the same
// picture clipped to the part to paint.
void CoverWindow::Paint() {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(m_window, &paint);
  if (m_image && m_image->GetDib() != nullptr) {
    DrawingContext context(dc, nullptr);
    if (m_palette && m_palette->GetHPalette() != nullptr) {
      context.SelectPalette(m_palette->GetHPalette());
      context.RealizePalette();
    }
    RECT client;
    GetClientRect(m_window, &client);
    const VORRect destination(client.left, client.top, client.right, client.bottom);
    const VORRect clip(paint.rcPaint.left, paint.rcPaint.top, paint.rcPaint.right, paint.rcPaint.bottom);
    m_image->Draw(context, destination, clip);
  }
  EndPaint(m_window, &paint);
}

LRESULT CALLBACK CoverWindow::CoverWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT && s_current != nullptr && s_current->m_window == window)
    return XQCallbackGuard::Call(LRESULT{0}, [] {
      s_current->Paint();
      return LRESULT{0};
    });
  return DefWindowProcA(window, message, wParam, lParam);
}
