#include "vorfile/VORCompiledFile.h"

#include <cstring>
#include <utility>

#include "vorfile/LittleEndian.h"
#include "vorfile/VORFileException.h"
#include "vorfile/XQFile.h"
#include "vorfile/XQFileFolderRead.h"
#include "vorfile/XQFileStream.h"
#include "vorfile/XQMemoryFileStream.h"

namespace {

// Both walks share the decoding: bytes, or the text form in a text file.
bool ReadReference(VORFile &file, VORObjectKey &reference, uint32_t length, bool first) {
  if (length > VORObjectKey::kSize)
    length = VORObjectKey::kSize;
  if (file.IsBinary()) {
    uint8_t bytes[VORObjectKey::kSize];
    if (!(first ? file.FirstKey(bytes, length) : file.NextKey(bytes, length)))
      return false;
    reference.FromBytes(bytes, length);
    return true;
  }
  char text[VORObjectKey::kTextSize];
  const uint32_t textLength = 2 * length;
  if (!(first ? file.FirstKey(text, textLength) : file.NextKey(text, textLength)))
    return false;
  reference.FromText(text, textLength);
  return true;
}

} // namespace

VORCompiledFile::VORCompiledFile(std::unique_ptr<XQFile> file) : m_file(std::move(file)) {}

VORCompiledFile::~VORCompiledFile() { CloseFile(); }

bool VORCompiledFile::Open(bool /*createNew*/, bool write) {
  if (write || !m_file)
    return false;
  if (m_open)
    return true;
  if (!m_file->Open(XQFile::kRead))
    return false;
  m_open = true;
  m_mainStream = std::make_unique<XQFileStream>(*m_file);
  // A file too short for its version word keeps what came of it.
  m_version = 0;
  ReadWord(m_version);
  ReadEntryTable();
  return true;
}

bool VORCompiledFile::ReadWord(uint32_t &word) {
  uint8_t bytes[sizeof(uint32_t)] = {};
  uint32_t got = 0;
  const bool ok = m_mainStream->Read(bytes, sizeof(bytes), got) && got == sizeof(bytes);
  word = LittleEndianUint32(bytes);
  return ok;
}

void VORCompiledFile::ReadEntryTable() {
  m_entryTable.clear();
  uint32_t count = 0;
  if (!ReadWord(count) || count == 0)
    return;
  // The count comes from the file: a table the file cannot hold is dropped
  // before anything is allocated for it.
  uint32_t fileSize = 0;
  int32_t time = 0;
  const uint64_t tableSize = static_cast<uint64_t>(count) * kEntryOffsetSize;
  if (!m_file->GetSizeAndTime(fileSize, time) || kHeaderSize + tableSize > fileSize)
    return;
  std::vector<uint8_t> bytes(static_cast<size_t>(tableSize));
  uint32_t got = 0;
  if (!m_mainStream->Read(bytes.data(), static_cast<uint32_t>(tableSize), got) || got < tableSize)
    return;
  m_entryTable.resize(count);
  for (uint32_t i = 0; i < count; ++i)
    m_entryTable[i] = LittleEndianUint32(&bytes[static_cast<size_t>(i) * kEntryOffsetSize]);
}

void VORCompiledFile::Close() { CloseFile(); }

void VORCompiledFile::CloseFile() {
  m_openFolders.clear();
  m_topFolder.reset();
  m_mainStream.reset();
  if (m_file && m_open)
    m_file->Close();
  m_file.reset();
  m_entryTable.clear();
  m_open = false;
}

void VORCompiledFile::Write(const void *, uint32_t) {}

void VORCompiledFile::Read(void *buffer, uint32_t count, uint32_t &bytesRead) {
  bytesRead = 0;
  if (!m_openFolders.empty())
    m_openFolders.back()->ReadData(buffer, count, bytesRead);
}

