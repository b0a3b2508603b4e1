// Times every transition effect's frames over a full 1024 x 768 window
// under the system: the pictures in bitmap surfaces, each frame composed
// and blitted into the window's device context, as a modal page transition
// does. 60 frames over the effect's duration, stepped by a clock of the
// program's own so that every run draws the same frames; each frame timed
// on the wall clock. Prints the first frame (which takes the pictures),
// then the mean and the worst of the rest per effect, beside memcpy of a
// 24-bit frame of the same size. A report, not a test: it fails only when
// the window cannot be made.
//
// Run under Wine on an X display: wine transition_frame_timing.exe

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <random>
#include <vector>

#include "EffectRig.h"
#include "display/DisplaySettings.h"
#include "display/DrawingContext.h"
#include "display/VORView.h"
#include "engine/VORUpdateController.h"
#include "support/FakeClock.h"
#include "transitions/FXPictureStore.h"
#include "transitions/VORBlindFX.h"
#include "transitions/VORBlockFX.h"
#include "transitions/VORFadeFX.h"
#include "transitions/VORPixelFX.h"
#include "transitions/VORPlayerFXManager.h"
#include "transitions/VORScrollFX.h"
#include "transitions/VORShapeFX.h"
#include "transitions/VORSlideFX.h"
#include "transitions/VORTimedFX.h"
#include "transitions/VORZoomFX.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int32_t kWidth = 1024;
constexpr int32_t kHeight = 768;
constexpr int32_t kFrames = 60;
constexpr uint32_t kDuration = 1000;
constexpr int32_t kBytesPerPixel = 3;

// The view of a real window: effects paint into its device context.
class WindowView : public VORView {
public:
  explicit WindowView(HWND window) : VORView(VORObjectCode::MakeClassKey(0, 3), 1), m_window(window) {
    SetBounds(VORRect(0, 0, kWidth, kHeight));
    m_dc = ::GetDC(window);
    m_context = std::make_unique<DrawingContext>(m_dc, nullptr);
  }
  ~WindowView() override {
    m_context.reset();
    ::ReleaseDC(m_window, m_dc);
  }

  void Refresh() override {}
  bool Initialize() override { return true; }
  void ShowPageInstance(VORPageInstance & /*instance*/) override {}
  void LeavePageInstance(VORPageInstance & /*instance*/) override {}
  void PlayEnterTransition() override {}
  VORPageInstance *GetPageInstance() override { return nullptr; }
  HWND__ *GetWindow() override { return m_window; }
  VORScreenBuffer *GetScreenBuffer() override { return nullptr; }
  DrawingContext *GetDrawingContext() override { return m_context.get(); }
  int32_t GetBitsPerPixel() override { return 32; }
  void RedrawRect(const VORRect & /*rect*/) override {}

private:
  HWND m_window;
  HDC m_dc = nullptr;
  std::unique_ptr<DrawingContext> m_context;
};

std::vector<uint32_t> Noise(uint32_t seed) {
  std::mt19937 random(seed);
  std::vector<uint32_t> pixels(static_cast<size_t>(kWidth) * kHeight);
  for (uint32_t &pixel : pixels)
    pixel = random() & 0xFFFFFF;
  return pixels;
}

