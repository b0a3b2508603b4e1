// A publication's palette record read from any bytes, made into the
// display's palette, and asked for colours: the nearest entry (no entry may
// be nearer), the inverse table's answer, every index's colour, and a row
// of pixels dithered and a small picture converted through it.
//   8-bit count, then that many colours (COLORREF) to match; 8-bit width,
//   then width 24-bit pixels; the rest: the palette record
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "FuzzBytes.h"
#include "display/DitherEngine.h"
#include "display/Palette.h"
#include "model/VORPaletteRecord.h"
#include "support/FakeRecordFile.h"
#include "vorfile/VORFileException.h"

namespace {

// The inverse table (32768 nearest-colour searches) is built for small
// palettes only: for a full one it would take the fuzzer's whole time, and
// its code is the same for every count.
constexpr int32_t kMaxCountForInverseTable = 4;

int32_t Score(const RgbQuad &entry, ColorRef colour) {
  const int32_t dr = entry.red - RedOf(colour);
  const int32_t dg = entry.green - GreenOf(colour);
  const int32_t db = entry.blue - BlueOf(colour);
  return dr * dr + dg * dg + db * db;
}

void Match(Palette &palette, ColorRef colour) {
  const int32_t count = palette.GetCount();
  const int32_t nearest = palette.NearestIndex(colour);
  if (IsPaletteIndex(colour)) {
    if (nearest != static_cast<int32_t>(colour & 0xFF))
      std::abort();
  } else if (count == 0 ? nearest != -1 : nearest < 0 || nearest >= count) {
    std::abort();
  } else if (count != 0) {
    const RgbQuad *entries = palette.GetEntries();
    for (int32_t i = 0; i < count; ++i)
      if (Score(entries[i], colour) < Score(entries[nearest], colour))
        std::abort(); // another entry is nearer
  }
  if (count <= kMaxCountForInverseTable) {
    const int32_t viaTable = palette.IndexOfColor(colour);
    if (viaTable < -1 || viaTable >= (count == 0 ? 0 : count))
      std::abort();
  }
}

void Dither(Palette &palette, const std::vector<uint8_t> &pixels, int32_t width) {
  if (palette.GetCount() > kMaxCountForInverseTable || width == 0)
    return;
  const uint8_t *inverse = palette.GetInverseTable();
  if (inverse == nullptr)
    return;
  std::vector<uint8_t> indices(static_cast<size_t>(width));
  DitherEngine::DitherRow(pixels.data(), indices.data(), width, inverse, palette.GetEntries(), palette.GetCount(),
                          SelectedPixelLoops());
  for (const uint8_t index : indices)
    if (index >= palette.GetCount())
      std::abort(); // an index the palette does not hold

  // The same row as a picture one pixel high, converted whole.
  BitmapInfoHeader source{};
  source.biSize = kBitmapInfoHeaderSize;
  source.biWidth = width;
  source.biHeight = 1;
  source.biPlanes = 1;
  source.biBitCount = 24;
  BitmapInfo256 destination{};
  destination.header = source;
  destination.header.biBitCount = 8;
  destination.header.biClrUsed = kMaxColorTableEntries;
  std::vector<uint8_t> sourceBits((static_cast<size_t>(width) * 3 + 3) & ~size_t{3});
  std::copy(pixels.begin(), pixels.end(), sourceBits.begin());
  std::vector<uint8_t> destinationBits((static_cast<size_t>(width) + 3) & ~size_t{3});
  DitherEngine *engine = palette.GetDitherEngine();
  if (engine != nullptr) {
    engine->CopyColorTable(&destination.header);
    engine->Convert(&source, &destination.header, sourceBits.data(), destinationBits.data(), nullptr, nullptr);
  }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  FuzzBytes input(data, size);
  std::vector<ColorRef> colours(input.Take<uint8_t>());
  for (ColorRef &colour : colours)
    colour = input.Take<uint32_t>();
  const int32_t width = input.Take<uint8_t>();
  std::vector<uint8_t> pixels = input.Take(static_cast<size_t>(width) * 3);
  pixels.resize(static_cast<size_t>(width) * 3);
  FakeRecordFile file(input.Rest());
  VORPaletteRecord record;
  try {
    record.Read(file);
  } catch (const VORFileException &) {
    return 0;
  }
  if (record.GetCount() > VORPaletteRecord::kMaxEntries)
    std::abort();
  std::vector<RgbQuad> entries;
  for (const VORPaletteRecord::Entry &entry : record.GetEntries())
    entries.push_back(RgbQuad{entry.blue, entry.green, entry.red, entry.reserved});
  Palette palette(entries.data(), static_cast<int32_t>(entries.size()));
  for (const ColorRef colour : colours)
    Match(palette, colour);
  for (int index = 0; index < 256; ++index)
    palette.ColorOfIndex(static_cast<uint8_t>(index));
  palette.GetLogPalette();
  Palette::ForEightBit(&palette);
  Dither(palette, pixels, width);
  return 0;
}
