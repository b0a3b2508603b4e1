#pragma once

#include <cstdint>
#include <vector>

#include "display/DibTypes.h"

class DibImage;

// The player's own tagged picture format, read from bytes in memory:
//
//   "VORI" rest-length | "HDR " H | frame count, timing, 40-byte DIB header,
//   colour table | "INDX" L | frame offsets | frames
//
// A frame ("FRAM" F, "FHDR" 8, part count, time in microseconds) holds
// parts that redraw rectangles of a picture kept from frame to frame:
// "BMP " parts carry raw rows, "BMPC" parts runs of blocks, each raw, one
// repeated value, or indices into a small palette of its own.
//
// Everything a file says is checked against the bytes there are and the
// picture it draws on: nothing is read or written outside them.
namespace InternalImageDecoder {

constexpr uint32_t kFileTag = 0x49524F56;        // "VORI"
constexpr uint32_t kHeaderTag = 0x20524448;      // "HDR "
constexpr uint32_t kIndexTag = 0x58444E49;       // "INDX"
constexpr uint32_t kFrameTag = 0x4D415246;       // "FRAM"
constexpr uint32_t kFrameHeaderTag = 0x52444846; // "FHDR"
constexpr uint32_t kRawPartTag = 0x20504D42;     // "BMP "
constexpr uint32_t kPackedPartTag = 0x43504D42;  // "BMPC"

constexpr uint32_t kChunkHeaderSize = 8;
// Where the header chunk's data starts, and its least length: frame count,
// timing and the DIB header.
constexpr uint32_t kHeaderDataOffset = 16;
constexpr uint32_t kMinimumHeaderLength = 48;
constexpr uint32_t kDibHeaderOffset = 24;
constexpr uint32_t kFrameHeaderLength = 8;
constexpr uint32_t kFramePartsOffset = 24;
// The part's rectangle: four 16-bit values.
constexpr uint32_t kPartRectSize = 8;
// The top bit of an index entry is the authoring side's; offsets are the rest.
constexpr uint32_t kIndexOffsetMask = 0x7FFFFFFF;
// No picture larger than the player's one limit is made, whatever a header
// claims.
constexpr uint64_t kMaximumPictureBytes = kMaxPictureBytes;
constexpr int32_t kNoFrameTime = -1;

struct Header {
  uint32_t frameCount = 0;
  uint32_t timing = 0;
  // The DIB header followed by its colour table, as DibImage::Create takes it.
  std::vector<uint8_t> info;
  // Where the index data lies, its length (a multiple of 4), and the base
  // that frame offsets count from; all from the file's start.
  uint32_t indexOffset = 0;
  uint32_t indexLength = 0;
  uint32_t frameBase = 0;

  const BitmapInfoHeader *GetInfo() const { return reinterpret_cast<const BitmapInfoHeader *>(info.data()); }
};

struct FrameInfo {
  uint32_t partCount = 0;
  int32_t time = kNoFrameTime;
};

// The header and where the index lies, from the file's first size bytes of
// a resource of resourceSize bytes. False for anything that is not a
// picture this player can make: a missing tag, a header chunk shorter than
// 48 bytes, a colour table past the bytes given, a compressed or unknown
// pixel format, an empty picture or one too large, an index that does not
// start within the bytes given or does not end within the resource.
bool ReadHeader(const uint8_t *bytes, uint32_t size, uint64_t resourceSize, Header &header);

// The frame offsets from the index data (header.indexLength bytes): one
// more entry than there are frames, top bits cleared, never decreasing, the
// last one ending inside the resource. False otherwise.
bool ReadIndex(const uint8_t *bytes, uint32_t size, const Header &header, uint64_t resourceSize,
               std::vector<uint32_t> &offsets);

// Draws one frame's parts over the picture. Malformed frames and parts are
// skipped (the picture keeps what it showed); the answer says whether the
// bytes were a frame at all. info: the frame's part count and time (a frame
// whose header is not 8 bytes long has neither).
bool DecodeFrame(const uint8_t *bytes, uint32_t size, DibImage &picture, FrameInfo &info);

} // namespace InternalImageDecoder
