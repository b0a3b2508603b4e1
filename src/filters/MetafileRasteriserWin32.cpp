#include "filters/MetafileRasteriser.h"

#include <vector>

#include "filters/FilterBitmap.h"

namespace {

constexpr int32_t kDefaultSide = 100;
constexpr UINT kPaletteEntries = 256;
constexpr WORD kPaletteVersion = 0x300;
constexpr DWORD kSelectPaletteRecord = 0x234;
constexpr DWORD kRealizePaletteRecord = 0x35;

// What the record walk remembers: the handle table's palette last selected
// and the copy made when it was realised.
struct PaletteWalk {
  HPALETTE selected = nullptr;
  HPALETTE copy = nullptr;
};

// Plays each record once, so that the handle table holds the objects the
// records create, and remembers the palette as it goes.
int CALLBACK PlayRememberingPalette(HDC dc, HANDLETABLE *table, METARECORD *record, int handles, LPARAM data) {
  auto *walk = reinterpret_cast<PaletteWalk *>(data);
  PlayMetaFileRecord(dc, table, record, static_cast<UINT>(handles));
  if (record->rdFunction == kSelectPaletteRecord) {
    const WORD index = record->rdParm[0];
    if (index < handles)
      walk->selected = static_cast<HPALETTE>(table->objectHandle[index]);
  } else if (record->rdFunction == kRealizePaletteRecord && walk->selected != nullptr) {
    if (walk->copy != nullptr)
      DeleteObject(walk->copy);
    walk->copy = CopyRealisedPalette(walk->selected);
  }
  return 1;
}

} // namespace

HPALETTE PlayMetafileCapturingPalette(HDC dc, HMETAFILE metafile) {
  PaletteWalk walk;
  EnumMetaFile(dc, metafile, PlayRememberingPalette, reinterpret_cast<LPARAM>(&walk));
  return walk.copy;
}

HPALETTE CopyRealisedPalette(HPALETTE palette) {
  std::vector<BYTE> storage(sizeof(LOGPALETTE) + kPaletteEntries * sizeof(PALETTEENTRY), 0);
  auto *logical = reinterpret_cast<LOGPALETTE *>(storage.data());
  logical->palVersion = kPaletteVersion;
  logical->palNumEntries = kPaletteEntries;
  // A palette shorter than 256 leaves the rest of the copy zero-filled.
  GetPaletteEntries(palette, 0, kPaletteEntries, logical->palPalEntry);
  return CreatePalette(logical);
}

FilterResult RasteriseMetafile(HWND, HINSTANCE, HMETAFILE metafile, HGLOBAL *picture, int32_t left, int32_t top,
                               int32_t right, int32_t bottom, int32_t width, int32_t height, bool ask) {
  if (picture == nullptr)
    return kFilterBadArgument;
  *picture = nullptr;
  if (ask || metafile == nullptr)
    return kFilterBadArgument;
  if (width <= 0 || height <= 0) {
    width = kDefaultSide;
    height = kDefaultSide;
  }
  HDC screen = GetDC(nullptr);
  if (screen == nullptr)
    return kFilterNoMemory;
  const bool paletteScreen = (GetDeviceCaps(screen, RASTERCAPS) & RC_PALETTE) != 0;
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = memory != nullptr ? CreateCompatibleBitmap(screen, width, height) : nullptr;
  ReleaseDC(nullptr, screen);
  if (bitmap == nullptr) {
    if (memory != nullptr)
      DeleteDC(memory);
    return kFilterNoMemory;
  }
  const int saved = SaveDC(memory);
  HGDIOBJ previous = SelectObject(memory, bitmap);
  RECT all{0, 0, width, height};
  SetMapMode(memory, MM_TEXT);
  FillRect(memory, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  SetMapMode(memory, MM_ANISOTROPIC);
  // An empty bounds rectangle maps as one unit.
  SetWindowExtEx(memory, right != left ? right - left : 1, bottom != top ? bottom - top : 1, nullptr);
  SetViewportExtEx(memory, width, height, nullptr);
  SetWindowOrgEx(memory, left, top, nullptr);
  // One pass draws the picture and finds its palette; only a palette screen
  // converts through it.
  HPALETTE realised = PlayMetafileCapturingPalette(memory, metafile);
  if (realised != nullptr && !paletteScreen) {
    DeleteObject(realised);
    realised = nullptr;
  }
  SelectObject(memory, previous);
  RestoreDC(memory, saved);
  HGLOBAL dib = nullptr;
  const FilterResult result = BitmapToDib(bitmap, realised, &dib);
  DeleteDC(memory);
  DeleteObject(bitmap);
  if (realised != nullptr)
    DeleteObject(realised);
  if (result != kFilterSuccess)
    return result;
  *picture = dib;
  return kFilterSuccess;
}
