#include "filters/JpegDecoder.h"

#include <algorithm>
#include <csetjmp>
#include <cstring>
#include <vector>

#include <jpeglib.h>

#include "display/DibTypes.h"

namespace {

constexpr long kDescriptionHeightOffset = 544;
constexpr long kDescriptionWidthOffset = 546;
constexpr long kCompressorNameOffset = 689;
constexpr char kCompressorName[] = "Photo - JPEG";
constexpr size_t kCompressorNameLength = sizeof(kCompressorName) - 1;
// Bytes of a start-of-image marker and the marker that must follow it.
constexpr long kStartSequenceLength = 3;
constexpr uint32_t kGreyColours = 256;
constexpr int32_t kProgressSteps = 50;
constexpr int32_t kProgressTotal = 100;
constexpr int32_t kDotsPerInchToMetres = 39;
constexpr int32_t kDotsPerCentimetreToMetres = 100;
// The most rows the library hands out in one call (its output buffer height).
constexpr uint32_t kRowsAtOnce = 4;
constexpr uint64_t kBlockSide = 8;
constexpr uint64_t kBitsPerByte = 8;

struct JpegErrorManager {
  jpeg_error_mgr base;
  std::jmp_buf escape;
};

// The library's error exit: back to the setjmp of the call that entered it.
[[noreturn]] void ThrowJpegError(j_common_ptr info) {
  std::longjmp(reinterpret_cast<JpegErrorManager *>(info->err)->escape, 1);
}

// Warnings (a truncated file, for one) are the library's to recover from;
// nothing is written to the console.
void SwallowJpegMessage(j_common_ptr) {}

uint16_t ReadBigEndian16(const uint8_t *bytes) { return static_cast<uint16_t>(bytes[0] << 8 | bytes[1]); }

// Everything one decode shares with the setjmp function. Plain data only:
// longjmp skips no destructor.
struct Session {
  std::FILE *file;
  const JpegDecodeRequest *request;
  JpegDescription *description;
  bool hasPictureDescription;
  uint32_t describedHeight;
  jpeg_decompress_struct info;
  JpegErrorManager error;
  // The DIB, once made.
  uint8_t *dib;
  uint8_t *pixels;
  uint32_t width;
  uint32_t height;
  uint32_t stride;
  uint16_t bits;
  int components;
  uint32_t nextRow;
  bool cancelled;
};

uint64_t StrideOf(uint32_t width, uint16_t bits) { return ((static_cast<uint64_t>(width) * bits + 31) / 32) * 4; }

// Row y of the picture, counted from the top, in the bottom-up DIB.
uint8_t *RowOf(const Session &session, uint32_t y) {
  return session.pixels + static_cast<uint64_t>(session.height - 1 - y) * session.stride;
}

void ConvertRow(const Session &session, const JSAMPLE *source, uint8_t *target) {
  const uint32_t width = session.width;
  switch (session.components) {
  case 1:
    std::memcpy(target, source, width);
    break;
  case 3: // colour spaces the library does not convert to the DIB's order
    for (uint32_t x = 0; x < width; ++x, source += 3, target += 3) {
      target[0] = source[2];
      target[1] = source[1];
      target[2] = source[0];
    }
    break;
  case 4:
    // Adobe's inverted CMYK: each of red, green and blue is the inverted
    // C, M or Y value plus the inverted K value, less 255.
    for (uint32_t x = 0; x < width; ++x, source += 4, target += 3) {
      const int black = source[3];
      target[0] = static_cast<uint8_t>(std::max(0, source[2] + black - 255));
      target[1] = static_cast<uint8_t>(std::max(0, source[1] + black - 255));
      target[2] = static_cast<uint8_t>(std::max(0, source[0] + black - 255));
    }
    break;
  default:
    // Other layouts: the first component of each pixel, one byte a pixel,
    // so that the row never outgrows the DIB's.
    for (uint32_t x = 0; x < width; ++x, source += session.components)
      target[x] = source[0];
    break;
  }
}

bool ReportProgress(Session &session) {
  if (!session.request->progress)
    return false;
  const uint32_t every = std::max<uint32_t>(1, session.height / kProgressSteps);
  if (session.nextRow % every != 0 && session.nextRow != session.height)
    return false;
  const auto done = static_cast<int32_t>(static_cast<uint64_t>(session.nextRow) * kProgressTotal / session.height);
  return session.request->progress(done);
}

// Before the library makes its buffers for the first datastream: the
// picture its header claims must stay within the one limit on pictures,
// and the file must be long enough for it. Every 8 x 8 block takes at least
// a bit of the file (its DC code), so a shorter file is cut short of the
// picture and is refused before anything is allocated.
uint16_t CheckClaimedPicture(Session &session) {
  const jpeg_decompress_struct &info = session.info;
  const uint16_t bits = info.num_components == 3 || info.num_components == 4 ? 24 : 8;
  const uint32_t height = session.hasPictureDescription ? session.describedHeight : info.image_height;
  if (StrideOf(info.image_width, bits) * height > JpegDecoder::kMaximumPictureBytes)
    return JpegDecoder::kOutOfMemory;
  const long position = std::ftell(session.file);
  if (position < 0 || std::fseek(session.file, 0, SEEK_END) != 0)
    return JpegDecoder::kSuccess;
  const long size = std::ftell(session.file);
  std::fseek(session.file, position, SEEK_SET);
  const uint64_t blocks = (uint64_t{info.image_width} + kBlockSide - 1) / kBlockSide *
                          ((uint64_t{info.image_height} + kBlockSide - 1) / kBlockSide);
  if (size >= 0 && blocks > static_cast<uint64_t>(size) * kBitsPerByte)
    return JpegDecoder::kBadData;
  return JpegDecoder::kSuccess;
}

// The DIB for the first datastream's output: header, grey table, zeroed rows.
uint16_t MakeDib(Session &session, JpegPictureMemory &memory, JpegPicture &picture) {
  jpeg_decompress_struct &info = session.info;
  session.width = info.output_width;
  session.height = session.hasPictureDescription ? session.describedHeight : info.output_height;
  session.components = info.output_components;
  session.bits = info.output_components == 3 || info.output_components == 4 ? 24 : 8;
  if (session.width == 0 || session.height == 0)
    return JpegDecoder::kBadData;
  const uint64_t stride = StrideOf(session.width, session.bits);
  const uint32_t colours = session.bits == 8 ? kGreyColours : 0;
  const uint64_t headerBytes = kBitmapInfoHeaderSize + colours * sizeof(RgbQuad);
  const uint64_t imageBytes = stride * session.height;
  if (imageBytes > JpegDecoder::kMaximumPictureBytes - headerBytes)
    return JpegDecoder::kOutOfMemory;
  uint8_t *dib = memory.Allocate(headerBytes + imageBytes);
  if (!dib)
    return JpegDecoder::kOutOfMemory;
  BitmapInfoHeader header{};
  header.biSize = kBitmapInfoHeaderSize;
  header.biWidth = static_cast<int32_t>(session.width);
  header.biHeight = static_cast<int32_t>(session.height);
  header.biPlanes = 1;
  header.biBitCount = session.bits;
  header.biCompression = kCompressionRgb;
  header.biSizeImage = static_cast<uint32_t>(imageBytes);
  header.biClrUsed = colours;
  if (info.density_unit == 1 || info.density_unit == 2) {
    const int32_t factor = info.density_unit == 1 ? kDotsPerInchToMetres : kDotsPerCentimetreToMetres;
    header.biXPelsPerMeter = info.X_density * factor;
    header.biYPelsPerMeter = info.Y_density * factor;
  }
  std::memcpy(dib, &header, sizeof header);
  if (colours && info.jpeg_color_space == JCS_GRAYSCALE) {
    auto *table = reinterpret_cast<RgbQuad *>(dib + kBitmapInfoHeaderSize);
    for (uint32_t i = 0; i < colours; ++i)
      table[i] = RgbQuad{static_cast<uint8_t>(i), static_cast<uint8_t>(i), static_cast<uint8_t>(i), 0};
  }
  session.dib = dib;
  session.pixels = dib + headerBytes;
  session.stride = static_cast<uint32_t>(stride);
  picture.dib = dib;
  picture.size = headerBytes + imageBytes;
  return JpegDecoder::kSuccess;
}

// One datastream from the file's position: header, and with a decode its
// rows into the DIB from the next free row down. The only function the
// library jumps back into; it holds no object with a destructor.
uint16_t DecodeDatastream(Session &session, JpegPictureMemory &memory, JpegPicture &picture, bool first) {
  jpeg_decompress_struct &info = session.info;
  info.err = jpeg_std_error(&session.error.base);
  session.error.base.error_exit = ThrowJpegError;
  session.error.base.output_message = SwallowJpegMessage;
  if (setjmp(session.error.escape)) {
    jpeg_destroy_decompress(&info);
    return JpegDecoder::kLibraryError;
  }
  jpeg_create_decompress(&info);
  jpeg_stdio_src(&info, session.file);
  jpeg_read_header(&info, TRUE);
  if (first) {
    JpegDescription &description = *session.description;
    description.width = info.image_width;
    description.height = session.hasPictureDescription ? session.describedHeight : info.image_height;
    description.bitsPerPlane = 8;
    description.planes = static_cast<uint16_t>(info.num_components);
    description.grey = info.jpeg_color_space == JCS_GRAYSCALE;
  }
  if (!session.request->decode) {
    jpeg_destroy_decompress(&info);
    return JpegDecoder::kSuccess;
  }
  // Colour pictures come from the library in the DIB's blue, green, red
  // order, straight into its rows.
  if (info.out_color_space == JCS_RGB)
    info.out_color_space = JCS_EXT_BGR;
  if (first) {
    const uint16_t claimed = CheckClaimedPicture(session);
    if (claimed != JpegDecoder::kSuccess) {
      jpeg_destroy_decompress(&info);
      return claimed;
    }
  }
  jpeg_start_decompress(&info);
  uint16_t result = JpegDecoder::kSuccess;
  if (first)
    result = MakeDib(session, memory, picture);
  else if (info.output_width != session.width || info.output_components != session.components)
    result = JpegDecoder::kBadData; // a strip of another shape would write past the DIB's rows
  if (result != JpegDecoder::kSuccess) {
    jpeg_destroy_decompress(&info);
    return result;
  }
  const bool inPlace = info.output_components == 1 || info.out_color_space == JCS_EXT_BGR;
  const auto rowBytes = static_cast<JDIMENSION>(info.output_width * info.output_components);
  JSAMPARRAY row = (*info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&info), JPOOL_IMAGE, rowBytes, 1);
  while (info.output_scanline < info.output_height && session.nextRow < session.height) {
    // As many rows as the library gives at once, never past the DIB's last.
    JSAMPROW targets[kRowsAtOnce];
    const uint32_t wanted = std::min<uint32_t>(
        {kRowsAtOnce, session.height - session.nextRow, static_cast<uint32_t>(info.rec_outbuf_height)});
    for (uint32_t i = 0; i < wanted; ++i)
      targets[i] = inPlace ? RowOf(session, session.nextRow + i) : row[0];
    const JDIMENSION read = jpeg_read_scanlines(&info, targets, inPlace ? wanted : 1);
    for (JDIMENSION i = 0; i < read; ++i) {
      if (!inPlace)
        ConvertRow(session, row[0], RowOf(session, session.nextRow));
      ++session.nextRow;
      if (ReportProgress(session)) {
        session.cancelled = true;
        jpeg_destroy_decompress(&info);
        return JpegDecoder::kCancelled;
      }
    }
  }
  // A DIB full before the datastream ends is a whole picture: the rest of
  // the datastream is dropped rather than finished.
  if (info.output_scanline < info.output_height)
    jpeg_abort_decompress(&info);
  else
    jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return JpegDecoder::kSuccess;
}

} // namespace

