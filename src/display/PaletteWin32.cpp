// The GDI form of a palette: the one part of Palette that needs the system.
#include <windows.h>

#include <cstddef>

#include "display/Palette.h"

static_assert(sizeof(PALETTEENTRY) == sizeof(PaletteEntry), "palette entry layouts differ");
static_assert(offsetof(LOGPALETTE, palPalEntry) == offsetof(LogPaletteForm, palPalEntry), "LOGPALETTE layouts differ");

namespace {

void DeletePaletteHandle(HPALETTE__ *handle) { ::DeleteObject(handle); }

} // namespace

HPALETTE__ *Palette::GetHPalette() {
  if (!IsValid()) {
    return nullptr;
  }
  if (!m_handle) {
    HPALETTE handle = ::CreatePalette(reinterpret_cast<const LOGPALETTE *>(GetLogPalette()));
    if (handle != nullptr) {
      m_handle = std::unique_ptr<HPALETTE__, HandleDeleter>(handle, &DeletePaletteHandle);
    }
  }
  return m_handle.get();
}
