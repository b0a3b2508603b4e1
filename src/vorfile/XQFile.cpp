#include "vorfile/XQFile.h"

XQFile::~XQFile() = default;

bool XQFile::IsSameFile(XQFile &other) {
  if (!m_name.Equals(other.m_name))
    return false;
  uint32_t size = 0, otherSize = 0;
  int32_t time = 0, otherTime = 0;
  return GetSizeAndTime(size, time) && other.GetSizeAndTime(otherSize, otherTime) && size == otherSize &&
         time == otherTime;
}
