#include "images/PhotoCdLibrary.h"

#include <windows.h>

namespace {

using PcdHandle = void *;
using PcdProgress = int32_t(WINAPI *)(int32_t done, int32_t total, int32_t value);
using PcdOpen = int32_t(WINAPI *)(const char *path, PcdHandle *handle);
using PcdLoadImage = int16_t(WINAPI *)(PcdHandle handle, int32_t image, HGLOBAL *picture);
using PcdClose = int32_t(WINAPI *)(PcdHandle handle);
using PcdSetProgress = int32_t(WINAPI *)(PcdHandle handle, PcdProgress progress, int32_t value);
using PcdSetValue = int32_t(WINAPI *)(PcdHandle handle, int32_t value);

// The library reports its progress here; the player shows none and lets it go on.
int32_t WINAPI PhotoCdProgressAdapter(int32_t done, int32_t total, int32_t /*value*/) {
  static_cast<void>(static_cast<int16_t>(done));
  static_cast<void>(static_cast<int16_t>(total));
  return 0;
}

template <typename Function>
Function Entry(HMODULE library, const char *name) {
  return reinterpret_cast<Function>(reinterpret_cast<void *>(::GetProcAddress(library, name)));
}

// The library's entries, all present or the library is not used.
struct Entries {
  explicit Entries(HMODULE library)
      : open(Entry<PcdOpen>(library, "PCDopen")), loadImage(Entry<PcdLoadImage>(library, "PCDloadImage")),
        close(Entry<PcdClose>(library, "PCDclose")), setProgress(Entry<PcdSetProgress>(library, "PCDsetProgress")),
        setResolution(Entry<PcdSetValue>(library, "PCDsetResolution")),
        setFormat(Entry<PcdSetValue>(library, "PCDsetFormat")) {}
  bool Complete() const { return open && loadImage && close && setProgress && setResolution && setFormat; }

  PcdOpen open;
  PcdLoadImage loadImage;
  PcdClose close;
  PcdSetProgress setProgress;
  PcdSetValue setResolution;
  PcdSetValue setFormat;
};

bool LoadFromLibrary(const Entries &entries, const char *path, void **picture) {
  PcdHandle handle = nullptr;
  if (entries.open(path, &handle) != 0)
    return false;
  entries.setProgress(handle, PhotoCdProgressAdapter, 0);
  entries.setResolution(handle, PhotoCdLibrary::kResolution);
  entries.setFormat(handle, PhotoCdLibrary::kFormat);
  HGLOBAL block = nullptr;
  const bool loaded = entries.loadImage(handle, PhotoCdLibrary::kFirstImage, &block) == 0 && block != nullptr;
  entries.close(handle);
  if (loaded)
    *picture = block;
  return loaded;
}

} // namespace

bool PhotoCdLibrary::LoadPhotoCDImage(const char *path, void **picture, int32_t &errorWord) {
  *picture = nullptr;
  errorWord = kCannotOpen;
  HMODULE library = ::LoadLibraryA(kLibraryName);
  if (library == nullptr)
    return false;
  const Entries entries(library);
  const bool loaded = entries.Complete() && LoadFromLibrary(entries, path, picture);
  ::FreeLibrary(library);
  return loaded;
}
