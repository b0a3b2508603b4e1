#include <cstddef>
#include <cstring>
#include <utility>

#include "filters/FilterDib.h"
#include "filters/ImportFilters.h"
#include "filters/Inflater.h"
#include "filters/PngFilters.h"

// PNG: the signature, then chunks (length, type, data, CRC). The image data
// of consecutive IDAT chunks is one zlib stream; inflated, it is rows of one
// filter-type byte and the filtered pixels, in 1 or 7 (Adam7) passes.
//
// A picture whose image data ends early (the stream cut short, or the file
// itself) shows the rows it holds; the rest stays as the DIB was made, zero.
// A file that ends before its image data starts is refused.

namespace {

constexpr uint8_t kSignature[8] = {137, 80, 78, 71, 13, 10, 26, 10};
constexpr uint32_t kHeaderLength = 13;
// Where the header chunk ends in a file that starts with it.
constexpr uint64_t kSmallestHeaderEnd = 33;
constexpr uint64_t kLargestDeflateRatio = 1032;
constexpr uint32_t kMaxSide = 32768;
constexpr uint32_t kMaxChunkLength = 0x7FFFFFFF;
constexpr uint32_t kSkipPiece = 1024;
constexpr uint32_t kCrcBytes = 4;
constexpr uint32_t kRowMargin = 8; // zero bytes left of each row buffer: the Sub and Paeth filters' left neighbours

constexpr uint32_t ChunkType(const char (&name)[5]) {
  return static_cast<uint32_t>(name[0]) << 24 | static_cast<uint32_t>(name[1]) << 16 |
         static_cast<uint32_t>(name[2]) << 8 | static_cast<uint32_t>(name[3]);
}
constexpr uint32_t kIhdr = ChunkType("IHDR");
constexpr uint32_t kPlte = ChunkType("PLTE");
constexpr uint32_t kIdat = ChunkType("IDAT");
constexpr uint32_t kIend = ChunkType("IEND");
constexpr uint32_t kTrns = ChunkType("tRNS");

enum ColourType : uint8_t { kGrey = 0, kRgb = 2, kPalette = 3, kGreyAlpha = 4, kRgba = 6 };

struct Pass {
  uint32_t x, y, dx, dy;
};
constexpr Pass kPlainPass[1] = {{0, 0, 1, 1}};
constexpr Pass kAdam7[7] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                            {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};

uint32_t BigEndian(const uint8_t *bytes) {
  return static_cast<uint32_t>(bytes[0]) << 24 | static_cast<uint32_t>(bytes[1]) << 16 |
         static_cast<uint32_t>(bytes[2]) << 8 | bytes[3];
}

struct PngHeader {
  uint32_t width = 0;
  uint32_t height = 0;
  uint8_t depth = 0;
  uint8_t colourType = 0;
  uint8_t compression = 0;
  uint8_t filter = 0;
  uint8_t interlace = 0;
};

uint32_t ChannelsOf(uint8_t colourType) {
  switch (colourType) {
  case kRgb:
    return 3;
  case kGreyAlpha:
    return 2;
  case kRgba:
    return 4;
  default:
    return 1;
  }
}

bool ValidHeader(const PngHeader &header) {
  if (header.width < 1 || header.width > kMaxSide || header.height < 1 || header.height > kMaxSide)
    return false;
  if (header.compression != 0 || header.filter != 0 || header.interlace > 1)
    return false;
  const uint8_t depth = header.depth;
  switch (header.colourType) {
  case kGrey:
    return depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16;
  case kPalette:
    return depth == 1 || depth == 2 || depth == 4 || depth == 8;
  case kRgb:
  case kGreyAlpha:
  case kRgba:
    return depth == 8 || depth == 16;
  default:
    return false;
  }
}

uint16_t DibBitsOf(const PngHeader &header) {
  if (header.colourType == kRgb || header.colourType == kRgba)
    return 24;
  if (header.colourType == kGreyAlpha || header.depth >= 8)
    return 8;
  return header.depth == 1 ? 1 : 4;
}

// The whole decode of one file: chunks, the inflater's input and output,
// and the rows.
class PngDecoder : public InflateSource, public InflateSink {
public:
  PngDecoder(FilterContext &context, FilterFile &file) : m_context(context), m_file(file) {}

  FilterResult Decode();
  int16_t TransparentIndex() const { return m_transparent; }
  FilterHandle ReleasePicture() { return m_dib.Release(); }

