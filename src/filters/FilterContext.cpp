#include "filters/FilterContext.h"

#include <cstring>
#include <new>

namespace {

constexpr int32_t kProgressScale = 100;

FilterImageRecord *LockRecords(FilterContext &context) {
  if (context.records == nullptr)
    return nullptr;
  return static_cast<FilterImageRecord *>(ActiveFilterIo().Lock(context.records));
}

void UnlockRecords(FilterContext &context) { ActiveFilterIo().Unlock(context.records); }

// 2 to the power bits without overflow: 64 bits wide, saturating past 63.
uint64_t ColourCountFor(uint32_t bits) { return bits >= 64 ? UINT64_MAX : uint64_t{1} << bits; }

} // namespace

FilterResult InitFilterContext(FilterContext &context, FilterProgressCallback callback, uintptr_t userValue,
                               const char *fileName) {
  context = FilterContext{};
  context.sizeWord = kFilterContextSize;
  context.progressCallback = callback;
  context.progress.userValue = userValue;
  context.decode = 1;
  context.moreImages = 1;
  if (fileName == nullptr)
    return kFilterBadArgument;
  const size_t length = strnlen(fileName, kFilterNameLength);
  if (length == 0 || length >= kFilterNameLength)
    return kFilterBadArgument;
  std::memcpy(context.fileName, fileName, length);
  context.fileName[length] = '\0';
  return kFilterSuccess;
}

FilterResult CheckFilterContext(const FilterContext *context) {
  if (context == nullptr || context->sizeWord != kFilterContextSize)
    return kFilterBadArgument;
  return kFilterSuccess;
}

FilterResult CheckFilterRequest(const FilterContext *context) {
  if (CheckFilterContext(context) != kFilterSuccess)
    return kFilterBadArgument;
  if (context->fileName[0] == '\0' || strnlen(context->fileName, kFilterNameLength) == kFilterNameLength)
    return kFilterBadArgument;
  return kFilterSuccess;
}

FilterResult OpenFilterRequest(FilterContext *context, FilterFile &file) {
  if (const FilterResult checked = CheckFilterRequest(context); checked != kFilterSuccess)
    return checked;
  if (ReportFilterProgress(*context, 0))
    return kFilterCancelled;
  if (!file.Open(context->fileName))
    return kFilterCannotOpen;
  const int32_t fileSize = file.Size();
  context->description.fileSize = fileSize > 0 ? static_cast<uint32_t>(fileSize) : 0;
  return kFilterSuccess;
}

bool ReportFilterProgress(FilterContext &context, int32_t done, int32_t total) {
  context.progress.done = done;
  context.progress.total = total;
  if (context.progressCallback == nullptr)
    return false;
  return context.progressCallback(&context.progress) != 0;
}

bool ReportFilterSteps(FilterContext &context, uint64_t step, uint64_t steps) {
  const uint64_t done = steps == 0 || step >= steps ? kProgressScale : step * kProgressScale / steps;
  return ReportFilterProgress(context, static_cast<int32_t>(done), kProgressScale);
}

FilterResult AllocFilterRecords(FilterContext *context, uint16_t count, uint16_t flag) {
  if (CheckFilterContext(context) != kFilterSuccess)
    return kFilterBadArgument;
  FilterHandle block = ActiveFilterIo().Allocate(uint64_t{count} * sizeof(FilterImageRecord));
  if (block == nullptr)
    return kFilterNoMemory;
  // Zero bytes are not null handles everywhere the standard is concerned:
  // give every record its defaults.
  auto *records = static_cast<FilterImageRecord *>(ActiveFilterIo().Lock(block));
  if (records == nullptr) {
    ActiveFilterIo().Free(block);
    return kFilterNoMemory;
  }
  for (uint16_t i = 0; i < count; ++i)
    new (&records[i]) FilterImageRecord{};
  ActiveFilterIo().Unlock(block);
  FreeFilterRecords(*context);
  context->records = block;
  context->recordCount = count;
  context->recordFlag = flag;
  return kFilterSuccess;
}

void FreeFilterRecords(FilterContext &context) {
  if (context.records != nullptr)
    ActiveFilterIo().Free(context.records);
  context.records = nullptr;
  context.recordCount = 0;
}

