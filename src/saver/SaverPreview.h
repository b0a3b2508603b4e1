#pragma once

#include <windows.h>

#include <cstdint>

class VORResourceManager;

// The saver's preview: the publication's cover picture stretched over the
// whole window, or the window black when there is no cover to show.
class SaverPreview {
public:
  // The cover: internal resource 1, in the internal picture format.
  static constexpr int32_t kCoverResourceNumber = 1;

  // Paints the window as WM_PAINT asks; resources may be null (no cover).
  // The picture and its palette live for this paint only.
  static void Paint(VORResourceManager *resources, HWND window, bool paletteDisplay);
};
