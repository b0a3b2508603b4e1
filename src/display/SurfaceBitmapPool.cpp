#include "display/SurfaceBitmapPool.h"

#include <cstring>
#include <deque>
#include <iterator>

#include "display/SurfaceFormat.h"

namespace {

enum class Kind : uint8_t { kDib, kCompatible, kMonochrome };

struct Kept {
  SurfaceBitmapPool::Bitmap bitmap;
  SurfaceBitmapPool::Format format;
};

// Oldest first.
std::deque<Kept> &KeptBitmaps() {
  static std::deque<Kept> kept;
  return kept;
}

uint64_t &KeptTotal() {
  static uint64_t total = 0;
  return total;
}

SurfaceBitmapPool::Format SizedFormat(Kind kind, int32_t width, int32_t height, int32_t depth) {
  SurfaceBitmapPool::Format format;
  const int32_t fields[] = {static_cast<int32_t>(kind), width, height, depth};
  format.key.resize(sizeof fields);
  std::memcpy(format.key.data(), fields, sizeof fields);
  format.bytes = SurfaceFormat::ByteSize(width, height, depth);
  return format;
}

void DeleteOldest() {
  Kept &oldest = KeptBitmaps().front();
  ::DeleteObject(oldest.bitmap.handle);
  KeptTotal() -= oldest.format.bytes;
  KeptBitmaps().pop_front();
}

} // namespace

namespace SurfaceBitmapPool {

Format Format::Dib(const BitmapInfoHeader &header, const RgbQuad *colours, uint32_t count) {
  const int64_t height = header.biHeight < 0 ? -int64_t{header.biHeight} : int64_t{header.biHeight};
  Format format;
  format.key.resize(1 + sizeof header + count * sizeof(RgbQuad));
  format.key[0] = static_cast<uint8_t>(Kind::kDib);
  std::memcpy(format.key.data() + 1, &header, sizeof header);
  if (count > 0) {
    std::memcpy(format.key.data() + 1 + sizeof header, colours, count * sizeof(RgbQuad));
  }
  format.bytes = SurfaceFormat::ByteSize(header.biWidth, height, header.biBitCount);
  return format;
}

Format Format::Compatible(int32_t width, int32_t height, int32_t depth) {
  return SizedFormat(Kind::kCompatible, width, height, depth);
}

Format Format::Monochrome(int32_t width, int32_t height) { return SizedFormat(Kind::kMonochrome, width, height, 1); }

Bitmap Take(const Format &format) {
  std::deque<Kept> &kept = KeptBitmaps();
  // The latest first: the one most likely still in the processor's caches.
  for (auto it = kept.rbegin(); it != kept.rend(); ++it) {
    if (it->format == format) {
      const Bitmap bitmap = it->bitmap;
      KeptTotal() -= it->format.bytes;
      kept.erase(std::next(it).base());
      return bitmap;
    }
  }
  return Bitmap{};
}

void Give(const Bitmap &bitmap, const Format &format) {
  if (bitmap.handle == nullptr) {
    return;
  }
  if (format.bytes > kKeptBytes) {
    ::DeleteObject(bitmap.handle);
    return;
  }
  KeptBitmaps().push_back(Kept{bitmap, format});
  KeptTotal() += format.bytes;
  while (KeptTotal() > kKeptBytes) {
    DeleteOldest();
  }
}

void Trim() {
  while (!KeptBitmaps().empty()) {
    DeleteOldest();
  }
}

uint64_t KeptBytes() { return KeptTotal(); }

size_t KeptCount() { return KeptBitmaps().size(); }

} // namespace SurfaceBitmapPool