void VORCompiledFile::OpenFolder(const void *key, uint32_t keyLength, bool create, bool inMemory, bool openData) {
  if (m_openFolders.empty()) {
    OpenEntry(key, keyLength, inMemory, openData);
    m_openFolders.push_back(m_topFolder.get());
    return;
  }
  if (m_openFolders.size() >= kMaxFolderDepth)
    throw VORFileCorruptFileException();
  XQFileFolderRead &innermost = *m_openFolders.back();
  innermost.OpenFolder(key, keyLength, create, inMemory, openData);
  m_openFolders.push_back(innermost.GetSubFolder());
}

// A truncated file: the entry says it runs on past the file's end. Its
// folders would read as if their last items were merely missing.
bool VORCompiledFile::EntryFitsFile(uint64_t entryStart, uint32_t length) const {
  uint32_t fileSize = 0;
  int32_t time = 0;
  if (!m_file->GetSizeAndTime(fileSize, time))
    return true;
  return entryStart + kEntryLengthSize + length <= fileSize;
}

void VORCompiledFile::OpenEntry(const void *key, uint32_t keyLength, bool inMemory, bool openData) {
  // The index is the key's first 4 bytes: a shorter key names no entry.
  if (!m_open || !key || keyLength < kEntryKeySize)
    throw VORFileFolderNotFoundException();
  const uint32_t index = LittleEndianUint32(static_cast<const uint8_t *>(key));
  if (index >= m_entryTable.size() || m_entryTable[index] == kAbsentEntry)
    throw VORFileFolderNotFoundException();
  const uint64_t entryStart =
      kHeaderSize + static_cast<uint64_t>(m_entryTable.size()) * kEntryOffsetSize + m_entryTable[index];
  if (entryStart > XQFileStream::kMaxPosition)
    throw VORFileFolderNotFoundException();
  std::unique_ptr<XQFileStream> stream = XQFileFolder::CloneStream(*m_mainStream);
  if (!stream->Seek(static_cast<int32_t>(entryStart), XQFile::kSeekStart))
    throw VORFileErrorException();

  uint8_t lengthBytes[kEntryLengthSize];
  if (!XQFileFolder::ReadBytes(*stream, lengthBytes, kEntryLengthSize))
    throw VORFileFolderNotFoundException();
  uint32_t length = LittleEndianUint32(lengthBytes);
  if (length < keyLength || !EntryFitsFile(entryStart, length))
    throw VORFileCorruptFileException();
  std::vector<uint8_t> entryKey(keyLength);
  if (!XQFileFolder::ReadBytes(*stream, entryKey.data(), keyLength) ||
      std::memcmp(entryKey.data(), key, keyLength) != 0)
    throw VORFileFolderNotFoundException();
  length -= keyLength;

  if (inMemory)
    stream = std::make_unique<XQMemoryFileStream>(*stream, length);
  auto folder = std::make_unique<XQFileFolderRead>(std::move(stream), length);
  if (openData)
    folder->OpenData();
  m_topFolder = std::move(folder);
}

void VORCompiledFile::CloseFolder() {
  if (m_openFolders.empty())
    return;
  m_openFolders.pop_back();
  if (m_openFolders.empty())
    m_topFolder.reset();
  else
    m_openFolders.back()->CloseFolder();
}

bool VORCompiledFile::FirstKey(void *buffer, uint32_t keyLength) {
  return !m_openFolders.empty() && m_openFolders.back()->FirstKey(buffer, keyLength);
}

bool VORCompiledFile::NextKey(void *buffer, uint32_t keyLength) {
  return !m_openFolders.empty() && m_openFolders.back()->NextKey(buffer, keyLength);
}

uint32_t VORCompiledFile::GetDataSize(uint32_t &size) {
  size = 0;
  if (!m_openFolders.empty())
    m_openFolders.back()->GetDataSize(size);
  return size;
}

bool VORCompiledFile::SeekData(int32_t offset, int32_t origin) {
  if (m_openFolders.empty())
    throw VORFileCorruptFileException();
  return m_openFolders.back()->SeekData(offset, origin);
}

bool VORCompiledFile::ReadObjectCode(VORFile &file, VORObjectKey &reference, uint32_t length) {
  return ReadReference(file, reference, length, true);
}

bool VORCompiledFile::ReadNextObjectCode(VORFile &file, VORObjectKey &reference, uint32_t length) {
  return ReadReference(file, reference, length, false);
}
