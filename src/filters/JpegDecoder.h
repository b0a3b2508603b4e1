#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>

#include "display/DibTypes.h"
#include "filters/FilterResult.h"

// JPEG pictures decoded through the IJG library (release 6 interface) into a
// packed DIB: 40-byte header, a 256-entry grey table for one-component
// pictures, rows bottom-up padded to 4 bytes.
//
// Besides plain JPEG/JFIF it reads pictures saved behind a 701-byte
// QuickTime-style picture description ("Photo - JPEG"), whose picture may be
// cut into horizontal strips, each a whole datastream of its own, decoded one
// after another into the one DIB.
//
// The library leaves by longjmp on errors: no C++ object with a destructor
// lives in the frames it jumps over, so its errors end in a result code with
// the file and the DIB released by the caller's own objects.

// Where the DIB's memory comes from: zero-filled global memory in the
// player, plain memory in tests and fuzzing.
class JpegPictureMemory {
public:
  virtual ~JpegPictureMemory() = default;
  // Zero-filled bytes, or null when there is no memory.
  virtual uint8_t *Allocate(uint64_t bytes) = 0;
  virtual void Free(uint8_t *block) = 0;
};

struct JpegDescription {
  uint32_t width = 0;
  uint32_t height = 0;
  uint16_t bitsPerPlane = 0;
  uint16_t planes = 0;
  bool grey = false;
};

struct JpegDecodeRequest {
  // False: read the description only.
  bool decode = true;
  // Called with 0 to 100; answers true to cancel.
  std::function<bool(int32_t done)> progress;
};

struct JpegPicture {
  uint8_t *dib = nullptr;
  uint64_t size = 0;
};

namespace JpegDecoder {

// The result codes of this reader.
constexpr FilterResult kSuccess = kFilterSuccess;
constexpr FilterResult kCancelled = kFilterCancelled;
constexpr FilterResult kOutOfMemory = kFilterNoMemory;
constexpr FilterResult kBadData = kFilterReadError;
constexpr FilterResult kLibraryError = kFilterJpegError;
constexpr FilterResult kTooManyPictures = kFilterTooManyJpegs;

constexpr long kPictureDescriptionSize = 701;
constexpr uint32_t kMaximumStrips = 1024;
// No DIB larger than the player's one limit on pictures is made.
constexpr uint64_t kMaximumPictureBytes = kMaxPictureBytes;

// Reads the 701-byte picture description at the file's position. True (and
// the file after it) when it names "Photo - JPEG"; else the file goes back.
bool ProbeQuickTimeJpegHeader(std::FILE *file, uint32_t &width, uint32_t &height);

// The position of the next FF D8 FF from the file's position (the file left
// there), or -1 at the end of the file.
long FindNextJpegStart(std::FILE *file);

// Decodes the open file from its position. On success with a decode the
// picture holds the DIB, which the caller then owns; on failure nothing is
// left allocated.
uint16_t Decode(std::FILE *file, const JpegDecodeRequest &request, JpegPictureMemory &memory,
                JpegDescription &description, JpegPicture &picture);

} // namespace JpegDecoder
