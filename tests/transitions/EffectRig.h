#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "display/DrawingContext.h"
#include "display/VORBitmapObjectSurface.h"
#include "engine/VORUpdateController.h"
#include "model/VORFXParams.h"
#include "support/FakeApp.h"

// What the effect tests and the frame timing share: an application whose
// update controller runs on the caller's clock, bitmap surfaces that hold
// the pictures, and parameter records made to order.
namespace EffectRig {

class ClockApp : public FakeApp {
public:
  explicit ClockApp(VORUpdateController &controller) : m_controller(controller) {}
  VORUpdateController *GetUpdateController() override { return &m_controller; }

private:
  VORUpdateController &m_controller;
};

// Draws top-down 32-bit pixels (0x00RRGGBB) of width x height at the
// device context's origin.
inline void DrawPixels(HDC dc, int32_t width, int32_t height, const std::vector<uint32_t> &pixels) {
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  ::SetDIBitsToDevice(dc, 0, 0, static_cast<DWORD>(width), static_cast<DWORD>(height), 0, 0, 0,
                      static_cast<UINT>(height), pixels.data(), &info, DIB_RGB_COLORS);
}

// A picture of the whole page in a DIB section; it redraws nothing itself.
class PictureSurface : public VORBitmapObjectSurface {
public:
  PictureSurface(const VORRect &page, VORDrawingSurface *owner)
      : VORBitmapObjectSurface(Params{page, false, true, nullptr, owner}) {}
  void RedrawRect(const VORRect & /*rect*/) override {}

  void Draw(const std::vector<uint32_t> &pixels) {
    const VORRect page = GetBounds();
    DrawPixels(GetDrawingContext()->GetDC(), static_cast<int32_t>(page.Width()), static_cast<int32_t>(page.Height()),
               pixels);
    ReleaseContexts();
  }
};

using RecordMaker = std::function<std::unique_ptr<VORFXProperties>()>;

// A record of the effect's own class with the fields the caller sets.
template <class Record>
RecordMaker With(std::function<void(Record &)> set) {
  return [set] {
    auto record = std::make_unique<Record>();
    set(*record);
    return std::unique_ptr<VORFXProperties>(std::move(record));
  };
}

} // namespace EffectRig
