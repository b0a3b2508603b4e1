// One frame of each transition effect's pixel work on a full 1024 x 768
// screen: the step advanced by a frame's worth (60 frames over the
// effect's second) and the whole rectangle composed, beside memcpy of the
// same frame. 60 frames a second leave 16 ms a frame for everything.
#include <benchmark/benchmark.h>

#include <cstring>
#include <functional>
#include <memory>
#include <vector>

#include "display/DisplaySettings.h"
#include "transitions/FXCores.h"

namespace {

constexpr int32_t kWidth = 1024;
constexpr int32_t kHeight = 768;
constexpr int32_t kFrames = 60;

struct Frame {
  FXImage oldPicture;
  FXImage newPicture;
  FXImage out;
  Frame() {
    oldPicture.Resize(kWidth, kHeight);
    newPicture.Resize(kWidth, kHeight);
    out.Resize(kWidth, kHeight);
    for (size_t i = 0; i < oldPicture.PixelCount(); ++i) {
      oldPicture.Row(0)[i] = static_cast<uint32_t>(i * 2654435761u) & 0xFFFFFFu;
      newPicture.Row(0)[i] = static_cast<uint32_t>(i * 40503u) & 0xFFFFFFu;
    }
  }
};

void BM_Memcpy(benchmark::State &state) {
  Frame frame;
  for (auto _ : state) {
    std::memcpy(frame.out.Row(0), frame.newPicture.Row(0), frame.out.PixelCount() * sizeof(uint32_t));
    benchmark::DoNotOptimize(frame.out.Row(0));
  }
}
BENCHMARK(BM_Memcpy)->Unit(benchmark::kMillisecond);

// Argument 0: the plain loops; 1: the vector loops the MMX flag selects.
void RunEffect(benchmark::State &state, const std::function<std::unique_ptr<FXCore>()> &make) {
  GetDisplaySettings().mmx = state.range(0) != 0;
  Frame frame;
  std::unique_ptr<FXCore> core = make();
  int32_t total = core->Prepare(kWidth, kHeight, false);
  int32_t frameIndex = 0;
  std::vector<VORRect> changed;
  for (auto _ : state) {
    frameIndex = frameIndex % kFrames + 1;
    if (frameIndex == 1) {
      state.PauseTiming();
      core = make();
      total = core->Prepare(kWidth, kHeight, false);
      state.ResumeTiming();
    }
    changed.clear();
    core->Step(static_cast<int32_t>(static_cast<int64_t>(total) * frameIndex / kFrames), changed);
    core->Compose(frame.out, frame.oldPicture, frame.newPicture, VORRect(0, 0, kWidth, kHeight));
    benchmark::DoNotOptimize(frame.out.Row(0));
  }
}

#define FX_BENCH(Name, Make)                                                                                           \
  void BM_##Name(benchmark::State &state) {                                                                            \
    RunEffect(state, [] { return Make; });                                                                             \
  }                                                                                                                    \
  BENCHMARK(BM_##Name)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)

FX_BENCH(Fade, std::make_unique<FadeCore>(64, FadeCore::kNoColour));
FX_BENCH(FadeColour, std::make_unique<FadeCore>(64, 0x000080FF));
FX_BENCH(Pixel0, std::make_unique<PixelCore>(0));
FX_BENCH(Pixel2, std::make_unique<PixelCore>(2));
FX_BENCH(Blind, std::make_unique<BlindCore>(8, 2, false, true));
FX_BENCH(Block, std::make_unique<BlockCore>(32, 24, 10));
FX_BENCH(Jigsaw, std::make_unique<JigsawCore>(10, 10, 10));
FX_BENCH(JigsawFine, std::make_unique<JigsawCore>(64, 48, 7));
FX_BENCH(Scroll, std::make_unique<ScrollCore>(1, 0, false));
FX_BENCH(Slide, std::make_unique<SlideCore>(1, 1));
FX_BENCH(ShapeStar, std::make_unique<ShapeCore>(2, 128, 5, 4, 3, 90));
FX_BENCH(Zoom, std::make_unique<ZoomCore>(5));
FX_BENCH(ZoomOut, std::make_unique<ZoomCore>(0x15));

} // namespace
