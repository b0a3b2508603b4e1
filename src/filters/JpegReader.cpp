#include <cstdio>

#include "filters/FilterIo.h"
#include "filters/ImportFilters.h"
#include "filters/JpegDecoder.h"

namespace {

// The decoder's DIB in one movable block of the filters' I/O, locked while
// it is written.
class FilterBlockMemory : public JpegPictureMemory {
public:
  uint8_t *Allocate(uint64_t bytes) override {
    if (!m_block.Allocate(bytes))
      return nullptr;
    return m_block.Data();
  }
  void Free(uint8_t *) override { m_block.Reset(); }
  FilterHandle Release() { return m_block.Release(); }

private:
  FilterBlock m_block;
};

int32_t FileSizeOf(std::FILE *file) {
  const long position = std::ftell(file);
  if (position < 0 || std::fseek(file, 0, SEEK_END) != 0)
    return -1;
  const long size = std::ftell(file);
  std::fseek(file, position, SEEK_SET);
  return static_cast<int32_t>(size);
}

} // namespace

FilterResult ReadJpegFile(FilterContext *context) {
  if (const FilterResult checked = CheckFilterRequest(context); checked != kFilterSuccess)
    return checked;
  if (ReportFilterProgress(*context, 0))
    return kFilterCancelled;
  std::FILE *file = std::fopen(context->fileName, "rb");
  if (!file)
    return kFilterCannotOpen;
  JpegDecodeRequest request;
  request.decode = context->decode != 0;
  request.progress = [context](int32_t done) { return ReportFilterProgress(*context, done); };
  FilterBlockMemory memory;
  JpegDescription description;
  JpegPicture picture;
  const FilterResult result = JpegDecoder::Decode(file, request, memory, description, picture);
  const int32_t fileSize = FileSizeOf(file);
  std::fclose(file);
  if (result != kFilterSuccess)
    return result;
  FilterDescription &target = context->description;
  target.width = description.width;
  target.height = description.height;
  target.bitsPerPlane = description.bitsPerPlane;
  target.planes = description.planes;
  target.grey = description.grey;
  target.fileSize = fileSize < 0 ? 0 : static_cast<uint32_t>(fileSize);
  if (!request.decode)
    return kFilterSuccess;
  const FilterHandle dib = memory.Release();
  const FilterResult attached = AttachFilterResult(context, dib, nullptr);
  if (attached != kFilterSuccess)
    ActiveFilterIo().Free(dib);
  return attached;
}

FilterResult ImportJpegImage(FilterProgressCallback callback, uintptr_t userValue, const char *fileName,
                             FilterHandle *picture) {
  return RunImportFilter(ReadJpegFile, callback, userValue, fileName, picture);
}
