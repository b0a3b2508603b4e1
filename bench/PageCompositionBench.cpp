// The pixel work of painting a full 1024 x 768 page of objects into the
// screen buffer, beside memcpy of the same 24-bit frame in the same run
// (FrameRate.h): the background picture copied over the whole page, then a
// dozen overlapping objects, each copied, copied through its key-colour
// mask or blended at half opacity, some with a half-dark drop shadow. The
// surfaces of objects that have them are already drawn, as they are when a
// page is repainted; what differs from the real path is that GDI makes the
// plain and masked copies there.

#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <vector>

#include "FrameRate.h"
#include "display/BlendRoutines.h"
#include "display/DibImage.h"
#include "objects/DrawFlags.h"
#include "support/ObjectPageLayout.h"

namespace {

using FrameRate::RunFrames;
namespace Layout = ObjectPageLayout;

constexpr ColorRef kShadowColour = 0;
constexpr int32_t kSourceLevel = 256;
constexpr int32_t kBytesPerPixel = 3;

struct Info {
  BitmapInfoHeader header;
  RgbQuad colors[2];
};

Info InfoOf(int32_t width, int32_t height, uint16_t depth) {
  Info info{};
  info.header = BitmapInfoHeader{kBitmapInfoHeaderSize, width, -height, 1, depth, kCompressionRgb, 0, 0, 0, 0, 0};
  return info;
}

void FillNoise(DibImage &image, uint32_t seed) {
  std::mt19937 random(seed);
  for (int32_t y = 0; y < image.GetHeight(); ++y) {
    uint8_t *row = image.GetRowAddress(y);
    for (int32_t x = 0; x < image.GetWidth() * kBytesPerPixel; ++x)
      row[x] = static_cast<uint8_t>(random());
  }
}

// What a key colour leaves of a picture: an ellipse filling the rectangle.
void FillEllipseMask(DibImage &mask) {
  const int64_t a = mask.GetWidth() / 2, b = mask.GetHeight() / 2;
  for (int32_t y = 0; y < mask.GetHeight(); ++y) {
    uint8_t *row = mask.GetRowAddress(y);
    for (int32_t x = 0; x < mask.GetWidth(); ++x) {
      const int64_t dx = x - a, dy = y - b;
      if (dx * dx * b * b + dy * dy * a * a <= a * a * b * b)
        row[x >> 3] = static_cast<uint8_t>(row[x >> 3] | (0x80 >> (x & 7)));
    }
  }
}

struct Page {
  Info frameInfo = InfoOf(Layout::kWidth, Layout::kHeight, 24);
  Info objectInfo = InfoOf(Layout::kObjectWidth, Layout::kObjectHeight, 24);
  DibImage frame, background, mask;
  std::vector<Layout::PlacedObject> objects = Layout::Objects();
  std::vector<DibImage> pictures;

  Page() : pictures(objects.size()) {
    frame.Create(&frameInfo.header);
    background.Create(&frameInfo.header);
    FillNoise(background, 1);
    mask.CreateMask(&objectInfo.header);
    FillEllipseMask(mask);
    for (size_t i = 0; i < pictures.size(); ++i) {
      pictures[i].Create(&objectInfo.header);
      FillNoise(pictures[i], static_cast<uint32_t>(i + 2));
    }
  }
};

Page &GetPage() {
  static Page page;
  return page;
}

// An object without a surface draws its shadow as two strips beside it; one
// with a surface blends the shadow through its mask at the offset.
void PaintShadow(Page &page, const Layout::PlacedObject &object, PixelLoops loops) {
  if (!object.blended && !object.keyed) {
    VORRect strips[2];
    DrawFlagRules::ShadowStrips(object.rect, Layout::kShadowX, Layout::kShadowY, strips[0], strips[1]);
    for (const VORRect &strip : strips)
      BlendColorImage(page.frame, strip, kShadowColour, Layout::kShadowLevel, nullptr, 0, nullptr, loops);
    return;
  }
  const VORRect shadow = object.rect.Offset(Layout::kShadowX, Layout::kShadowY);
  const MaskPlacement mask = {&page.mask, -shadow.left, -shadow.top};
  BlendColorImage(page.frame, shadow, kShadowColour, Layout::kShadowLevel, object.keyed ? &mask : nullptr,
                  object.keyed ? 1 : 0, nullptr, loops);
}

void CopyRows(const DibImage &picture, DibImage &frame, const VORRect &rect) {
  const size_t rowBytes = static_cast<size_t>(rect.Width()) * kBytesPerPixel;
  for (int32_t y = 0; y < rect.Height(); ++y)
    std::memcpy(frame.GetRowAddress(rect.top + y) + static_cast<size_t>(rect.left) * kBytesPerPixel,
                picture.GetRowAddress(y), rowBytes);
}

void ComposePage(Page &page, PixelLoops loops) {
  std::memcpy(page.frame.GetPixels(), page.background.GetPixels(), page.frame.GetImageSize());
  const VORRect whole(0, 0, Layout::kObjectWidth, Layout::kObjectHeight);
  for (size_t i = 0; i < page.objects.size(); ++i) {
    const Layout::PlacedObject &object = page.objects[i];
    if (object.shadowed)
      PaintShadow(page, object, loops);
    const MaskPlacement mask = {&page.mask, 0, 0};
    const int32_t masks = object.keyed ? 1 : 0;
    if (object.blended)
      BlendImage(page.pictures[i], whole, &mask, masks, page.frame, object.rect, Layout::kHalfLevel, nullptr, loops);
    else if (object.keyed)
      BlendImage(page.pictures[i], whole, &mask, masks, page.frame, object.rect, kSourceLevel, nullptr, loops);
    else
      CopyRows(page.pictures[i], page.frame, object.rect);
  }
}

void BM_PageMemcpy24(benchmark::State &state) {
  Page &page = GetPage();
  RunFrames(state, page.frame.GetImageSize(),
            [&] { std::memcpy(page.frame.GetPixels(), page.background.GetPixels(), page.frame.GetImageSize()); });
}

// Argument 0: the plain loops; 1: the vector loops the MMX flag selects.
void BM_ComposeObjectPage(benchmark::State &state) {
  Page &page = GetPage();
  const PixelLoops loops = state.range(0) != 0 ? PixelLoops::kVector : PixelLoops::kPlain;
  RunFrames(state, page.frame.GetImageSize(), [&] { ComposePage(page, loops); });
}

BENCHMARK(BM_PageMemcpy24)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ComposeObjectPage)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

} // namespace
