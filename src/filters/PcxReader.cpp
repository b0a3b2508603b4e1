#include <cstddef>
#include <cstring>
#include <vector>

#include "filters/FilterByteSource.h"
#include "filters/FilterDib.h"
#include "filters/ImportFilters.h"

// PCX: a 128-byte header, run-length encoded scan lines of one or more
// planes, and for 8-bit pictures a 256-colour palette in the last 768 bytes.

namespace {

constexpr uint32_t kHeaderSize = 128;
constexpr uint8_t kManufacturer = 10;
constexpr uint8_t kRunLengthEncoding = 1;
constexpr uint8_t kVersionWithoutPalette = 3;
constexpr uint32_t kBlockSize = 10240;
constexpr uint32_t kMaxSide = 32767;
constexpr uint32_t kPaletteBytes = 768;
constexpr uint8_t kRunMark = 0xC0;
constexpr uint32_t kLongestRun = 0x3F;

// The header's fields at their offsets.
struct PcxHeader {
  uint8_t version = 0;
  uint8_t encoding = 0;
  uint8_t bitsPerPlane = 0;
  uint16_t xmin = 0, ymin = 0, xmax = 0, ymax = 0;
  uint8_t palette[48] = {};
  uint8_t planes = 0;
  uint16_t bytesPerLine = 0;
};

uint16_t Word(const uint8_t *bytes) { return static_cast<uint16_t>(bytes[0] | bytes[1] << 8); }

PcxHeader ParseHeader(const uint8_t *bytes) {
  PcxHeader header;
  header.version = bytes[1];
  header.encoding = bytes[2];
  header.bitsPerPlane = bytes[3];
  header.xmin = Word(bytes + 4);
  header.ymin = Word(bytes + 6);
  header.xmax = Word(bytes + 8);
  header.ymax = Word(bytes + 10);
  std::memcpy(header.palette, bytes + 16, sizeof(header.palette));
  header.planes = bytes[65];
  header.bytesPerLine = Word(bytes + 66);
  return header;
}

// The older 16-colour default table, as red, green, blue.
constexpr uint8_t kDefaultPalette[48] = {0, 0,   0,   0,   0,   191, 0,   191, 0,   0,   191, 191, 191, 0,   0,   191,
                                         0, 191, 191, 191, 0,   192, 192, 192, 128, 128, 128, 0,   0,   255, 0,   255,
                                         0, 0,   255, 255, 255, 0,   0,   255, 0,   255, 255, 255, 0,   255, 255, 255};

// How the planes of a line become DIB pixels. Only these layouts have a
// conversion; others (several planes of more than one bit except 24-bit RGB)
// are refused rather than drawn wrong.
enum class Layout { None, Copy, WidenTwoBits, CombinePlanes, Rgb };

Layout LayoutOf(uint8_t bitsPerPlane, uint8_t planes) {
  if (planes == 1 && (bitsPerPlane == 1 || bitsPerPlane == 4 || bitsPerPlane == 8))
    return Layout::Copy;
  // Four-colour pictures: a DIB has no 2-bit pixels, so each becomes a
  // 4-bit one indexing the same first four colours.
  if (planes == 1 && bitsPerPlane == 2)
    return Layout::WidenTwoBits;
  if (bitsPerPlane == 1 && planes >= 2 && planes <= 8)
    return Layout::CombinePlanes;
  if (bitsPerPlane == 8 && planes == 3)
    return Layout::Rgb;
  return Layout::None;
}

uint16_t DibBitsOf(uint32_t bits) {
  if (bits == 1)
    return 1;
  if (bits <= 4)
    return 4;
  if (bits <= 8)
    return 8;
  return 24;
}

void SetTriples(RgbQuad *colours, const uint8_t *triples, uint32_t count) {
  for (uint32_t i = 0; i < count; ++i)
    colours[i] = RgbQuad{triples[static_cast<size_t>(3) * i + 2], triples[static_cast<size_t>(3) * i + 1],
                         triples[static_cast<size_t>(3) * i], 0};
}

// Fills the colour table; 202 when the end palette cannot be read.
FilterResult SetColourTable(FilterDib &dib, const PcxHeader &header, FilterFile &file) {
  RgbQuad *colours = dib.Colours();
  switch (dib.Header()->biBitCount) {
  case 1:
    colours[0] = RgbQuad{0, 0, 0, 0};
    colours[1] = RgbQuad{255, 255, 255, 0};
    return kFilterSuccess;
  case 4:
    SetTriples(colours, header.version == kVersionWithoutPalette ? kDefaultPalette : header.palette, 16);
    return kFilterSuccess;
  case 8: {
    uint8_t palette[kPaletteBytes];
    if (file.Seek(-static_cast<int32_t>(kPaletteBytes), FilterSeek::End) < static_cast<int32_t>(kHeaderSize) ||
        !file.ReadExactly(palette, kPaletteBytes))
      return kFilterReadError;
    SetTriples(colours, palette, 256);
    // The scan lines start right after the header.
    if (file.Seek(kHeaderSize, FilterSeek::Begin) != static_cast<int32_t>(kHeaderSize))
      return kFilterReadError;
    return kFilterSuccess;
  }
  default:
    return kFilterSuccess;
  }
}

// Whether the file after its header can hold the lines of the picture:
// each line takes at least a byte for every run of up to 63 bytes (runs do
// not cross lines). A shorter file would end in a read error once the
// picture was allocated.
bool FileHoldsLines(FilterFile &file, uint64_t lineBytes, uint32_t lines) {
  const int32_t size = file.Size();
  return size < 0 || kHeaderSize + (lineBytes + kLongestRun - 1) / kLongestRun * lines <= static_cast<uint64_t>(size);
}

// One scan line of all planes; false when the file ends first.
bool DecodeLine(FilterByteSource &source, uint8_t *line, uint32_t length) {
  uint32_t filled = 0;
  while (filled < length) {
    uint8_t byte = 0;
    if (!source.Next(byte))
      return false;
    uint32_t count = 1;
    if ((byte & kRunMark) == kRunMark) {
      count = byte & ~kRunMark;
      if (!source.Next(byte))
        return false;
    }
    // The rest of a run past the line's end is dropped.
    const uint32_t stored = count < length - filled ? count : length - filled;
    std::memset(line + filled, byte, stored);
    filled += stored;
  }
  return true;
}

void ConvertLine(Layout layout, const PcxHeader &header, const uint8_t *line, uint8_t *row, uint32_t width,
                 uint16_t dibBits) {
  const uint32_t planeBytes = header.bytesPerLine;
  switch (layout) {
  case Layout::Copy:
    std::memcpy(row, line, (uint64_t{width} * header.bitsPerPlane + 7) / 8);
    break;
  case Layout::WidenTwoBits:
    for (uint32_t x = 0; x < width; x += 2) {
      const uint32_t high = (line[x / 4] >> (6 - 2 * (x % 4))) & 3;
      const uint32_t low = x + 1 < width ? (line[(x + 1) / 4] >> (6 - 2 * ((x + 1) % 4))) & 3 : 0;
      row[x / 2] = static_cast<uint8_t>(high << 4 | low);
    }
    break;
  case Layout::Rgb:
    for (uint32_t x = 0; x < width; ++x) {
      row[static_cast<size_t>(3) * x] = line[static_cast<size_t>(2) * planeBytes + x];
      row[static_cast<size_t>(3) * x + 1] = line[planeBytes + x];
      row[static_cast<size_t>(3) * x + 2] = line[x];
    }
    break;
  case Layout::CombinePlanes:
    for (uint32_t x = 0; x < width; ++x) {
      uint8_t value = 0;
      for (uint32_t plane = 0; plane < header.planes; ++plane) {
        const uint8_t bit = (line[plane * planeBytes + x / 8] >> (7 - x % 8)) & 1;
        value = static_cast<uint8_t>(value | bit << plane);
      }
      if (dibBits == 8)
        row[x] = value;
      else if (x % 2 == 0)
        row[x / 2] = static_cast<uint8_t>(value << 4);
      else
        row[x / 2] = static_cast<uint8_t>(row[x / 2] | value);
    }
    break;
  case Layout::None:
    break;
  }
}

FilterResult DecodePcxData(FilterContext &context, FilterFile &file, const PcxHeader &header, FilterDib &dib) {
  const Layout layout = LayoutOf(header.bitsPerPlane, header.planes);
  FilterByteSource source(file, kBlockSize);
  FilterResult result = source.Allocate();
  if (result != kFilterSuccess)
    return result;
  const uint32_t lineBytes = uint32_t{header.bytesPerLine} * header.planes;
  FilterBlock line;
  if (!line.Allocate(lineBytes))
    return kFilterNoMemory;
  const uint16_t dibBits = dib.Header()->biBitCount;
  for (uint32_t y = 0; y < dib.Height(); ++y) {
    if (ReportFilterSteps(context, y, dib.Height()))
      return kFilterCancelled;
    if (!DecodeLine(source, line.Data(), lineBytes))
      return kFilterReadError;
    ConvertLine(layout, header, line.Data(), dib.Row(y), dib.Width(), dibBits);
  }
  return kFilterSuccess;
}

void Describe(FilterDescription &description, const PcxHeader &header) {
  description.kind = header.version;
  description.compression = header.encoding;
  description.width = header.xmax >= header.xmin ? header.xmax - header.xmin + 1U : 0;
  description.height = header.ymax >= header.ymin ? header.ymax - header.ymin + 1U : 0;
  description.bitsPerPlane = header.bitsPerPlane;
  description.planes = header.planes;
  description.bitsPerPixel = static_cast<uint16_t>(header.bitsPerPlane * header.planes);
  const uint32_t bits = description.bitsPerPixel;
  description.colourCount = bits >= 64 ? UINT64_MAX : uint64_t{1} << bits;
}

} // namespace

