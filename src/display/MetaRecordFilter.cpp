#include "display/MetaRecordFilter.h"

#include "vorfile/LittleEndian.h"

namespace {

// The records the filters alter, as the two formats lay them out. An altered
// copy holds exactly the record's fixed fields, with its size field set to
// match, so nothing past what was checked is ever read or copied.
enum class RecordFormat { kEnhanced, kWindows };

struct RecordShape {
  RecordFormat format;
  size_t size;         // bytes of the whole record
  size_t colourOffset; // COLORREF
  size_t styleOffset;  // pen or brush style; 0 when the record has none
};

// Enhanced records: type (4), size in bytes (4), then the fields.
constexpr size_t kEmrType = 0;
constexpr size_t kEmrSize = 4;
constexpr RecordShape kEmrBackground = {RecordFormat::kEnhanced, 12, 8, 0};
constexpr RecordShape kEmrPen = {RecordFormat::kEnhanced, 28, 24, 12};   // handle index, LOGPEN
constexpr RecordShape kEmrBrush = {RecordFormat::kEnhanced, 24, 16, 12}; // handle index, LOGBRUSH32
constexpr size_t kEmrSelectObjectSize = 12;
constexpr size_t kEmrSelectObjectHandle = 8;

// Windows records: size in 16-bit words (4), function (2), then the parameters.
constexpr size_t kMetaSize = 0;
constexpr size_t kMetaFunction = 4;
constexpr size_t kMetaHeaderSize = 6;
constexpr RecordShape kMetaBackground = {RecordFormat::kWindows, 10, 6, 0};
constexpr RecordShape kMetaPen = {RecordFormat::kWindows, 16, 12, 6};  // LOGPEN16
constexpr RecordShape kMetaBrush = {RecordFormat::kWindows, 14, 8, 6}; // LOGBRUSH16

constexpr uint32_t kColourMask = 0x00FFFFFF;

void Write32(std::vector<uint8_t> &record, size_t offset, uint32_t value) {
  for (size_t i = 0; i < 4; ++i) {
    record[offset + i] = static_cast<uint8_t>(value >> (8 * i));
  }
}

void Write16(std::vector<uint8_t> &record, size_t offset, uint16_t value) {
  record[offset] = static_cast<uint8_t>(value);
  record[offset + 1] = static_cast<uint8_t>(value >> 8);
}

void CopyFixedPart(const uint8_t *record, size_t size, RecordFormat format, std::vector<uint8_t> &altered) {
  altered.assign(record, record + size);
  if (format == RecordFormat::kEnhanced) {
    Write32(altered, kEmrSize, static_cast<uint32_t>(size));
  } else {
    Write32(altered, kMetaSize, static_cast<uint32_t>(size / 2));
  }
}

// A pen or brush: hollow when of the key colour, white in mask mode. A
// background colour (no style): white in mask mode.
bool AlterColouredRecord(const uint8_t *record, size_t recordSize, const RecordShape &shape, uint32_t nullStyle,
                         const MetaRecordFilterState &state, std::vector<uint8_t> &altered) {
  if (recordSize < shape.size) {
    return false;
  }
  const uint32_t colour = LittleEndianUint32(record + shape.colourOffset);
  const bool hollow =
      shape.styleOffset != 0 && state.keyMode && (colour & kColourMask) == (state.keyColor & kColourMask);
  if (!hollow && !state.maskMode) {
    return false;
  }
  CopyFixedPart(record, shape.size, shape.format, altered);
  if (hollow) {
    if (shape.format == RecordFormat::kEnhanced) {
      Write32(altered, shape.styleOffset, nullStyle);
    } else {
      Write16(altered, shape.styleOffset, static_cast<uint16_t>(nullStyle));
    }
  }
  if (state.maskMode) {
    Write32(altered, shape.colourOffset, kWhite);
  }
  return true;
}

// Stock brushes white to black become the white brush and the white and
// black pens the white pen; the null brush and pen stay.
bool AlterStockSelection(const uint8_t *record, size_t recordSize, const MetaRecordFilterState &state,
                         std::vector<uint8_t> &altered) {
  if (!state.maskMode || recordSize < kEmrSelectObjectSize) {
    return false;
  }
  const uint32_t handle = LittleEndianUint32(record + kEmrSelectObjectHandle);
  if ((handle & kStockObjectFlag) == 0) {
    return false;
  }
  const uint32_t stock = handle & ~kStockObjectFlag;
  uint32_t replacement = 0;
  if (stock <= kStockBlackBrush) {
    replacement = kStockWhiteBrush;
  } else if (stock == kStockWhitePen || stock == kStockBlackPen) {
    replacement = kStockWhitePen;
  } else {
    return false;
  }
  CopyFixedPart(record, kEmrSelectObjectSize, RecordFormat::kEnhanced, altered);
  Write32(altered, kEmrSelectObjectHandle, kStockObjectFlag | replacement);
  return true;
}

} // namespace

bool AlterEnhMetaRecord(const uint8_t *record, size_t recordSize, const MetaRecordFilterState &state,
                        std::vector<uint8_t> &altered) {
  if (record == nullptr || recordSize < kEmrSize + 4) {
    return false;
  }
  switch (LittleEndianUint32(record + kEmrType)) {
  case kEmrSetBkColor:
    return AlterColouredRecord(record, recordSize, kEmrBackground, 0, state, altered);
  case kEmrSelectObject:
    return AlterStockSelection(record, recordSize, state, altered);
  case kEmrCreatePen:
    return AlterColouredRecord(record, recordSize, kEmrPen, kPenStyleNull, state, altered);
  case kEmrCreateBrushIndirect:
    return AlterColouredRecord(record, recordSize, kEmrBrush, kBrushStyleNull, state, altered);
  default:
    return false;
  }
}

bool AlterMetaRecord(const uint8_t *record, size_t recordSize, const MetaRecordFilterState &state,
                     std::vector<uint8_t> &altered) {
  if (record == nullptr || recordSize < kMetaHeaderSize) {
    return false;
  }
  switch (LittleEndianUint16(record + kMetaFunction)) {
  case kMetaSetBkColor:
    return AlterColouredRecord(record, recordSize, kMetaBackground, 0, state, altered);
  case kMetaCreatePenIndirect:
    return AlterColouredRecord(record, recordSize, kMetaPen, kPenStyleNull, state, altered);
  case kMetaCreateBrushIndirect:
    return AlterColouredRecord(record, recordSize, kMetaBrush, kBrushStyleNull, state, altered);
  default:
    return false;
  }
}
