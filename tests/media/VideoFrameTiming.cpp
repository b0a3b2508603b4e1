// Times what a video in its own drawing costs per frame under the system:
// decoding a 640 x 480 frame (a FLC delta frame, AVI frames through the
// system's AVI library and codecs) and drawing it into a window with
// StretchDIBits, beside memcpy of a 24-bit frame of the same size, and
// prints milliseconds per frame against the 33.3 ms a frame lasts at
// 30 fps. A report, not a test: it fails only when a video does not open.

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "media/MovingBandAnimation.h"
#include "media/XQAVI.h"
#include "media/XQFlic.h"

namespace {

using Clock = std::chrono::steady_clock;
namespace Band = MovingBandAnimation;

constexpr double kMinimumSeconds = 1.0;
constexpr double kFrameAt30Fps = 1000.0 / 30;

// Runs the body until a second has passed; milliseconds per run.
template <typename Body>
double MillisecondsPerRun(Body &&body) {
  int runs = 0;
  const auto start = Clock::now();
  std::chrono::duration<double> elapsed{};
  do {
    body(runs);
    ++runs;
    elapsed = Clock::now() - start;
  } while (elapsed.count() < kMinimumSeconds);
  return elapsed.count() * 1000.0 / runs;
}

double MemcpyMilliseconds() {
  const size_t bytes = Band::kFrameBytes * 3;
  std::vector<uint8_t> from(bytes, 1), to(bytes);
  volatile uint8_t sink = 0;
  return MillisecondsPerRun([&](int) {
    std::memcpy(to.data(), from.data(), bytes);
    sink = static_cast<uint8_t>(sink + to[bytes / 2]);
  });
}

// The stream's frame drawn at the window's corner at its own size.
void Draw(HWND window, XQVideoStream &stream) {
  const DibImage *frame = stream.GetFrameImage();
  HDC dc = GetDC(window);
  StretchDIBits(dc, 0, 0, frame->GetWidth(), frame->GetHeight(), 0, 0, frame->GetWidth(), frame->GetHeight(),
                frame->GetPixels(), reinterpret_cast<const BITMAPINFO *>(frame->GetInfo()), DIB_RGB_COLORS, SRCCOPY);
  GdiFlush();
  ReleaseDC(window, dc);
}

// Every frame in turn, decoded and drawn; and decoded only.
void Report(const char *name, HWND window, XQVideoStream &stream, double memcpyMs) {
  uint32_t frames = 0;
  uint32_t microseconds = 0;
  stream.GetTiming(frames, microseconds);
  int32_t delay = 0;
  const double decodeMs =
      MillisecondsPerRun([&](int run) { stream.ReadFrame(static_cast<uint32_t>(run) % frames, delay); });
  const double bothMs = MillisecondsPerRun([&](int run) {
    stream.ReadFrame(static_cast<uint32_t>(run) % frames, delay);
    Draw(window, stream);
  });
  std::printf("%-22s decode %6.2f ms, decode + draw %6.2f ms per frame (%.0f%% of a frame at 30 fps, %.1f x "
              "memcpy)\n",
              name, decodeMs, bothMs, bothMs * 100.0 / kFrameAt30Fps, bothMs / memcpyMs);
}

} // namespace

int main() {
  const double memcpyMs = MemcpyMilliseconds();
  std::printf("memcpy of a 640 x 480 x 24 frame: %.3f ms\n", memcpyMs);
  HWND window = CreateWindowExA(WS_EX_TOPMOST, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, Band::kWidth, Band::kHeight,
                                nullptr, nullptr, nullptr, nullptr);
  bool opened = true;
  for (FlicWriter::Kind kind : {FlicWriter::Kind::kFlc, FlicWriter::Kind::kFli}) {
    const std::vector<uint8_t> file = Band::Write(kind);
    XQFlic flic;
    if (!flic.OpenMemory(file.data(), file.data() + file.size())) {
      opened = false;
      continue;
    }
    Report(kind == FlicWriter::Kind::kFlc ? "FLC word delta" : "FLI line delta", window, flic, memcpyMs);
  }
  for (const char *codec : {"cinepak", "msvideo1", "rawvideo"}) {
    const std::string path = std::string(VOR_VGA_AVI_DIR) + "/vga-" + codec + ".avi";
    XQAVI avi;
    if (!avi.Open(path.c_str(), 24)) {
      std::printf("%s does not open\n", path.c_str());
      opened = false;
      continue;
    }
    Report((std::string("AVI ") + codec).c_str(), window, avi, memcpyMs);
  }
  DestroyWindow(window);
  return opened ? 0 : 1;
}