  uint32_t Fill(uint8_t *buffer, uint32_t capacity) override;
  bool Write(const uint8_t *data, uint32_t size) override;

private:
  FilterResult ReadHeader(uint32_t length);
  bool FileHoldsRows();
  FilterResult ReadPalette(uint32_t length);
  FilterResult ReadTransparency(uint32_t length);
  FilterResult ReadImageData(uint32_t length);
  FilterResult SkipChunk(uint64_t length);
  // The file ended where a chunk should be: refused before the image data,
  // else the picture is what the data gave.
  FilterResult EndOfFile();
  bool ReadChunkStart(uint32_t &length, uint32_t &type);
  void StartPass(uint32_t pass);
  bool FinishRow();
  void PlaceRow(const uint8_t *row);

  FilterContext &m_context;
  FilterFile &m_file;
  PngHeader m_header;
  bool m_haveHeader = false;
  bool m_havePalette = false;
  bool m_haveData = false;
  bool m_haveTransparency = false;
  uint32_t m_paletteSize = 0;
  int16_t m_transparent = -1;
  FilterDib m_dib;
  Inflater m_inflater;

  // The inflater's source: the rest of the current IDAT chunk, then the
  // chunks after it while they are IDAT.
  uint32_t m_dataLeft = 0;
  bool m_pendingChunk = false; // a chunk header read by Fill that is not IDAT
  uint32_t m_pendingLength = 0;
  uint32_t m_pendingType = 0;
  bool m_fileEnded = false; // the file ended after the image data started