FilterResult ReadPcxFile(FilterContext *context) {
  FilterFile file;
  FilterResult result = OpenFilterRequest(context, file);
  if (result != kFilterSuccess)
    return result;

  uint8_t bytes[kHeaderSize];
  if (!file.ReadExactly(bytes, kHeaderSize))
    return kFilterReadError;
  if (bytes[0] != kManufacturer)
    return kFilterNotPcx;
  const PcxHeader header = ParseHeader(bytes);
  Describe(context->description, header);
  if (context->decode == 0)
    return kFilterSuccess;

  if (header.encoding != kRunLengthEncoding)
    return kFilterNotPcx;
  if (header.xmax < header.xmin || header.ymax < header.ymin)
    return kFilterNotPcx;
  const uint32_t width = header.xmax - header.xmin + 1U;
  const uint32_t height = header.ymax - header.ymin + 1U;
  if (width > kMaxSide || height > kMaxSide)
    return kFilterTooLarge;
  if (LayoutOf(header.bitsPerPlane, header.planes) == Layout::None)
    return kFilterNotPcx;
  // A line's planes must hold the picture's width, or the conversion would
  // read past them.
  if (uint64_t{header.bytesPerLine} * 8 < uint64_t{width} * header.bitsPerPlane)
    return kFilterReadError;
  if (!FileHoldsLines(file, uint64_t{header.bytesPerLine} * header.planes, height))
    return kFilterReadError;

  const uint16_t dibBits = DibBitsOf(uint32_t{header.bitsPerPlane} * header.planes);
  FilterDib dib;
  result = dib.Create(width, height, dibBits, dibBits <= 8 ? 1U << dibBits : 0U);
  if (result != kFilterSuccess)
    return result == kFilterBadArgument ? kFilterNotPcx : result;
  result = SetColourTable(dib, header, file);
  if (result == kFilterSuccess)
    result = DecodePcxData(*context, file, header, dib);
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

FilterResult ImportPcxImage(FilterProgressCallback callback, uintptr_t userValue, const char *fileName,
                            FilterHandle *picture) {
  return RunImportFilter(ReadPcxFile, callback, userValue, fileName, picture);
}
