#include "display/VORFileByteReader.h"

#include "vorfile/VORFile.h"
#include "vorfile/VORFileException.h"

bool VORFileByteReader::ReadBytes(void *buffer, uint32_t count) {
  try {
    m_file.ReadExact(buffer, count);
    return true;
  } catch (const VORFileNonFatalException &) {
    return false;
  }
}
