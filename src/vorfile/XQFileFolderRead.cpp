#include "vorfile/XQFileFolderRead.h"

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

#include "vorfile/VORFileException.h"
#include "vorfile/XQFile.h"
#include "vorfile/XQMemoryFileStream.h"

XQFileFolderRead::XQFileFolderRead(std::unique_ptr<XQFileStream> stream, uint32_t length)
    : XQFileFolder(std::move(stream)), m_length(length) {}

XQFileFolderRead::~XQFileFolderRead() = default;

bool XQFileFolderRead::FitsInFolder(uint32_t offset, uint32_t length) const {
  return static_cast<uint64_t>(offset) + FolderItemHeader::kSize + length <= m_length;
}

void XQFileFolderRead::OpenData() {
  CloseData();
  std::unique_ptr<XQFileStream> stream = CloneStream(*m_stream);
  uint32_t offset = 0;
  FolderItemHeader header{};
  while (FitsInFolder(offset, 0) && ReadHeader(*stream, header)) {
    // The data item is held to its folder too: a record must not read on
    // into its siblings.
    if (!FitsInFolder(offset, header.GetLength()))
      throw VORFileCorruptFileException();
    if (header.IsData()) {
      m_dataStream = std::move(stream);
      m_dataLength = header.GetLength();
      return;
    }
    Skip(*stream, header.GetLength());
    offset += FolderItemHeader::kSize + header.GetLength();
  }
}

void XQFileFolderRead::CloseData() {
  m_dataStream.reset();
  m_dataLength = 0;
  m_dataPosition = 0;
}

void XQFileFolderRead::ReadData(void *buffer, uint32_t count, uint32_t &bytesRead) {
  if (m_subFolder) {
    m_subFolder->ReadData(buffer, count, bytesRead);
    return;
  }
  bytesRead = 0;
  if (m_dataLength == 0)
    throw VORFileIncompleteReadException();
  count = std::min(count, m_dataLength - m_dataPosition);
  if (count == 0)
    return;
  uint32_t got = 0;
  if (!m_dataStream->Read(buffer, count, got))
    throw VORFileErrorException();
  bytesRead = std::min(got, count);
  m_dataPosition += bytesRead;
}

bool XQFileFolderRead::FirstKey(void *buffer, uint32_t keyLength) {
  if (m_subFolder)
    return m_subFolder->FirstKey(buffer, keyLength);
  m_keyWalkStream.reset();
  m_keyWalkStream = CloneStream(*m_stream);
  m_keyWalkOffset = 0;
  return WalkToNextKey(buffer, keyLength);
}

bool XQFileFolderRead::NextKey(void *buffer, uint32_t keyLength) {
  if (m_subFolder)
    return m_subFolder->NextKey(buffer, keyLength);
  return m_keyWalkStream && WalkToNextKey(buffer, keyLength);
}

bool XQFileFolderRead::WalkToNextKey(void *buffer, uint32_t keyLength) {
  FolderItemHeader header{};
  while (FitsInFolder(m_keyWalkOffset, 0) && ReadHeader(*m_keyWalkStream, header)) {
    const uint32_t length = header.GetLength();
    if (!FitsInFolder(m_keyWalkOffset, length))
      break;
    m_keyWalkOffset += FolderItemHeader::kSize + length;
    if (!header.IsKeyedFolder()) {
      Skip(*m_keyWalkStream, length);
      continue;
    }
    if (length < keyLength || !ReadBytes(*m_keyWalkStream, buffer, keyLength))
      break;
    Skip(*m_keyWalkStream, length - keyLength);
    return true;
  }
  // The walk is over: what follows a malformed item is not read as items.
  m_keyWalkStream.reset();
  return false;
}

void XQFileFolderRead::OpenFolder(const void *key, uint32_t keyLength, bool create, bool inMemory, bool openData) {
  if (m_subFolder) {
    m_subFolder->OpenFolder(key, keyLength, create, inMemory, openData);
    return;
  }
  std::vector<uint8_t> itemKey(keyLength);
  FolderItemHeader header{};
  while (FitsInFolder(m_scanOffset, 0)) {
    if (!ReadHeader(*m_scanStream, header))
      break;
    const uint32_t length = header.GetLength();
    const bool comparesKey = header.IsKeyedFolder() && keyLength > 0;
    // An item that runs past its folder, or cannot hold the key, ends the
    // scan: what follows it is not read as items, and the folder asked for
    // counts as missing.
    if (!FitsInFolder(m_scanOffset, length) || (comparesKey && length < keyLength))
      break;
    bool matched = !header.IsData() && keyLength == 0;
    uint32_t keyRead = 0;
    if (comparesKey) {
      if (!ReadBytes(*m_scanStream, itemKey.data(), keyLength))
        break;
      keyRead = keyLength;
      matched = std::memcmp(itemKey.data(), key, keyLength) == 0;
    }
    const uint32_t bodyLength = length - keyRead;
    std::unique_ptr<XQFileStream> subStream;
    if (matched)
      subStream = TakeSubFolderStream(bodyLength, inMemory);
    Skip(*m_scanStream, bodyLength);
    m_scanOffset += FolderItemHeader::kSize + length;
    if (matched) {
      auto subFolder = std::make_unique<XQFileFolderRead>(std::move(subStream), bodyLength);
      if (openData)
        subFolder->OpenData();
      m_subFolder = std::move(subFolder);
      return;
    }
  }
  // The folder is used up, the file ended inside it, or an item broke it
  // off: nothing further can match.
  m_scanOffset = m_length;
  throw VORFileFolderNotFoundException();
}

std::unique_ptr<XQFileStream> XQFileFolderRead::TakeSubFolderStream(uint32_t length, bool inMemory) {
  // Inside a folder already read through a window the window serves the
  // sub-folder too.
  if (inMemory && !dynamic_cast<XQMemoryFileStream *>(m_stream.get()))
    return std::make_unique<XQMemoryFileStream>(*m_scanStream, length);
  return CloneStream(*m_scanStream);
}

bool XQFileFolderRead::CloseFolder() {
  if (!m_subFolder)
    return false;
  if (!m_subFolder->CloseFolder())
    m_subFolder.reset();
  return true;
}

uint32_t XQFileFolderRead::GetDataSize(uint32_t &size) {
  if (m_subFolder)
    return m_subFolder->GetDataSize(size);
  size = m_dataLength;
  return size;
}

bool XQFileFolderRead::SeekData(int32_t offset, int32_t origin) {
  if (m_subFolder)
    return m_subFolder->SeekData(offset, origin);
  if (m_dataLength == 0)
    throw VORFileCorruptFileException();
  int64_t target;
  switch (origin) {
  case XQFile::kSeekStart:
    target = offset;
    break;
  case XQFile::kSeekCurrent:
    target = static_cast<int64_t>(m_dataPosition) + offset;
    break;
  case XQFile::kSeekEnd:
    target = static_cast<int64_t>(m_dataLength) + offset;
    break;
  default:
    return true;
  }
  if (target < 0 || target > m_dataLength)
    return false;
  const int64_t move = target - m_dataPosition;
  if (!m_dataStream->Seek(static_cast<int32_t>(move), XQFile::kSeekCurrent))
    throw VORFileErrorException();
  m_dataPosition = static_cast<uint32_t>(target);
  return true;
}