  // Rows.
  const Pass *m_passes = kPlainPass;
  uint32_t m_passCount = 1;
  uint32_t m_pass = 0;
  uint32_t m_passWidth = 0;
  uint32_t m_passHeight = 0;
  uint32_t m_passRow = 0;
  uint32_t m_rowBytes = 0;      // without the filter byte
  uint32_t m_bytesPerPixel = 0; // at least 1: the filters' left distance
  uint32_t m_bitsPerPixel = 0;
  uint32_t m_filled = 0; // bytes of the current row, filter byte included
  uint32_t m_rowsDone = 0;
  uint32_t m_rowsTotal = 0;
  bool m_imageDone = false;
  FilterResult m_rowResult = kFilterSuccess;
  PixelLoops m_loops = SelectedPixelLoops();
  FilterBlock m_rows; // current and previous row, each after kRowMargin zero bytes
  uint8_t *m_current = nullptr;
  uint8_t *m_previous = nullptr;
};

bool PngDecoder::ReadChunkStart(uint32_t &length, uint32_t &type) {
  uint8_t bytes[8];
  if (!m_file.ReadExactly(bytes, sizeof(bytes)))
    return false;
  length = BigEndian(bytes);
  type = BigEndian(bytes + 4);
  return true;
}

FilterResult PngDecoder::SkipChunk(uint64_t length) {
  uint8_t piece[kSkipPiece];
  uint64_t left = length + kCrcBytes;
  while (left != 0) {
    const uint32_t size = left < kSkipPiece ? static_cast<uint32_t>(left) : kSkipPiece;
    if (!m_file.ReadExactly(piece, size))
      return EndOfFile();
    left -= size;
  }
  return kFilterSuccess;
}

FilterResult PngDecoder::Decode() {
  uint8_t signature[sizeof(kSignature)];
  if (!m_file.ReadExactly(signature, sizeof(signature)))
    return kFilterReadError;
  if (std::memcmp(signature, kSignature, sizeof(kSignature)) != 0)
    return kFilterNotPng;
  for (;;) {
    uint32_t length = 0;
    uint32_t type = 0;
    if (m_pendingChunk) {
      length = m_pendingLength;
      type = m_pendingType;
      m_pendingChunk = false;
    } else if (!ReadChunkStart(length, type)) {
      return EndOfFile();
    }
    if (length > kMaxChunkLength)
      return kFilterReadError;
    if (!m_haveHeader && type != kIhdr)
      return type == kIdat ? kFilterPngNoHeader : kFilterPngChunkOrder;
    FilterResult result = kFilterSuccess;
    if (type == kIhdr) {
      result = ReadHeader(length);
      if (result == kFilterSuccess && m_context.decode == 0)
        return kFilterSuccess;
    } else if (type == kPlte) {
      result = ReadPalette(length);
    } else if (type == kTrns) {
      result = ReadTransparency(length);
    } else if (type == kIdat) {
      result = ReadImageData(length);
    } else if (type == kIend) {
      return m_haveData ? kFilterSuccess : kFilterReadError;
    } else {
      result = SkipChunk(length);
    }
    if (result != kFilterSuccess || m_fileEnded)
      return result;
  }
}

FilterResult PngDecoder::EndOfFile() {
  if (!m_haveData)
    return kFilterReadError;
  m_fileEnded = true;
  return kFilterSuccess;
}

// Deflate gives at most 1032 bytes for each byte it reads: a file shorter
// than the stored rows its header claims, so compressed, cannot hold the
// picture, and is refused before the picture is allocated.
bool PngDecoder::FileHoldsRows() {
  const int32_t size = m_file.Size();
  const uint64_t rowBytes = (uint64_t{m_header.width} * m_header.depth * ChannelsOf(m_header.colourType) + 7) / 8;
  return size < 0 ||
         kSmallestHeaderEnd + rowBytes * m_header.height / kLargestDeflateRatio <= static_cast<uint64_t>(size);
}

FilterResult PngDecoder::ReadHeader(uint32_t length) {
  if (m_haveHeader)
    return kFilterPngChunkOrder;
  if (length != kHeaderLength)
    return kFilterPngHeaderLength;
  uint8_t bytes[kHeaderLength + kCrcBytes];
  if (!m_file.ReadExactly(bytes, sizeof(bytes)))
    return kFilterReadError;
  m_haveHeader = true;
  m_header.width = BigEndian(bytes);
  m_header.height = BigEndian(bytes + 4);
  m_header.depth = bytes[8];
  m_header.colourType = bytes[9];
  m_header.compression = bytes[10];
  m_header.filter = bytes[11];
  m_header.interlace = bytes[12];

  FilterDescription &description = m_context.description;
  description.kind = m_header.colourType;
  description.compression = m_header.interlace;
  description.width = m_header.width;
  description.height = m_header.height;
  description.bitsPerPlane = m_header.depth;
  description.planes = static_cast<uint16_t>(ChannelsOf(m_header.colourType));
  description.bitsPerPixel = static_cast<uint16_t>(m_header.depth * ChannelsOf(m_header.colourType));
  description.colourCount = description.bitsPerPixel >= 64 ? UINT64_MAX : uint64_t{1} << description.bitsPerPixel;
  description.grey = m_header.colourType == kGrey || m_header.colourType == kGreyAlpha;
  if (m_context.decode == 0)
    return kFilterSuccess;
  if (!ValidHeader(m_header))
    return kFilterNotPng;
  if (!FileHoldsRows())
    return kFilterReadError;

  const uint16_t dibBits = DibBitsOf(m_header);
  FilterResult result = m_dib.Create(m_header.width, m_header.height, dibBits, dibBits <= 8 ? 1U << dibBits : 0U);
  if (result != kFilterSuccess)
    return result == kFilterBadArgument ? kFilterPngFormat : result;
  if (description.grey) {
    // Depth 2 fills 4 of the 16 entries, in steps of 85.
    const uint32_t levels = m_header.depth >= 8 ? 256 : 1U << m_header.depth;
    m_dib.SetGreyRamp(levels);
  }

  m_bitsPerPixel = uint32_t{m_header.depth} * ChannelsOf(m_header.colourType);
  m_bytesPerPixel = m_bitsPerPixel < 8 ? 1 : m_bitsPerPixel / 8;
  const uint64_t widestRow = (uint64_t{m_header.width} * m_bitsPerPixel + 7) / 8;
  if (!m_rows.Allocate(2 * (kRowMargin + widestRow + 1)))
    return kFilterNoMemory;
  m_current = m_rows.Data() + kRowMargin;
  m_previous = m_current + widestRow + 1 + kRowMargin;
  if (m_header.interlace != 0) {
    m_passes = kAdam7;
    m_passCount = 7;
  }
  for (uint32_t pass = 0; pass < m_passCount; ++pass) {
    const Pass &p = m_passes[pass];
    if (m_header.width > p.x && m_header.height > p.y)
      m_rowsTotal += (m_header.height - p.y + p.dy - 1) / p.dy;
  }
  StartPass(0);
  return kFilterSuccess;
}

FilterResult PngDecoder::ReadPalette(uint32_t length) {
  // Anywhere after the header and before the image data, once.
  if (m_havePalette || m_haveData)
    return kFilterPngChunkOrder;
  if (length == 0 || length % 3 != 0 || length > 3 * kMaxColorTableEntries)
    return kFilterPngChunkLength;
  uint8_t bytes[3 * kMaxColorTableEntries + kCrcBytes];
  if (!m_file.ReadExactly(bytes, length + kCrcBytes))
    return kFilterReadError;
  m_havePalette = true;
  // True-colour pictures may carry a suggested palette: their DIB has no
  // table for it. A palette longer than the depth allows fills no more than
  // the DIB's table.
  if (m_header.colourType != kPalette)
    return kFilterSuccess;
  uint32_t entries = length / 3;
  if (entries > m_dib.ColourCount())
    entries = m_dib.ColourCount();
  RgbQuad *colours = m_dib.Colours();
  for (uint32_t i = 0; i < entries; ++i)
    colours[i] = RgbQuad{bytes[static_cast<size_t>(3) * i + 2], bytes[static_cast<size_t>(3) * i + 1],
                         bytes[static_cast<size_t>(3) * i], 0};
  m_paletteSize = entries;
  return kFilterSuccess;
}

FilterResult PngDecoder::ReadTransparency(uint32_t length) {
  if (m_haveTransparency || m_haveData)
    return kFilterPngChunkOrder;
  m_haveTransparency = true;
  switch (m_header.colourType) {
  case kGreyAlpha:
  case kRgba:
    return kFilterNotPng;
  case kPalette: {
    if (!m_havePalette)
      return kFilterPngChunkOrder;
    if (length > m_paletteSize)
      return kFilterPngChunkLength;
    uint8_t alpha[kMaxColorTableEntries + kCrcBytes];
    if (!m_file.ReadExactly(alpha, length + kCrcBytes))
      return kFilterReadError;
    for (uint32_t i = 0; i < length; ++i) {
      if (alpha[i] == 0) {
        m_transparent = static_cast<int16_t>(i);
        break;
      }
    }
    return kFilterSuccess;
  }
  default:
    // Grey and RGB key colours are not used; their data, whatever its
    // length, is skipped rather than read into a fixed buffer.
    return SkipChunk(length);
  }
}

FilterResult PngDecoder::ReadImageData(uint32_t length) {
  // The stream has ended: image data after other chunks that followed it is
  // not needed.
  if (m_haveData)
    return SkipChunk(length);
  if (m_header.colourType == kPalette && !m_havePalette)
    return kFilterPngChunkOrder;
  m_haveData = true;
  m_dataLeft = length;
  const InflateStatus status = m_inflater.Run(*this, *this);
  if (status == InflateStatus::Stopped)
    return m_rowResult;
  if (status == InflateStatus::NoMemory)
    return kFilterNoMemory;
  if (status == InflateStatus::Malformed)
    return kFilterReadError;
  // Done, or cut short: the rows the stream held are in the picture. The
  // rest of the image data, and of its chunk, is not needed.
  uint8_t scratch[kSkipPiece];
  while (!m_pendingChunk && Fill(scratch, sizeof(scratch)) != 0) {
  }
  return kFilterSuccess;
}

uint32_t PngDecoder::Fill(uint8_t *buffer, uint32_t capacity) {
  while (m_dataLeft == 0) {
    if (m_pendingChunk || m_fileEnded)
      return 0;
    uint8_t crc[kCrcBytes];
    uint32_t length = 0;
    uint32_t type = 0;
    if (!m_file.ReadExactly(crc, kCrcBytes) || !ReadChunkStart(length, type)) {
      m_fileEnded = true;
      return 0;
    }
    if (type != kIdat || length > kMaxChunkLength) {
      m_pendingChunk = true;
      m_pendingLength = length;
      m_pendingType = type;
      return 0;
    }
    m_dataLeft = length;
  }
  const uint32_t size = capacity < m_dataLeft ? capacity : m_dataLeft;
  // A chunk cut by the file's end still gives the bytes it has.
  const int32_t read = m_file.Read(buffer, size);
  if (read <= 0) {
    m_fileEnded = true;
    return 0;
  }
  m_dataLeft -= static_cast<uint32_t>(read);
  return static_cast<uint32_t>(read);
}

void PngDecoder::StartPass(uint32_t pass) {
  // Passes without pixels are skipped.
  for (m_pass = pass; m_pass < m_passCount; ++m_pass) {
    const Pass &p = m_passes[m_pass];
    if (m_header.width <= p.x || m_header.height <= p.y)
      continue;
    m_passWidth = (m_header.width - p.x + p.dx - 1) / p.dx;
    m_passHeight = (m_header.height - p.y + p.dy - 1) / p.dy;
    m_rowBytes = static_cast<uint32_t>((uint64_t{m_passWidth} * m_bitsPerPixel + 7) / 8);
    m_passRow = 0;
    m_filled = 0;
    std::memset(m_previous, 0, m_rowBytes + 1);
    return;
  }
  m_imageDone = true;
}

bool PngDecoder::Write(const uint8_t *data, uint32_t size) {
  while (size != 0 && !m_imageDone) {
    // m_current[0] is the filter byte, the row follows.
    const uint32_t want = m_rowBytes + 1 - m_filled;
    const uint32_t piece = size < want ? size : want;
    std::memcpy(m_current + m_filled, data, piece);
    m_filled += piece;
    data += piece;
    size -= piece;
    if (m_filled == m_rowBytes + 1 && !FinishRow())
      return false;
  }
  return true;
}

bool PngDecoder::FinishRow() {
  const uint8_t type = m_current[0];
  constexpr uint8_t kMaxFilter = 4;
  if (type > kMaxFilter) {
    m_rowResult = kFilterReadError;
    return false;
  }
  UnfilterPngRow(type, m_current + 1, m_previous + 1, m_rowBytes, m_bytesPerPixel, m_loops);
  PlaceRow(m_current + 1);
  std::swap(m_current, m_previous);
  m_filled = 0;
  ++m_rowsDone;
  if (ReportFilterSteps(m_context, m_rowsDone, m_rowsTotal)) {
    m_rowResult = kFilterCancelled;
    return false;
  }
  if (++m_passRow == m_passHeight)
    StartPass(m_pass + 1);
  return true;
}

// Converts a row of the current pass to the DIB's format at its pixels:
// 16-bit samples keep their high byte, alpha is dropped, RGB becomes blue,
// green, red and 2-bit samples become 4-bit pixels.
void PngDecoder::PlaceRow(const uint8_t *row) {
  const Pass &p = m_passes[m_pass];
  const uint32_t y = p.y + m_passRow * p.dy;
  uint8_t *target = m_dib.Row(y);
  const uint32_t depth = m_header.depth;
  const uint32_t sampleBytes = depth == 16 ? 2 : 1;
  const uint16_t dibBits = m_dib.Header()->biBitCount;
  if (dibBits == 24) {
    const uint32_t step = ChannelsOf(m_header.colourType) * sampleBytes;
    const uint8_t *pixel = row;
    for (uint32_t i = 0, x = p.x; i < m_passWidth; ++i, x += p.dx, pixel += step) {
      target[static_cast<size_t>(3) * x] = pixel[static_cast<size_t>(2) * sampleBytes];
      target[static_cast<size_t>(3) * x + 1] = pixel[sampleBytes];
      target[static_cast<size_t>(3) * x + 2] = pixel[0];
    }
    return;
  }
  if (depth >= 8) {
    const uint32_t step = ChannelsOf(m_header.colourType) * sampleBytes;
    if (step == 1 && p.dx == 1) {
      std::memcpy(target, row, m_passWidth);
      return;
    }
    for (uint32_t i = 0, x = p.x; i < m_passWidth; ++i, x += p.dx)
      target[x] = row[static_cast<size_t>(i) * step];
    return;
  }
  if (depth == dibBits && p.dx == 1) {
    std::memcpy(target, row, m_rowBytes);
    return;
  }
  const uint32_t mask = (1U << depth) - 1;
  for (uint32_t i = 0, x = p.x; i < m_passWidth; ++i, x += p.dx) {
    const uint32_t bit = i * depth;
    const uint32_t value = (row[bit / 8] >> (8 - depth - bit % 8)) & mask;
    if (dibBits == 1)
      target[x / 8] = static_cast<uint8_t>(target[x / 8] | value << (7 - x % 8));
    else
      target[x / 2] = static_cast<uint8_t>(target[x / 2] | value << (x % 2 == 0 ? 4 : 0));
  }
}

} // namespace

FilterResult ReadPngFile(FilterContext *context) {
  FilterFile file;
  FilterResult result = OpenFilterRequest(context, file);
  if (result != kFilterSuccess)
    return result;
  PngDecoder decoder(*context, file);
  result = decoder.Decode();
  if (result != kFilterSuccess || context->decode == 0)
    return result;
  FilterHandle picture = decoder.ReleasePicture();
  result = AttachFilterResult(context, picture, nullptr);
  if (result != kFilterSuccess) {
    ActiveFilterIo().Free(picture);
    return result;
  }
  context->value = decoder.TransparentIndex();
  ReportFilterProgress(*context, 100);
  return kFilterSuccess;
}

FilterResult ImportPngImage(FilterProgressCallback callback, uintptr_t userValue, const char *fileName,
                            FilterHandle *picture, FilterHandle *second, int16_t *value) {
  FilterExtras extras;
  extras.second = second;
  extras.value = value;
  return RunImportFilter(ReadPngFile, callback, userValue, fileName, picture, extras);
}
