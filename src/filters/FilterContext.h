#pragma once

#include <cstddef>
#include <cstdint>

#include "display/DibTypes.h"
#include "filters/FilterIo.h"
#include "filters/FilterResult.h"

// The record an import filter's entry point fills and hands to its reader,
// and the per-image records a reader leaves in movable memory.

constexpr uint32_t kFilterContextSize = 4157; // any other size word is refused
constexpr size_t kFilterNameLength = 512;     // with its terminating zero

// What the progress callback sees: the entry point's user value and how far
// the reader is.
struct FilterProgress {
  uintptr_t userValue = 0;
  int32_t done = 0;
  int32_t total = 0;
};

// Non-zero answer: cancel the read.
using FilterProgressCallback = int32_t (*)(FilterProgress *progress);

// What a reader found; written by the readers and StoreFilterImage.
struct FilterDescription {
  uint8_t kind = 0;        // format-specific (PCX: the version)
  uint8_t compression = 0; // format-specific (PCX: the encoding)
  uint32_t width = 0;
  uint32_t height = 0;
  uint16_t bitsPerPlane = 0;
  uint16_t bitsPerPixel = 0;
  uint16_t planes = 0;
  uint64_t colourCount = 0; // 2 to the bits; 64 bits wide, so 32-bit pictures count right
  uint64_t imageBytes = 0;
  uint32_t fileSize = 0;
  bool grey = false;
};

struct FilterContext {
  uint32_t sizeWord = 0;
  FilterProgressCallback progressCallback = nullptr;
  FilterProgress progress;
  uint8_t decode = 0; // 1: decode the picture; 0: read the description only
  char fileName[kFilterNameLength] = {};
  uint8_t moreImages = 0;  // a reader may give second pictures, if also asked for masks
  uint8_t maskRequest = 0; // never set by the player
  FilterDescription description;
  uint16_t recordCount = 0;
  uint16_t recordFlag = 0;
  FilterHandle records = nullptr; // FilterImageRecord[recordCount]
  int16_t value = 0;              // PNG: the transparent palette index (-1 none)
};

// Shown as the values a stored picture gets.
struct FilterDisplayValues {
  int32_t scale = 1;
  int32_t offset = 0;
  int32_t maximum = 255;
  int32_t minimum = 0;
};

struct FilterImageRecord {
  FilterHandle picture = nullptr; // a packed DIB
  FilterHandle second = nullptr;  // PNG only: the alpha as a grey picture
  int32_t x = 0;
  int32_t y = 0;
  uint32_t width = 0;
  uint32_t height = 0;
  FilterDisplayValues display;
  FilterHandle mask = nullptr; // the optional second picture
  int32_t maskX = 0;
  int32_t maskY = 0;
  uint32_t maskWidth = 0;
  uint32_t maskHeight = 0;
};

// The context as an entry point prepares it: zero-filled, the size word, the
// callback and user value, decode 1 and more-images 1, the name copied.
// Names of kFilterNameLength characters or more are refused with 101 rather
// than cut (a cut name would open another file).
FilterResult InitFilterContext(FilterContext &context, FilterProgressCallback callback, uintptr_t userValue,
                               const char *fileName);

// 101 for a missing context or a wrong size word.
FilterResult CheckFilterContext(const FilterContext *context);
// CheckFilterContext, then 101 for an empty name.
FilterResult CheckFilterRequest(const FilterContext *context);

// How every file-reading filter begins: the request checked, 0 done
// reported (a cancel there answers 102), the file opened and its size put in
// `description`.
FilterResult OpenFilterRequest(FilterContext *context, FilterFile &file);

// Reports done out of total; true when the callback asks to cancel.
bool ReportFilterProgress(FilterContext &context, int32_t done, int32_t total = 100);
// Reports step of steps scaled to 0..100; true when the callback asks to cancel.
bool ReportFilterSteps(FilterContext &context, uint64_t step, uint64_t steps);

// A zero-filled block of count records; records the count and the flag.
FilterResult AllocFilterRecords(FilterContext *context, uint16_t count, uint16_t flag);
// Frees the record block (not the pictures it names).
void FreeFilterRecords(FilterContext &context);
// Record index filled with the picture (a packed DIB) and its size; for
// index 0 with fillDescription the description is filled from its header.
FilterResult StoreFilterImage(FilterContext *context, uint16_t index, bool fillDescription, FilterHandle picture,
                              FilterHandle mask);
// One record holding the picture as image 0; on failure no record is left.
FilterResult AttachFilterResult(FilterContext *context, FilterHandle picture, FilterHandle mask);

// True for 8-bit pictures whose colour table is the grey ramp (i, i, i), and
// for the depths above 8; false for 1, 4 and 24 bits and other 8-bit tables.
bool ClassifyDib(const BitmapInfoHeader *header);

// The outputs of an entry point beside the picture.
struct FilterExtras {
  FilterHandle *second = nullptr; // record 0's second handle (PNG) or mask (TGA)
  bool secondIsMask = false;
  int16_t *value = nullptr; // in/out: the context's 16-bit value (PNG)
};

using FilterReader = FilterResult (*)(FilterContext *context);

// The common body of the entry points: prepares the context, runs the
// reader and hands out record 0's picture (and the extras); the records are
// freed, the pictures then belong to the caller. Non-zero codes come back
// unchanged with no picture.
FilterResult RunImportFilter(FilterReader reader, FilterProgressCallback callback, uintptr_t userValue,
                             const char *fileName, FilterHandle *picture, const FilterExtras &extras = {});
