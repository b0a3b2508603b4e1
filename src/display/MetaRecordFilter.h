#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "display/DibTypes.h"

// What the metafile record filters change while a metafile plays into the
// drawing context: in key-colour mode pens and brushes of exactly the key
// colour become hollow; in mask mode (playing into the coverage mask) every
// pen, brush and background colour becomes white.
struct MetaRecordFilterState {
  bool maskMode = false;
  bool keyMode = false;
  ColorRef keyColor = 0;
};

// Enhanced-metafile records (a 4-byte type and a 4-byte size, then the
// fields). recordSize is the size the record declares, which its player has
// checked against the file. Answers true when the record must be played from
// altered (a copy with fields changed); false when it plays unchanged, also
// when it is too short for the fields the filter would read.
bool AlterEnhMetaRecord(const uint8_t *record, size_t recordSize, const MetaRecordFilterState &state,
                        std::vector<uint8_t> &altered);

// Windows-metafile records (a 4-byte size in 16-bit words, a 2-byte function,
// then the parameters), the same way.
bool AlterMetaRecord(const uint8_t *record, size_t recordSize, const MetaRecordFilterState &state,
                     std::vector<uint8_t> &altered);

// Record codes and values the filters know.
constexpr uint32_t kEmrSetBkColor = 25;
constexpr uint32_t kEmrSelectObject = 37;
constexpr uint32_t kEmrCreatePen = 38;
constexpr uint32_t kEmrCreateBrushIndirect = 39;
constexpr uint16_t kMetaSetBkColor = 0x201;
constexpr uint16_t kMetaCreatePenIndirect = 0x2FA;
constexpr uint16_t kMetaCreateBrushIndirect = 0x2FC;
constexpr uint32_t kStockObjectFlag = 0x80000000;
constexpr uint32_t kStockWhiteBrush = 0;
constexpr uint32_t kStockBlackBrush = 4;
constexpr uint32_t kStockWhitePen = 6;
constexpr uint32_t kStockBlackPen = 7;
constexpr uint32_t kPenStyleNull = 5;   // PS_NULL
constexpr uint32_t kBrushStyleNull = 1; // BS_NULL
constexpr ColorRef kWhite = 0x00FFFFFF;
