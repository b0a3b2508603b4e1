#include <cstddef>
#include <cstring>

#include "filters/FilterByteSource.h"
#include "filters/FilterDib.h"
#include "filters/ImportFilters.h"

// Truevision TGA: an 18-byte header, the image ID, an optional colour map,
// then pixels, plain or in run-length packets that may cross row ends.

namespace {

constexpr uint32_t kHeaderSize = 18;
constexpr uint32_t kBlockSize = 102400;
constexpr uint32_t kMinSide = 2;
constexpr uint32_t kMaxSide = 32767;
constexpr uint32_t kMaxMapEntries = 256;
constexpr uint8_t kTopDownBit = 0x20;
constexpr uint8_t kRightToLeftBit = 0x10;
constexpr uint8_t kRepeatBit = 0x80;
constexpr uint32_t kLongestPacket = 128;

enum ImageType : uint8_t {
  kColourMapped = 1,
  kTrueColour = 2,
  kGrey = 3,
  kColourMappedRle = 9,
  kTrueColourRle = 10,
  kGreyRle = 11,
};

struct TgaHeader {
  uint8_t idLength = 0;
  uint8_t mapType = 0;
  uint8_t imageType = 0;
  uint16_t mapOrigin = 0;
  uint16_t mapLength = 0;
  uint8_t mapEntryBits = 0;
  uint16_t width = 0;
  uint16_t height = 0;
  uint8_t bits = 0;
  uint8_t descriptor = 0;
};

uint16_t Word(const uint8_t *bytes) { return static_cast<uint16_t>(bytes[0] | bytes[1] << 8); }

TgaHeader ParseHeader(const uint8_t *bytes) {
  TgaHeader header;
  header.idLength = bytes[0];
  header.mapType = bytes[1];
  header.imageType = bytes[2];
  header.mapOrigin = Word(bytes + 3);
  header.mapLength = Word(bytes + 5);
  header.mapEntryBits = bytes[7];
  header.width = Word(bytes + 12);
  header.height = Word(bytes + 14);
  header.bits = bytes[16];
  header.descriptor = bytes[17];
  return header;
}

bool IsTrueColour(uint8_t type) { return type == kTrueColour || type == kTrueColourRle; }
bool IsColourMapped(uint8_t type) { return type == kColourMapped || type == kColourMappedRle; }
bool IsGrey(uint8_t type) { return type == kGrey || type == kGreyRle; }
bool IsRunLength(uint8_t type) { return type >= kColourMappedRle; }

uint32_t EntryBytes(uint8_t bits) { return (bits + 1U) / 8; }

// Widens a 5-bit channel to 8 bits, white staying white.
uint8_t Widen5(uint32_t value) { return static_cast<uint8_t>(value << 3 | value >> 2); }

void Describe(FilterDescription &description, const TgaHeader &header) {
  description.kind = header.imageType;
  description.compression = header.imageType >= 1 && header.imageType <= 3 ? 0 : 1;
  description.width = header.width;
  description.height = header.height;
  description.bitsPerPlane = header.bits;
  description.bitsPerPixel = header.bits;
  description.planes = 1;
  if (header.bits == 16)
    description.colourCount = 0x8000;
  else if (header.bits == 32)
    description.colourCount = 0x1000000;
  else
    description.colourCount = header.bits >= 64 ? UINT64_MAX : uint64_t{1} << header.bits;
  const uint32_t bytesPerPixel = header.bits == 16 || header.bits == 32 ? 3 : (header.bits + 7U) / 8;
  description.imageBytes = uint64_t{header.width} * header.height * bytesPerPixel;
}

// The checks that keep every depth inside its DIB: 8-bit DIBs for colour
// maps and grey, 24-bit for true colour; unknown types refused.
FilterResult CheckHeader(const TgaHeader &header, uint8_t bits) {
  if (header.width < kMinSide || header.height < kMinSide)
    return kFilterBadTga;
  if (header.width > kMaxSide || header.height > kMaxSide)
    return kFilterTooLarge;
  if (bits != 8 && bits != 16 && bits != 24 && bits != 32)
    return kFilterBadTga;
  if (IsTrueColour(header.imageType))
    return bits == 8 ? kFilterBadTga : kFilterSuccess;
  if (!IsColourMapped(header.imageType) && !IsGrey(header.imageType))
    return kFilterBadTga;
  if (bits != 8)
    return kFilterBadTga;
  if (IsColourMapped(header.imageType)) {
    if (header.mapType != 1 || header.mapLength == 0 || header.mapLength > kMaxMapEntries ||
        uint32_t{header.mapOrigin} + header.mapLength > kMaxMapEntries)
      return kFilterBadTga;
    const uint8_t entryBits = header.mapEntryBits;
    if (entryBits != 15 && entryBits != 16 && entryBits != 24 && entryBits != 32)
      return kFilterBadTga;
  }
  return kFilterSuccess;
}

// Whether the file is long enough for its header's picture: the image ID,
// the colour map and the pixels at their most compact (repeat packets of
// 128 pixels in run-length files) after the header. A file that cannot
// hold them would end in a read error once the picture was allocated.
bool FileHoldsPicture(FilterFile &file, const TgaHeader &header, uint32_t pixelBytes) {
  const int32_t size = file.Size();
  if (size < 0)
    return true;
  const uint64_t pixels = uint64_t{header.width} * header.height;
  const uint64_t pixelData = IsRunLength(header.imageType)
                                 ? (pixels + kLongestPacket - 1) / kLongestPacket * (1 + pixelBytes)
                                 : pixels * pixelBytes;
  const uint64_t map = header.mapType != 0 ? uint64_t{header.mapLength} * EntryBytes(header.mapEntryBits) : 0;
  return kHeaderSize + uint64_t{header.idLength} + map + pixelData <= static_cast<uint64_t>(size);
}

FilterResult ReadColourMap(FilterByteSource &source, const TgaHeader &header, FilterDib &dib) {
  RgbQuad *colours = dib.Colours();
  const uint32_t entryBytes = EntryBytes(header.mapEntryBits);
  for (uint32_t i = 0; i < header.mapLength; ++i) {
    uint8_t entry[4] = {};
    if (!source.Take(entry, entryBytes))
      return kFilterReadError;
    RgbQuad &colour = colours[header.mapOrigin + i];
    if (entryBytes == 2) {
      const uint32_t value = Word(entry);
      colour = RgbQuad{static_cast<uint8_t>((value & 0x1F) << 3), static_cast<uint8_t>(((value >> 5) & 0x1F) << 3),
                       static_cast<uint8_t>(((value >> 10) & 0x1F) << 3), 0};
    } else {
      colour = RgbQuad{entry[0], entry[1], entry[2], 0};
    }
  }
  return kFilterSuccess;
}

// Writes one file pixel into a DIB row.
void PutPixel(uint8_t *row, uint32_t x, const uint8_t *pixel, uint32_t pixelBytes) {
  switch (pixelBytes) {
  case 1:
    row[x] = pixel[0];
    break;
  case 2: {
    const uint32_t value = Word(pixel);
    row[static_cast<size_t>(3) * x] = Widen5(value & 0x1F);
    row[static_cast<size_t>(3) * x + 1] = Widen5((value >> 5) & 0x1F);
    row[static_cast<size_t>(3) * x + 2] = Widen5((value >> 10) & 0x1F);
    break;
  }
  default: // 3 or 4: blue, green, red (alpha dropped)
    row[static_cast<size_t>(3) * x] = pixel[0];
    row[static_cast<size_t>(3) * x + 1] = pixel[1];
    row[static_cast<size_t>(3) * x + 2] = pixel[2];
    break;
  }
}

// Reads the pixels into the DIB row by row, the file's first row at the
// bottom unless the descriptor says the rows run top down.
FilterResult ReadPixels(FilterContext &context, FilterByteSource &source, const TgaHeader &header, uint32_t pixelBytes,
                        FilterDib &dib) {
  const bool topDown = (header.descriptor & kTopDownBit) != 0;
  // Rows stored from the right are turned round, as every viewer shows them.
  const bool rightToLeft = (header.descriptor & kRightToLeftBit) != 0;
  const bool runLength = IsRunLength(header.imageType);
  const uint32_t width = dib.Width();
  const uint32_t height = dib.Height();
  uint8_t pixel[4] = {};
  uint32_t repeat = 0;  // pixels left of a repeat packet
  uint32_t literal = 0; // pixels left of a literal packet
  for (uint32_t fileRow = 0; fileRow < height; ++fileRow) {
    if (ReportFilterSteps(context, fileRow, height))
      return kFilterCancelled;
    uint8_t *row = dib.Row(topDown ? fileRow : height - 1 - fileRow);
    for (uint32_t x = 0; x < width; ++x) {
      if (runLength && repeat == 0 && literal == 0) {
        uint8_t packet = 0;
        if (!source.Next(packet))
          return kFilterReadError;
        const uint32_t count = (packet & ~kRepeatBit) + 1U;
        if ((packet & kRepeatBit) != 0) {
          if (!source.Take(pixel, pixelBytes))
            return kFilterReadError;
          repeat = count;
        } else {
          literal = count;
        }
      }
      if (repeat != 0) {
        --repeat;
      } else {
        if (!source.Take(pixel, pixelBytes))
          return kFilterReadError;
        if (literal != 0)
          --literal;
      }
      PutPixel(row, rightToLeft ? width - 1 - x : x, pixel, pixelBytes);
    }
  }
  // What a last packet holds past the last pixel is left unread.
  return kFilterSuccess;
}

FilterResult DecodeTga(FilterContext &context, FilterFile &file, const TgaHeader &header, uint8_t bits,
                       FilterDib &dib) {
  FilterByteSource source(file, kBlockSize);
  FilterResult result = source.Allocate();
  if (result != kFilterSuccess)
    return result;
  if (!source.Skip(header.idLength))
    return kFilterReadError;
  if (IsColourMapped(header.imageType)) {
    result = ReadColourMap(source, header, dib);
    if (result != kFilterSuccess)
      return result;
  } else {
    if (header.mapType != 0 && !source.Skip(uint64_t{header.mapLength} * EntryBytes(header.mapEntryBits)))
      return kFilterReadError;
    if (IsGrey(header.imageType))
      dib.SetGreyRamp(kMaxMapEntries);
  }
  return ReadPixels(context, source, header, bits / 8U, dib);
}

} // namespace

