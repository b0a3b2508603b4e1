#include "vorfile/XQFileFolder.h"

#include <utility>

#include "vorfile/VORFileException.h"
#include "vorfile/XQFile.h"

XQFileFolder::XQFileFolder(std::unique_ptr<XQFileStream> stream)
    : m_stream(std::move(stream)), m_scanStream(CloneStream(*m_stream)) {}

XQFileFolder::~XQFileFolder() = default;

std::unique_ptr<XQFileStream> XQFileFolder::CloneStream(XQFileStream &stream) {
  std::unique_ptr<XQFileStream> clone;
  if (!stream.Clone(clone) || !clone)
    throw VORFileErrorException();
  return clone;
}

bool XQFileFolder::ReadHeader(XQFileStream &stream, FolderItemHeader &header) {
  uint8_t bytes[FolderItemHeader::kSize];
  if (!ReadBytes(stream, bytes, FolderItemHeader::kSize))
    return false;
  header = FolderItemHeader::FromBytes(bytes);
  return true;
}

bool XQFileFolder::ReadBytes(XQFileStream &stream, void *buffer, uint32_t count) {
  uint32_t got = 0;
  if (!stream.Read(buffer, count, got))
    throw VORFileErrorException();
  return got >= count;
}

void XQFileFolder::Skip(XQFileStream &stream, uint32_t count) {
  // Item lengths have 30 bits; a larger count is no skip over an item.
  if (count > FolderItemHeader::kMaxLength || !stream.Seek(static_cast<int32_t>(count), XQFile::kSeekCurrent))
    throw VORFileErrorException();
}
