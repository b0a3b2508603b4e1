#include "vorfile/VORString.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "vorfile/VORFile.h"
#include "vorfile/VORFileException.h"

namespace {

constexpr uint32_t kLengthSize = 4;

// 0 when the record ends before the length.
uint32_t ReadLength(VORFile &file) {
  uint8_t bytes[kLengthSize];
  try {
    file.ReadExact(bytes, kLengthSize);
  } catch (const VORFileNonFatalException &) {
    return 0;
  }
  return static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
         static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

} // namespace

VORString::~VORString() = default;

void VORString::Read(VORFile &file) {
  Clear();
  const uint32_t length = ReadLength(file);
  if (length == 0)
    return;
  // The length comes from the file: the text is read in chunks so that memory
  // grows only with bytes that actually came.
  std::vector<char> text;
  while (text.size() < length) {
    const size_t done = text.size();
    const uint32_t chunk = std::min<uint32_t>(length - static_cast<uint32_t>(done), kReadChunkSize);
    text.resize(done + chunk);
    file.ReadExact(text.data() + done, chunk);
  }
  char *buffer = new char[text.size() + 1];
  std::memcpy(buffer, text.data(), text.size());
  buffer[text.size()] = '\0';
  Adopt(buffer, length);
}
