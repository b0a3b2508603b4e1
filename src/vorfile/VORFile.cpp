#include "vorfile/VORFile.h"

#include "vorfile/VORFileException.h"

VORFile::~VORFile() = default;

void VORFile::ReadExact(void *buffer, uint32_t count) {
  uint32_t bytesRead = 0;
  Read(buffer, count, bytesRead);
  if (bytesRead < count)
    throw VORFileIncompleteReadException();
}
