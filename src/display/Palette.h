#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "display/DibTypes.h"

class DitherEngine;

// The system's palette handle type (HPALETTE is a pointer to it under STRICT),
// declared here so that this header stays free of the system headers.
struct HPALETTE__; // NOLINT(bugprone-reserved-identifier): the system's own name

// PALETTEENTRY and LOGPALETTE, byte for byte.
struct PaletteEntry {
  uint8_t peRed;
  uint8_t peGreen;
  uint8_t peBlue;
  uint8_t peFlags;
};

struct LogPaletteForm {
  uint16_t palVersion;
  uint16_t palNumEntries;
  PaletteEntry palPalEntry[256];
};

// Up to 256 colours, in the forms GDI and the pixel loops need, with the
// nearest-colour search and its 5-5-5 inverse table.
class Palette {
public:
  static constexpr int32_t kMaxEntries = 256;
  static constexpr uint32_t kInverseTableSize = 32768;
  static constexpr uint16_t kLogPaletteVersion = 0x300;

  // Empty, not valid.
  Palette();
  // A negative count or one above 256 leaves the palette empty (not valid).
  Palette(const RgbQuad *entries, int32_t count);
  ~Palette();

  Palette(const Palette &) = delete;
  Palette &operator=(const Palette &) = delete;

  // The built-in 256 colours.
  void LoadDefault();

  bool IsValid() const { return m_valid != 0; }
  int32_t GetCount() const { return m_count; }

  // Null when not valid.
  const RgbQuad *GetEntries() const;
  const LogPaletteForm *GetLogPalette();
  // Made on first use, deleted with the palette; null when not valid.
  // Defined in the Win32 half only.
  HPALETTE__ *GetHPalette();

  // The entry nearest to a colour by the least sum of squared channel
  // differences, the later entry on equal scores; -1 without entries. A value
  // with the palette-index bit answers its low byte without looking at the
  // entries.
  int32_t NearestIndex(ColorRef colour) const;
  // The same through the 5-5-5 inverse table (the palette-index bit is not
  // honoured); -1 without entries.
  int32_t IndexOfColor(ColorRef colour);
  // 32768 entries, built on first use; null without entries.
  const uint8_t *GetInverseTable();
  DitherEngine *GetDitherEngine();

  // The colour of an 8-bit pixel: this palette's entry, or the default
  // palette's when the index lies at or past this palette's count.
  RgbQuad ColorOfIndex(uint8_t index) const;

  static Palette &Default();
  // The palette through which 8-bit pixels are read and matched: the given
  // one when it holds colours, else the default palette.
  static Palette &ForEightBit(Palette *palette);

  // Inverse-table slot of a colour: (red >> 3) | (green >> 3) << 5 | (blue >> 3) << 10.
  static uint32_t InverseSlot(uint8_t red, uint8_t green, uint8_t blue) {
    return static_cast<uint32_t>(red >> 3) | static_cast<uint32_t>(green >> 3) << 5 |
           static_cast<uint32_t>(blue >> 3) << 10;
  }

private:
  using HandleDeleter = void (*)(HPALETTE__ *);

  void Clear();
  void Assign(const RgbQuad *entries, int32_t count);
  int32_t NearestEntry(uint8_t red, uint8_t green, uint8_t blue) const;

  std::vector<RgbQuad> m_entries;
  std::unique_ptr<LogPaletteForm> m_logPalette;
  std::unique_ptr<HPALETTE__, HandleDeleter> m_handle;
  std::unique_ptr<uint8_t[]> m_inverseTable;
  int32_t m_valid = 0;
  int32_t m_count = 0;
  std::unique_ptr<DitherEngine> m_ditherEngine;
};
