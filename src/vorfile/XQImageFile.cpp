#include "vorfile/XQImageFile.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "vorfile/LittleEndian.h"
#include "vorfile/VORFileException.h"

namespace {

XQImageFile::LoaderFactory g_loaderFactory = nullptr;

// The fields of the 40-byte DIB header that size the packed DIB.
struct DibHeaderFields {
  static constexpr uint32_t kSize = 40;
  static constexpr uint32_t kWidthOffset = 4;
  static constexpr uint32_t kHeightOffset = 8;
  static constexpr uint32_t kBitCountOffset = 14;
  static constexpr uint32_t kColoursUsedOffset = 32;

  int32_t width;
  int32_t height;
  uint16_t bitCount;
  uint32_t coloursUsed;
};

constexpr uint32_t kColourEntrySize = 4;
constexpr uint32_t kRowAlignment = 4;
constexpr uint16_t kMaxPaletteBitCount = 8;

DibHeaderFields ReadHeader(const uint8_t *dib) {
  return {static_cast<int32_t>(LittleEndianUint32(dib + DibHeaderFields::kWidthOffset)),
          static_cast<int32_t>(LittleEndianUint32(dib + DibHeaderFields::kHeightOffset)),
          LittleEndianUint16(dib + DibHeaderFields::kBitCountOffset),
          LittleEndianUint32(dib + DibHeaderFields::kColoursUsedOffset)};
}

uint64_t Magnitude(int32_t value) { return value < 0 ? -static_cast<int64_t>(value) : value; }

// a × b, or limit when that is more.
uint64_t ClampedProduct(uint64_t a, uint64_t b, uint64_t limit) {
  if (a != 0 && b > limit / a)
    return limit;
  return std::min(a * b, limit);
}

// Header, colour table and rows as the header describes them, but never more
// than the block holds: the header comes from a picture file. A top-down
// picture (negative height) has as many rows as its bottom-up twin.
uint32_t PackedDibLength(const DibHeaderFields &header, uint32_t blockSize) {
  const uint64_t rowBits = static_cast<uint64_t>(header.bitCount) * Magnitude(header.width);
  const uint64_t rowBytes = ((rowBits + 7) / 8 + kRowAlignment - 1) & ~static_cast<uint64_t>(kRowAlignment - 1);
  uint64_t colours = 0;
  if (header.bitCount <= kMaxPaletteBitCount)
    colours = header.coloursUsed != 0 ? header.coloursUsed : uint64_t{1} << header.bitCount;
  const uint64_t length = ClampedProduct(rowBytes, Magnitude(header.height), blockSize) + kColourEntrySize * colours +
                          DibHeaderFields::kSize;
  return static_cast<uint32_t>(std::min<uint64_t>(length, blockSize));
}

} // namespace

XQImageFile::LoaderFactory XQImageFile::GetLoaderFactory() { return g_loaderFactory; }

XQImageFile::LoaderFactory XQImageFile::SetLoaderFactory(LoaderFactory factory) {
  return std::exchange(g_loaderFactory, factory);
}

XQImageFile::~XQImageFile() = default;

bool XQImageFile::Open(uint32_t) {
  if (m_openCount > 0) {
    ++m_openCount;
    return true;
  }
  uint32_t statSize = 0;
  if (!StatName(m_name.CStr(), statSize, m_time))
    return false;
  std::unique_ptr<Loader> loader = g_loaderFactory ? g_loaderFactory() : nullptr;
  if (!loader || !loader->Load(m_name.CStr()) || !loader->GetImage())
    return false;
  // Without a whole header there is no picture to present.
  if (loader->GetImageBlockSize() < DibHeaderFields::kSize)
    return false;
  m_size = PackedDibLength(ReadHeader(loader->GetImage()), loader->GetImageBlockSize());
  m_loader = std::move(loader);
  m_position = 0;
  m_openCount = 1;
  return true;
}

void XQImageFile::Close() {
  if (m_openCount == 0)
    return;
  if (--m_openCount == 0)
    m_loader.reset();
}

bool XQImageFile::Read(void *buffer, uint32_t count, uint32_t &bytesRead) {
  if (m_openCount == 0)
    throw VORFileAssertException(kSourceName, kReadWhileClosedLine);
  bytesRead = 0;
  if (m_position >= m_size)
    return false;
  bytesRead = std::min(count, m_size - m_position);
  std::memcpy(buffer, m_loader->GetImage() + m_position, bytesRead);
  return true;
}

bool XQImageFile::Write(const void *, uint32_t, uint32_t &) { throw VORFileAssertException(kSourceName, kWriteLine); }

bool XQImageFile::Seek(int32_t offset, int32_t origin) {
  int64_t target;
  switch (origin) {
  case kSeekStart:
    target = offset;
    break;
  case kSeekCurrent:
    target = static_cast<int64_t>(m_position) + offset;
    break;
  case kSeekEnd:
    throw VORFileAssertException(kSourceName, kSeekFromEndLine);
  default:
    return false;
  }
  if (target < 0 || target >= m_size)
    return false;
  m_position = static_cast<uint32_t>(target);
  return true;
}

bool XQImageFile::GetSizeAndTime(uint32_t &size, int32_t &time) {
  if (KnownTime() == -1)
    return false;
  if (m_size == kUnknown) {
    if (!Open(kRead))
      return false;
    Close();
  }
  size = m_size;
  time = m_time;
  return true;
}

bool XQImageFile::Exists() {
  uint32_t size = 0;
  int32_t time = 0;
  return StatName(m_name.CStr(), size, time);
}

bool XQImageFile::IsSameFile(XQFile &other) {
  auto *otherImage = dynamic_cast<XQImageFile *>(&other);
  if (!otherImage || !m_name.Equals(otherImage->m_name) || !Exists())
    return false;
  const int32_t time = KnownTime();
  return time != -1 && time == otherImage->KnownTime();
}

int32_t XQImageFile::KnownTime() {
  uint32_t size = 0;
  int32_t time = 0;
  if (m_time == -1 && StatName(m_name.CStr(), size, time))
    m_time = time;
  return m_time;
}
