// The JPEG reader over one file in memory: the first byte says whether a
// picture description stands before the rest (and its height), so striped
// pictures are reached as often as plain ones.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "filters/JpegDecoder.h"

namespace {

class HeapMemory : public JpegPictureMemory {
public:
  uint8_t *Allocate(uint64_t bytes) override {
    return static_cast<uint8_t *>(std::calloc(1, static_cast<size_t>(bytes)));
  }
  void Free(uint8_t *block) override { std::free(block); }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size < 1)
    return 0;
  std::vector<uint8_t> file;
  if (data[0] & 1) {
    file.assign(JpegDecoder::kPictureDescriptionSize, 0);
    file[545] = data[0];
    file[547] = 64;
    std::memcpy(file.data() + 689, "Photo - JPEG", 12);
  }
  file.insert(file.end(), data + 1, data + size);
  std::FILE *stream = fmemopen(file.data(), file.size(), "rb");
  if (!stream)
    return 0;
  HeapMemory memory;
  JpegDecodeRequest request;
  request.decode = (data[0] & 2) == 0;
  JpegDescription description;
  JpegPicture picture;
  if (JpegDecoder::Decode(stream, request, memory, description, picture) == JpegDecoder::kSuccess && picture.dib)
    memory.Free(picture.dib);
  std::fclose(stream);
  return 0;
}
