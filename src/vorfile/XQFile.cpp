#include "vorfile/XQFile.h"

#include <sys/stat.h>

XQFile::~XQFile() = default;

bool XQFile::IsSameFile(XQFile &other) {
  if (!m_name.Equals(other.m_name))
    return false;
  uint32_t size = 0, otherSize = 0;
  int32_t time = 0, otherTime = 0;
  return GetSizeAndTime(size, time) && other.GetSizeAndTime(otherSize, otherTime) && size == otherSize &&
         time == otherTime;
}

bool XQFile::StatName(const char *name, uint32_t &size, int32_t &time) {
  struct stat info;
  if (stat(name, &info) != 0)
    return false;
  size = static_cast<uint32_t>(info.st_size);
  time = static_cast<int32_t>(info.st_mtime);
  return true;
}
