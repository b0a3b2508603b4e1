#include "PictureFilters.h"

#include <windows.h>

#include "filters/ImportFilters.h"
#include "images/ImageLoader.h"

namespace {

// The filters' progress record carries done and total; the loader's adapter
// decides whether the read goes on.
int32_t FilterProgress(::FilterProgress *progress) {
  return ImageLoader::ImageProgressAdapter(progress->done, progress->total);
}

// The second output blocks (TGA's alpha mask, PNG's alpha picture) are
// never asked for; whatever comes back is freed unused.
void FreeSecond(FilterHandle second) {
  if (second != nullptr)
    ::GlobalFree(static_cast<HGLOBAL>(second));
}

uint16_t ReadPcx(const char *path, void **picture) { return ImportPcxImage(FilterProgress, 0, path, picture); }

uint16_t ReadTga(const char *path, void **picture) {
  FilterHandle second = nullptr;
  const FilterResult result = ImportTgaImage(FilterProgress, 0, path, picture, &second);
  FreeSecond(second);
  return result;
}

uint16_t ReadJpeg(const char *path, void **picture) { return ImportJpegImage(FilterProgress, 0, path, picture); }

uint16_t ReadCgm(const char *path, void **picture) { return ImportCgmImage(FilterProgress, 0, path, picture); }

uint16_t ReadPng(const char *path, void **picture) {
  FilterHandle second = nullptr;
  int16_t value = -1;
  const FilterResult result = ImportPngImage(FilterProgress, 0, path, picture, &second, &value);
  FreeSecond(second);
  return result;
}

} // namespace

void InstallPictureFilters() {
  ImageLoader::SetFormatReader(ImageFileFormat::kPcx, ReadPcx);
  ImageLoader::SetFormatReader(ImageFileFormat::kTga, ReadTga);
  ImageLoader::SetFormatReader(ImageFileFormat::kJpg, ReadJpeg);
  ImageLoader::SetFormatReader(ImageFileFormat::kCgm, ReadCgm);
  ImageLoader::SetFormatReader(ImageFileFormat::kPng, ReadPng);
}
