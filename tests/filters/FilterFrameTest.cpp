#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "filters/FilterDib.h"
#include "filters/ImportFilters.h"
#include "filters/MemoryFilterIo.h"

namespace {

// A reader that stores one 8-bit grey picture, or fails as told.
FilterResult g_readerAnswer = kFilterSuccess;
FilterResult GreyReader(FilterContext *context) {
  if (CheckFilterRequest(context) != kFilterSuccess)
    return kFilterBadArgument;
  if (g_readerAnswer != kFilterSuccess)
    return g_readerAnswer;
  FilterDib dib;
  const FilterResult created = dib.Create(3, 2, 8, 256);
  if (created != kFilterSuccess)
    return created;
  dib.SetGreyRamp(256);
  FilterHandle picture = dib.Release();
  const FilterResult stored = AttachFilterResult(context, picture, nullptr);
  if (stored != kFilterSuccess)
    ActiveFilterIo().Free(picture);
  context->value = 7;
  return stored;
}

TEST(FilterFrameTest, EntryHandsOutRecordZeroAndFreesTheRecords) {
  MemoryFilterIo io;
  g_readerAnswer = kFilterSuccess;
  FilterHandle picture = nullptr;
  int16_t value = -1;
  FilterExtras extras;
  extras.value = &value;
  ASSERT_EQ(kFilterSuccess, RunImportFilter(GreyReader, nullptr, 0, "x.pcx", &picture, extras));
  ASSERT_NE(nullptr, picture);
  EXPECT_EQ(7, value);
  EXPECT_EQ(1U, io.LiveBlocks()); // the picture only: the record block is gone
  const auto *header = reinterpret_cast<const BitmapInfoHeader *>(io.BlockBytes(picture).data());
  EXPECT_EQ(3, header->biWidth);
  EXPECT_EQ(2, header->biHeight);
  EXPECT_EQ(8, header->biBitCount);
  EXPECT_EQ(256U, header->biClrUsed);
  EXPECT_EQ(4U * 2, header->biSizeImage); // rows padded to 4 bytes
  io.Free(picture);
}

TEST(FilterFrameTest, FailuresLeaveNothingAndComeBackUnchanged) {
  MemoryFilterIo io;
  g_readerAnswer = kFilterReadError;
  FilterHandle picture = reinterpret_cast<FilterHandle>(1);
  EXPECT_EQ(kFilterReadError, RunImportFilter(GreyReader, nullptr, 0, "x.pcx", &picture));
  EXPECT_EQ(nullptr, picture);
  EXPECT_EQ(0U, io.LiveBlocks());
  g_readerAnswer = kFilterSuccess;
  io.SetAllocationCountLimit(1); // the picture, then no record block
  EXPECT_EQ(kFilterNoMemory, RunImportFilter(GreyReader, nullptr, 0, "x.pcx", &picture));
  EXPECT_EQ(0U, io.LiveBlocks());
}

TEST(FilterFrameTest, NamesAreRefusedWhenEmptyOrTooLong) {
  MemoryFilterIo io;
  g_readerAnswer = kFilterSuccess;
  FilterHandle picture = nullptr;
  EXPECT_EQ(kFilterBadArgument, RunImportFilter(GreyReader, nullptr, 0, "", &picture));
  EXPECT_EQ(kFilterBadArgument, RunImportFilter(GreyReader, nullptr, 0, nullptr, &picture));
  // A name the 512-character field cannot hold whole would open another file.
  const std::string longest(kFilterNameLength - 1, 'a');
  const std::string tooLong(kFilterNameLength, 'a');
  EXPECT_EQ(kFilterBadArgument, RunImportFilter(GreyReader, nullptr, 0, tooLong.c_str(), &picture));
  ASSERT_EQ(kFilterSuccess, RunImportFilter(GreyReader, nullptr, 0, longest.c_str(), &picture));
  io.Free(picture);
  EXPECT_EQ(0U, io.LiveBlocks());
}

TEST(FilterFrameTest, EveryRoutineRefusesAWrongSizeWord) {
  MemoryFilterIo io;
  FilterContext context{};
  ASSERT_EQ(kFilterSuccess, InitFilterContext(context, nullptr, 0, "x.pcx"));
  context.sizeWord = kFilterContextSize + 1;
  FilterDib dib;
  ASSERT_EQ(kFilterSuccess, dib.Create(1, 1, 1, 2));
  FilterHandle picture = dib.Release();
  EXPECT_EQ(kFilterBadArgument, CheckFilterRequest(&context));
  EXPECT_EQ(kFilterBadArgument, AllocFilterRecords(&context, 1, 0));
  EXPECT_EQ(kFilterBadArgument, StoreFilterImage(&context, 0, true, picture, nullptr));
  EXPECT_EQ(kFilterBadArgument, AttachFilterResult(&context, picture, nullptr));
  EXPECT_EQ(kFilterBadArgument, CheckFilterContext(nullptr));
  io.Free(picture);
  EXPECT_EQ(0U, io.LiveBlocks());
}

TEST(FilterFrameTest, StoreFillsTheDescriptionFromTheHeader) {
  MemoryFilterIo io;
  FilterContext context{};
  ASSERT_EQ(kFilterSuccess, InitFilterContext(context, nullptr, 0, "x"));
  FilterDib dib;
  ASSERT_EQ(kFilterSuccess, dib.Create(5, 9, 24, 0));
  FilterHandle picture = dib.Release();
  ASSERT_EQ(kFilterSuccess, AttachFilterResult(&context, picture, nullptr));
  EXPECT_EQ(5U, context.description.width);
  EXPECT_EQ(9U, context.description.height);
  EXPECT_EQ(24U, context.description.bitsPerPixel);
  EXPECT_EQ(uint64_t{1} << 24, context.description.colourCount);
  EXPECT_EQ(16U * 9, context.description.imageBytes);
  EXPECT_FALSE(context.description.grey);
  EXPECT_EQ(1U, context.recordCount);
  FreeFilterRecords(context);
  io.Free(picture);
}

TEST(FilterFrameTest, ClassifyDibTellsGreyTablesByDepth) {
  MemoryFilterIo io;
  struct Case {
    uint16_t bits;
    uint32_t colours;
    bool ramp;
    bool grey;
  };
  const Case cases[] = {
      {1, 2, true, false}, {4, 16, true, false}, {24, 0, false, false}, {8, 256, true, true}, {8, 16, false, false}};
  for (const Case &c : cases) {
    FilterDib dib;
    ASSERT_EQ(kFilterSuccess, dib.Create(2, 2, c.bits, c.colours));
    if (c.ramp)
      for (uint32_t i = 0; i < c.colours; ++i)
        dib.Colours()[i] = RgbQuad{static_cast<uint8_t>(i), static_cast<uint8_t>(i), static_cast<uint8_t>(i), 0};
    EXPECT_EQ(c.grey, ClassifyDib(dib.Header())) << c.bits << " bits, " << c.colours << " colours";
  }
  BitmapInfoHeader deep{};
  deep.biSize = kBitmapInfoHeaderSize;
  deep.biBitCount = 32;
  deep.biPlanes = 1;
  EXPECT_TRUE(ClassifyDib(&deep));
}

TEST(FilterFrameTest, DibSizesAreCheckedBeforeAllocation) {
  MemoryFilterIo io;
  FilterDib dib;
  EXPECT_EQ(kFilterNoMemory, dib.Create(0x7FFFFFFF, 0x7FFFFFFF, 24, 0));
  EXPECT_EQ(kFilterNoMemory, dib.Create(32767, 32767, 24, 0)); // 3 GB
  EXPECT_EQ(kFilterBadArgument, dib.Create(0, 5, 8, 0));
  EXPECT_EQ(kFilterBadArgument, dib.Create(5, 5, 2, 0));
  EXPECT_EQ(kFilterBadArgument, dib.Create(5, 5, 4, 17));
  EXPECT_EQ(0U, io.Allocations());
}

int32_t CancelAtOnce(FilterProgress *) { return 1; }

TEST(FilterFrameTest, ProgressScalesStepsAndPassesTheUserValue) {
  FilterContext context{};
  ASSERT_EQ(kFilterSuccess, InitFilterContext(context, CancelAtOnce, 42, "x"));
  EXPECT_TRUE(ReportFilterSteps(context, 1, 3));
  EXPECT_EQ(33, context.progress.done);
  EXPECT_EQ(100, context.progress.total);
  EXPECT_EQ(42U, context.progress.userValue);
  context.progressCallback = nullptr;
  EXPECT_FALSE(ReportFilterSteps(context, 3, 0));
  EXPECT_EQ(100, context.progress.done);
}

} // namespace