namespace JpegDecoder {

bool ProbeQuickTimeJpegHeader(std::FILE *file, uint32_t &width, uint32_t &height) {
  const long start = std::ftell(file);
  uint8_t bytes[kPictureDescriptionSize];
  if (start >= 0 && std::fread(bytes, 1, sizeof bytes, file) == sizeof bytes &&
      std::memcmp(bytes + kCompressorNameOffset, kCompressorName, kCompressorNameLength) == 0) {
    height = ReadBigEndian16(bytes + kDescriptionHeightOffset);
    width = ReadBigEndian16(bytes + kDescriptionWidthOffset);
    return true;
  }
  std::clearerr(file);
  std::fseek(file, start, SEEK_SET);
  return false;
}

long FindNextJpegStart(std::FILE *file) {
  // How many bytes of FF D8 FF have been matched.
  int matched = 0;
  for (int c = std::getc(file); c != EOF; c = std::getc(file)) {
    if (c == 0xFF)
      matched = matched == 1 ? 1 : matched + 1; // FF FF keeps one FF matched
    else if (c == 0xD8 && matched == 1)
      matched = 2;
    else
      matched = 0;
    if (matched == 3) {
      const long position = std::ftell(file) - kStartSequenceLength;
      std::fseek(file, position, SEEK_SET);
      return position;
    }
  }
  return -1;
}

uint16_t Decode(std::FILE *file, const JpegDecodeRequest &request, JpegPictureMemory &memory,
                JpegDescription &description, JpegPicture &picture) {
  picture = JpegPicture{};
  uint32_t describedWidth = 0;
  uint32_t describedHeight = 0;
  const bool hasPictureDescription = ProbeQuickTimeJpegHeader(file, describedWidth, describedHeight);
  const long first = FindNextJpegStart(file);
  if (first < 0)
    return kLibraryError;
  std::vector<long> strips{first};
  if (hasPictureDescription) {
    for (;;) {
      std::fseek(file, strips.back() + kStartSequenceLength, SEEK_SET);
      const long next = FindNextJpegStart(file);
      if (next < 0)
        break;
      if (strips.size() == kMaximumStrips)
        return kTooManyPictures;
      strips.push_back(next);
    }
    std::clearerr(file);
  }
  std::fseek(file, first, SEEK_SET);

  // The session is large and plain: value-initialised (all zero) on the heap.
  std::vector<Session> sessionStore(1);
  Session &session = sessionStore[0];
  session.file = file;
  session.request = &request;
  session.description = &description;
  session.hasPictureDescription = hasPictureDescription;
  session.describedHeight = describedHeight;

  uint16_t result = DecodeDatastream(session, memory, picture, true);
  for (size_t strip = 1;
       result == kSuccess && request.decode && strip < strips.size() && session.nextRow < session.height; ++strip) {
    std::fseek(file, strips[strip], SEEK_SET);
    result = DecodeDatastream(session, memory, picture, false);
  }
  if (result == kSuccess && request.progress && request.progress(kProgressTotal))
    result = kCancelled;
  if (result != kSuccess && picture.dib) {
    memory.Free(picture.dib);
    picture = JpegPicture{};
  }
  return result;
}

} // namespace JpegDecoder