FilterResult ReadTgaFile(FilterContext *context) {
  FilterFile file;
  FilterResult result = OpenFilterRequest(context, file);
  if (result != kFilterSuccess)
    return result;
  uint8_t bytes[kHeaderSize];
  if (!file.ReadExactly(bytes, kHeaderSize))
    return kFilterReadError;
  const TgaHeader header = ParseHeader(bytes);
  Describe(context->description, header);
  if (context->decode == 0)
    return kFilterSuccess;

  const uint8_t bits = header.bits == 15 ? 16 : header.bits;
  result = CheckHeader(header, bits);
  if (result != kFilterSuccess)
    return result;
  if (!FileHoldsPicture(file, header, bits / 8U))
    return kFilterReadError;
  FilterDib dib;
  const bool trueColour = IsTrueColour(header.imageType);
  result = dib.Create(header.width, header.height, trueColour ? 24 : 8, trueColour ? 0 : kMaxMapEntries);
  if (result != kFilterSuccess)
    return result;
  result = DecodeTga(*context, file, header, bits, dib);
  if (result != kFilterSuccess)
    return result;
  FilterHandle picture = dib.Release();
  result = AttachFilterResult(context, picture, nullptr);
  if (result != kFilterSuccess) {
    ActiveFilterIo().Free(picture);
    return result;
  }
  ReportFilterProgress(*context, 100);
  return kFilterSuccess;
}

FilterResult ImportTgaImage(FilterProgressCallback callback, uintptr_t userValue, const char *fileName,
                            FilterHandle *picture, FilterHandle *second) {
  FilterExtras extras;
  extras.second = second;
  extras.secondIsMask = true;
  return RunImportFilter(ReadTgaFile, callback, userValue, fileName, picture, extras);
}
