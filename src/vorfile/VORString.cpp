#include "vorfile/VORString.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "vorfile/VORFile.h"
#include "vorfile/VORRecordFields.h"

VORString::~VORString() = default;

void VORString::Read(VORFile &file) {
  Clear();
  // A record that ends before the length holds the empty string.
  const uint32_t length = VORRecordFields::ReadOr<uint32_t>(file, 0);
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
