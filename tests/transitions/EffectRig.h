#pragma once

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <vector>

#include "display/DrawingContext.h"
#include "display/GdiCanvas.h"
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
// device context's origin, through a canvas of their own.
inline void DrawPixels(HDC dc, int32_t width, int32_t height, const std::vector<uint32_t> &pixels) {
  GdiCanvas canvas(width, height, 32);
  std::memcpy(canvas.bits(), pixels.data(), pixels.size() * sizeof(uint32_t));
  ::BitBlt(dc, 0, 0, width, height, canvas.dc(), 0, 0, SRCCOPY);
  ::GdiFlush();
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
