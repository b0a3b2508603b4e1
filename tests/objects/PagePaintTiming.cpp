// Times painting a full 1024 x 768 page of objects into the screen buffer
// through the drawing context and GDI, beside memcpy of a 24-bit frame of
// the same size, and prints milliseconds per frame: at each depth the first
// composition of the process's first page (its surfaces fresh memory), the
// composition after a page change (the page left and one of the same layout
// shown, as a reader turns pages: it takes the bitmaps the page before
// left), and a repaint. A report, not a test: it fails only when a page
// cannot be composed at all.
//
// The display is opened first and timed apart: the player has opened it for
// its window before it composes any page, and the first composition of a
// program without a window would otherwise count the display driver's start.

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <random>
#include <vector>

#include "PaintedPage.h"
#include "display/DisplaySettings.h"
#include "display/MemoryDCPool.h"
#include "display/SurfaceBitmapPool.h"
#include "support/ObjectPageLayout.h"

namespace {

namespace Layout = ObjectPageLayout;
using Clock = std::chrono::steady_clock;

constexpr uint32_t kKey = 0xFF00FF;
constexpr double kMinimumSeconds = 1.0;
constexpr int32_t kBytesPerPixel = 3;

std::vector<uint32_t> Noise(int32_t width, int32_t height, uint32_t seed) {
  std::mt19937 random(seed);
  std::vector<uint32_t> pixels(static_cast<size_t>(width) * static_cast<size_t>(height));
  for (uint32_t &pixel : pixels)
    pixel = random() & 0xFFFFFF;
  return pixels;
}

// Noise inside an ellipse, the key colour around it.
std::vector<uint32_t> KeyedNoise(uint32_t seed) {
  std::vector<uint32_t> pixels = Noise(Layout::kObjectWidth, Layout::kObjectHeight, seed);
  const int64_t a = Layout::kObjectWidth / 2, b = Layout::kObjectHeight / 2;
  for (int32_t y = 0; y < Layout::kObjectHeight; ++y) {
    for (int32_t x = 0; x < Layout::kObjectWidth; ++x) {
      const int64_t dx = x - a, dy = y - b;
      if (dx * dx * b * b + dy * dy * a * a > a * a * b * b)
        pixels[static_cast<size_t>(y * Layout::kObjectWidth + x)] = kKey;
    }
  }
  return pixels;
}

void BuildPage(PaintedPage &page) {
  page.Add(VORRect(0, 0, Layout::kWidth, Layout::kHeight),
           std::make_unique<TestPicture>(Layout::kWidth, Layout::kHeight, Noise(Layout::kWidth, Layout::kHeight, 1),
                                         TestPicture::Filling()));
  uint32_t seed = 2;
  for (const Layout::PlacedObject &placed : Layout::Objects()) {
    const ImageLayout layout = placed.keyed ? TestPicture::KeyColoured(kKey) : TestPicture::Filling();
    std::vector<uint32_t> pixels =
        placed.keyed ? KeyedNoise(seed) : Noise(Layout::kObjectWidth, Layout::kObjectHeight, seed);
    ++seed;
    PlainGraphical &object =
        page.Add(placed.rect,
                 std::make_unique<TestPicture>(Layout::kObjectWidth, Layout::kObjectHeight, std::move(pixels), layout));
    VORGraphicalObject::VORGraphicalObjectProperties &properties = object.GetGraphicalProperties();
    properties.transparentColourFlag = placed.keyed ? 1 : 0;
    if (placed.blended)
      properties.opacity = Layout::kHalfOpacity;
    if (placed.shadowed) {
      properties.shadowOffset = VORPoint{Layout::kShadowX, Layout::kShadowY};
      properties.shadowColour = 0;
      properties.shadowOpacity = Layout::kHalfOpacity;
    }
  }
}

// Runs the body until a second has passed; milliseconds per run.
template <typename Body>
double MillisecondsPerRun(Body &&body) {
  int runs = 0;
  const auto start = Clock::now();
  std::chrono::duration<double> elapsed{};
  do {
    body();
    ++runs;
    elapsed = Clock::now() - start;
  } while (elapsed.count() < kMinimumSeconds);
  return elapsed.count() * 1000.0 / runs;
}

double MemcpyMilliseconds() {
  const size_t bytes = static_cast<size_t>(Layout::kWidth) * kBytesPerPixel * Layout::kHeight;
  std::vector<uint8_t> from(bytes, 1), to(bytes);
  volatile uint8_t sink = 0;
  const double ms = MillisecondsPerRun([&] {
    std::memcpy(to.data(), from.data(), bytes);
    sink = static_cast<uint8_t>(sink + to[bytes / 2]);
  });
  return ms;
}

double ComposeMilliseconds(PaintedPage &page) {
  const auto start = Clock::now();
  page.Compose();
  const std::chrono::duration<double> elapsed = Clock::now() - start;
  return elapsed.count() * 1000.0;
}

// The first page of the process at the depth (nothing kept from pages
// before), its repaints, then a page change: the page is left and one of the
// same layout composed, as a reader turns the pages of a publication.
bool Report(int32_t depth, double memcpyMs) {
  SurfaceBitmapPool::Trim();
  MemoryDCPool::Clear();
  const VORRect area(0, 0, Layout::kWidth, Layout::kHeight);
  double firstMs = 0, repaintMs = 0;
  {
    PaintedPage page(depth, area);
    BuildPage(page);
    firstMs = ComposeMilliseconds(page);
    if (!page.Buffer().HasBitmap()) {
      std::printf("%d-bit buffer: no bitmap\n", depth);
      return false;
    }
    repaintMs = MillisecondsPerRun([&] { page.Repaint(); });
  }
  PaintedPage next(depth, area);
  BuildPage(next);
  const double changeMs = ComposeMilliseconds(next);
  std::printf("%2d-bit buffer: first composition %.2f ms (%.0f x memcpy); after a page change %.2f ms (%.0f x memcpy); "
              "repaint %.2f ms (%.1f x memcpy)\n",
              depth, firstMs, firstMs / memcpyMs, changeMs, changeMs / memcpyMs, repaintMs, repaintMs / memcpyMs);
  return next.Buffer().HasBitmap();
}

// The screen's device context, taken and given back once: the first one
// starts the process's display driver.
double OpenDisplayMilliseconds() {
  const auto start = Clock::now();
  HDC screen = ::GetDC(nullptr);
  ::ReleaseDC(nullptr, screen);
  const std::chrono::duration<double> elapsed = Clock::now() - start;
  return elapsed.count() * 1000.0;
}

} // namespace

int main() {
  // The vector pixel loops where the processor has them, as the player
  // chooses at start.
  GetDisplaySettings().mmx = ::IsProcessorFeaturePresent(PF_MMX_INSTRUCTIONS_AVAILABLE) != 0;
  std::printf("opening the display (the player's window does it): %.2f ms\n", OpenDisplayMilliseconds());
  const double memcpyMs = MemcpyMilliseconds();
  std::printf("memcpy of a 1024 x 768 x 24 frame: %.3f ms\n", memcpyMs);
  bool composed = Report(24, memcpyMs);
  composed = Report(8, memcpyMs) && composed;
  return composed ? 0 : 1;
}