FilterResult StoreFilterImage(FilterContext *context, uint16_t index, bool fillDescription, FilterHandle picture,
                              FilterHandle mask) {
  if (CheckFilterContext(context) != kFilterSuccess || picture == nullptr || index >= context->recordCount)
    return kFilterBadArgument;
  FilterLock pictureLock(picture);
  const auto *header = static_cast<const BitmapInfoHeader *>(pictureLock.Data());
  if (header == nullptr)
    return kFilterBadArgument;
  FilterImageRecord *records = LockRecords(*context);
  if (records == nullptr)
    return kFilterBadArgument;
  FilterImageRecord &record = records[index];
  record = FilterImageRecord{};
  record.picture = picture;
  record.width = static_cast<uint32_t>(header->biWidth);
  record.height =
      static_cast<uint32_t>(header->biHeight < 0 ? -static_cast<int64_t>(header->biHeight) : header->biHeight);
  if (index == 0 && fillDescription) {
    FilterDescription &description = context->description;
    description.width = record.width;
    description.height = record.height;
    description.bitsPerPlane = header->biBitCount;
    description.planes = header->biPlanes;
    description.bitsPerPixel = static_cast<uint16_t>(header->biBitCount * header->biPlanes);
    description.colourCount = ColourCountFor(uint32_t{header->biBitCount} * header->biPlanes);
    description.imageBytes = header->biSizeImage;
    description.grey = ClassifyDib(header);
  }
  if (mask != nullptr) {
    FilterLock maskLock(mask);
    const auto *maskHeader = static_cast<const BitmapInfoHeader *>(maskLock.Data());
    record.mask = mask;
    if (maskHeader != nullptr) {
      record.maskWidth = static_cast<uint32_t>(maskHeader->biWidth);
      record.maskHeight = static_cast<uint32_t>(maskHeader->biHeight < 0 ? -static_cast<int64_t>(maskHeader->biHeight)
                                                                         : maskHeader->biHeight);
    }
  }
  UnlockRecords(*context);
  return kFilterSuccess;
}

FilterResult AttachFilterResult(FilterContext *context, FilterHandle picture, FilterHandle mask) {
  FilterResult result = AllocFilterRecords(context, 1, 0);
  if (result != kFilterSuccess)
    return result;
  result = StoreFilterImage(context, 0, true, picture, mask);
  if (result != kFilterSuccess)
    FreeFilterRecords(*context);
  return result;
}

bool ClassifyDib(const BitmapInfoHeader *header) {
  if (header == nullptr)
    return false;
  switch (header->biBitCount) {
  case 1:
  case 4:
  case 24:
    return false;
  case 8:
    break;
  default:
    return true;
  }
  const uint32_t entries = header->biClrUsed != 0 ? header->biClrUsed : kMaxColorTableEntries;
  if (entries > kMaxColorTableEntries)
    return false;
  const auto *colours = reinterpret_cast<const RgbQuad *>(reinterpret_cast<const uint8_t *>(header) + header->biSize);
  for (uint32_t i = 0; i < entries; ++i) {
    if (colours[i].red != i || colours[i].green != i || colours[i].blue != i)
      return false;
  }
  return true;
}

FilterResult RunImportFilter(FilterReader reader, FilterProgressCallback callback, uintptr_t userValue,
                             const char *fileName, FilterHandle *picture, const FilterExtras &extras) {
  if (picture == nullptr || reader == nullptr)
    return kFilterBadArgument;
  *picture = nullptr;
  if (extras.second != nullptr)
    *extras.second = nullptr;
  FilterContext context{};
  FilterResult result = InitFilterContext(context, callback, userValue, fileName);
  if (result != kFilterSuccess)
    return result;
  if (extras.value != nullptr)
    context.value = *extras.value;
  result = reader(&context);
  if (result != kFilterSuccess) {
    FreeFilterRecords(context);
    return result;
  }
  FilterImageRecord *records = LockRecords(context);
  if (records == nullptr || context.recordCount == 0) {
    if (records != nullptr)
      UnlockRecords(context);
    FreeFilterRecords(context);
    return kFilterBadArgument;
  }
  *picture = records[0].picture;
  if (extras.second != nullptr)
    *extras.second = extras.secondIsMask ? records[0].mask : records[0].second;
  // Pictures the caller did not ask for would have no owner.
  FilterIo &io = ActiveFilterIo();
  for (uint16_t i = 0; i < context.recordCount; ++i) {
    FilterImageRecord &record = records[i];
    if (i != 0 && record.picture != nullptr)
      io.Free(record.picture);
    if (record.second != nullptr && (i != 0 || extras.second == nullptr || extras.secondIsMask))
      io.Free(record.second);
    if (record.mask != nullptr && (i != 0 || extras.second == nullptr || !extras.secondIsMask))
      io.Free(record.mask);
  }
  UnlockRecords(context);
  FreeFilterRecords(context);
  if (extras.value != nullptr)
    *extras.value = context.value;
  return kFilterSuccess;
}
