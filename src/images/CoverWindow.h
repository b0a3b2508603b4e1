#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>

#include "engine/VORCover.h"
#include "images/ImageLayout.h"

class Palette;
class VORInternalImage;

// The start-up's cover: a borderless topmost window centred on the screen,
// exactly as large as the internal picture it shows. One at a time.
class CoverWindow : public VORCover {
public:
  static constexpr const char *kClassName = "VORCOVER";

  // The cover over the resource; null when the picture does not load or the
  // window cannot be made (the program then runs without a cover).
  static std::unique_ptr<VORCover> Make(HINSTANCE instance, uint32_t resourceHandle);
  ~CoverWindow() override;

  HWND GetWindow() const { return m_window; }
  // The one cover there is, or null.
  static CoverWindow *Current() { return s_current; }

private:
  CoverWindow(HINSTANCE instance, uint32_t resourceHandle);
  bool Create(HINSTANCE instance);
  void MakePalette();
  void Paint();
  static LRESULT CALLBACK CoverWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  std::unique_ptr<VORInternalImage> m_image;
  ImageLayout m_layout;
  std::unique_ptr<Palette> m_palette;
  HWND m_window = nullptr;

  static CoverWindow *s_current;
};