double Milliseconds(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

double MemcpyMilliseconds() {
  const size_t bytes = static_cast<size_t>(kWidth) * kBytesPerPixel * kHeight;
  std::vector<uint8_t> from(bytes, 1), to(bytes);
  volatile uint8_t sink = 0;
  int runs = 0;
  const auto start = Clock::now();
  do {
    std::memcpy(to.data(), from.data(), bytes);
    sink = static_cast<uint8_t>(sink + to[bytes / 2]);
    ++runs;
  } while (Clock::now() - start < std::chrono::milliseconds(500));
  return Milliseconds(Clock::now() - start) / runs;
}

struct Effect {
  const char *label;
  const char *name;
  EffectRig::RecordMaker record;
};

// The effect's record with a second's duration and the fields set.
template <class Record>
EffectRig::RecordMaker With(std::function<void(Record &)> set) {
  return EffectRig::With<Record>([set](Record &record) {
    record.duration = kDuration;
    set(record);
  });
}

std::vector<Effect> Effects() {
  return {
      // The process's first effect: it takes the pictures made ready while
      // the page was idle; the next ones take them from the effect before.
      {"Fade (cold)", "Fade", With<VORFadeFX::FadeFXProperties>([](auto &r) { r.levels = 64; })},
      {"Fade", "Fade", With<VORFadeFX::FadeFXProperties>([](auto &r) { r.levels = 64; })},
      {"Fade colour", "Fade", With<VORFadeFX::FadeFXProperties>([](auto &r) {
         r.levels = 64;
         r.colour = 0x000080FF;
       })},
      {"Pixel 0", "Pixel", With<VORPixelFX::PixelFXProperties>([](auto &) {})},
      {"Pixel 2", "Pixel", With<VORPixelFX::PixelFXProperties>([](auto &r) { r.mode = 2; })},
      {"Blind", "Blind", With<VORBlindFX::BlindFXProperties>([](auto &r) { r.mode = 2; })},
      {"Jigsaw 10x10", "Jigsaw", With<VORBlockFX::BlockFXProperties>([](auto &) {})},
      {"Jigsaw 64x48", "Jigsaw", With<VORBlockFX::BlockFXProperties>([](auto &r) {
         r.columns = 64;
         r.rows = 48;
         r.order = 7;
       })},
      {"Scroll", "Scroll", With<VORScrollFX::ScrollFXProperties>([](auto &r) {
         r.dx = 1;
         r.wipe = 0;
       })},
      {"Block 32x24", "Block", With<VORBlockFX::BlockFXProperties>([](auto &r) {
         r.columns = 32;
         r.rows = 24;
       })},
      {"Slide", "Slide", With<VORSlideFX::SlideFXProperties>([](auto &r) { r.dx = 1; })},
      {"Zoom", "Zoom", With<VORZoomFX::ZoomFXProperties>([](auto &) {})},
      {"Zoom out", "Zoom", With<VORZoomFX::ZoomFXProperties>([](auto &r) { r.mode = 0x15; })},
      {"Shape star", "Shape", With<VORShapeFX::ShapeFXProperties>([](auto &r) {
         r.shape = 2;
         r.starRatio = 128;
         r.columns = 4;
         r.rows = 3;
         r.rotation = 90;
       })},
  };
}

struct Timing {
  double start = 0;
  double first = 0;
  double mean = 0;
  double worst = 0;
  int32_t worstFrame = 0;
};

// Starts the effect over rect and draws its frames as the clock runs over
// the duration.
Timing TimeFrames(VORTimedFX &effect, FakeClock &clock, const VORRect &rect) {
  Timing timing;
  clock.Set(0);
  const auto begin = Clock::now();
  effect.BeginModal(rect, false);
  const auto started = Clock::now();
  uint32_t nextDue = 0;
  effect.Update(nextDue);
  ::GdiFlush();
  timing.start = Milliseconds(started - begin);
  timing.first = Milliseconds(Clock::now() - started);
  double sum = 0;
  int32_t frames = 0;
  for (int32_t frame = 1; frame <= kFrames && !effect.IsFinished(); ++frame) {
    clock.Set(static_cast<uint32_t>(static_cast<uint64_t>(kDuration) * frame / kFrames));
    const auto start = Clock::now();
    effect.Update(nextDue);
    ::GdiFlush();
    const double ms = Milliseconds(Clock::now() - start);
    sum += ms;
    if (ms > timing.worst) {
      timing.worst = ms;
      timing.worstFrame = frame;
    }
    ++frames;
  }
  timing.mean = frames > 0 ? sum / frames : 0;
  return timing;
}

// The player has shown a page before any transition: the window painted
// once from a bitmap compatible with the screen, as the screen buffer
// presents a page. The first drawing into a window makes the system's
// picture of it, which is no part of a transition's frames.
void PaintWindow(HDC window) {
  HDC memory = ::CreateCompatibleDC(window);
  HBITMAP page = ::CreateCompatibleBitmap(window, kWidth, kHeight);
  HGDIOBJ displaced = ::SelectObject(memory, page);
  ::PatBlt(memory, 0, 0, kWidth, kHeight, WHITENESS);
  ::BitBlt(window, 0, 0, kWidth, kHeight, memory, 0, 0, SRCCOPY);
  ::GdiFlush();
  ::SelectObject(memory, displaced);
  ::DeleteObject(page);
  ::DeleteDC(memory);
}

HWND MakeWindow() {
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = ::DefWindowProcA;
  windowClass.hInstance = ::GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "VOR_FX_TIMING";
  ::RegisterClassA(&windowClass);
  return ::CreateWindowExA(0, "VOR_FX_TIMING", "", WS_POPUP | WS_VISIBLE, 0, 0, kWidth, kHeight, nullptr, nullptr,
                           windowClass.hInstance, nullptr);
}

} // namespace

int main() {
  // The vector pixel loops where the processor has them, as the player
  // chooses at start.
  GetDisplaySettings().mmx = ::IsProcessorFeaturePresent(PF_MMX_INSTRUCTIONS_AVAILABLE) != 0;
  HWND window = MakeWindow();
  if (window == nullptr) {
    std::printf("no window\n");
    return 1;
  }
  FakeClock clock;
  VORUpdateController controller(clock);
  EffectRig::ClockApp app(controller);
  WindowView view(window);
  const VORRect page(0, 0, kWidth, kHeight);
  EffectRig::PictureSurface newPicture(page, &view);
  EffectRig::PictureSurface oldPicture(page, &view);
  newPicture.Draw(Noise(1));
  oldPicture.Draw(Noise(2));
  VORPlayerFXManager manager;
  PaintWindow(view.GetDrawingContext()->GetDC());
  // The first transition comes after the page it leaves was shown and the
  // player was idle: the view then had the pictures of a transition over
  // the page made ready, off the frames' path. Waited for here, and timed.
  const auto idle = Clock::now();
  manager.PrepareFor(kWidth, kHeight);
  FXPictureStore::KeptCount();
  std::printf("pictures made ready while the page was idle: %.2f ms\n", Milliseconds(Clock::now() - idle));
  std::printf("memcpy of a 1024 x 768 x 24 frame: %.3f ms\n", MemcpyMilliseconds());
  std::printf("%-14s %10s %10s %10s %10s %7s\n", "effect", "start ms", "first ms", "mean ms", "worst ms", "at");
  for (const Effect &effect : Effects()) {
    VORFXParams fxParams;
    fxParams.effectName = VORString(effect.name);
    fxParams.SetProperties(effect.record());
    std::unique_ptr<VORFX> made = manager.CreateEffect(fxParams, &newPicture, &oldPicture, &view);
    auto *timed = dynamic_cast<VORTimedFX *>(made.get());
    if (timed == nullptr) {
      std::printf("%-14s not made\n", effect.label);
      continue;
    }
    const Timing timing = TimeFrames(*timed, clock, page);
    std::printf("%-14s %10.2f %10.2f %10.2f %10.2f %7d%s\n", effect.label, timing.start, timing.first, timing.mean,
                timing.worst, timing.worstFrame, timed->IsFinished() ? "" : " (not finished)");
  }
  ::DestroyWindow(window);
  return 0;
}
