#include "saver/SaverPreview.h"

#include <memory>

#include "display/DibImage.h"
#include "display/DrawingContext.h"
#include "display/Palette.h"
#include "images/ImageLayout.h"
#include "images/VORInternalImage.h"
#include "model/VORFileKind.h"
#include "model/VORInternalResourceIdentifier.h"
#include "model/VORResourceManager.h"

namespace {

constexpr int32_t kPaletteDepth = 8;

// A palette display shows the picture through a palette of its own colours
// (as many as the picture's table holds), else through the default one.
std::unique_ptr<Palette> PaletteFor(VORInternalImage &image) {
  const DibImage *picture = image.GetDib();
  if (picture != nullptr && picture->GetBitsPerPixel() == kPaletteDepth)
    return std::make_unique<Palette>(picture->GetColorTable(), static_cast<int32_t>(picture->GetColorTableEntries()));
  auto palette = std::make_unique<Palette>();
  palette->LoadDefault();
  return palette;
}

void PaintBlack(HDC dc, const RECT &client) { FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))); }

} // namespace

void SaverPreview::Paint(VORResourceManager *resources, HWND window, bool paletteDisplay) {
  std::unique_ptr<VORInternalImage> cover;
  if (resources != nullptr) {
    const uint32_t handle = resources->OpenInternalResource(
        VORInternalResourceIdentifier(kCoverResourceNumber, VORFileKind::kInternalPicture), 0, 0, 0);
    if (handle != 0) {
      ImageLayout stretched;
      stretched.fitMode = ImageLayout::kStretch;
      stretched.keepAspect = 0;
      cover = std::make_unique<VORInternalImage>(handle, stretched, resources);
      // A cover that does not load paints black like no cover: the window
      // must be painted either way, or it asks again and again.
      if (!cover->Lock())
        cover.reset();
    }
  }
  std::unique_ptr<Palette> palette;
  if (cover && paletteDisplay)
    palette = PaletteFor(*cover);

  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  RECT client;
  GetClientRect(window, &client);
  if (cover && cover->GetDib() != nullptr) {
    DrawingContext context(dc, nullptr);
    if (palette && palette->GetHPalette() != nullptr) {
      context.SelectPalette(palette->GetHPalette());
      context.RealizePalette();
    }
    const VORRect whole(client.left, client.top, client.right, client.bottom);
    cover->Draw(context, whole, whole);
  } else {
    PaintBlack(dc, client);
  }
  EndPaint(window, &paint);
  cover.reset();
  palette.reset();
}
