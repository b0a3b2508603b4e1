#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "vorfile/VORFile.h"
#include "vorfile/VORObjectKey.h"

class XQFile;
class XQFileStream;
class XQFileFolderRead;

// The compiled publication file: a version word, a table of top-level
// entries and, inside each entry, a tree of folders (XQFileFolderRead).
//
//   offset 0   version word
//   offset 4   N, the number of entries
//   offset 8   N offsets, counted from the end of the table (kAbsentEntry:
//              no entry)
//   entry      length L of what follows, the key (as long as the reader's
//              key), the folder body
//
// All integers are little-endian. The file is only ever read.
class VORCompiledFile : public VORFile {
public:
  static constexpr uint32_t kHeaderSize = 8; // version word and entry count
  static constexpr uint32_t kEntryOffsetSize = 4;
  static constexpr uint32_t kEntryLengthSize = 4;
  static constexpr uint32_t kAbsentEntry = 0xFFFFFFFF;
  // Top-level keys: the entry's index, little-endian.
  static constexpr uint32_t kEntryKeySize = 4;
  // Folders open inside one another at most this deep: a publication's
  // entry, its chapters, pages, objects nested in frames, their events and
  // actions come to a few tens at most. Each level is one more recursion of
  // a reader, so a deeper file is taken as damaged before it can exhaust
  // the stack.
  static constexpr uint32_t kMaxFolderDepth = 64;

  // Takes the file; nothing is opened yet.
  explicit VORCompiledFile(std::unique_ptr<XQFile> file);
  ~VORCompiledFile() override;

  // Reads the header and the entry table. False when the file does not open,
  // and for every write mode: the container has no writer, and opening for
  // writing would only truncate the file. An unreadable table still opens
  // (every top-level folder is then not found).
  bool Open(bool createNew, bool write) override;
  // Closes every folder, then the file, which goes with it: a closed
  // compiled file does not open again.
  void Close() override;
  // Nothing is ever written.
  void Write(const void *buffer, uint32_t count) override;
  // From the innermost open folder's data; nothing without an open folder.
  void Read(void *buffer, uint32_t count, uint32_t &bytesRead) override;
  // With no folder open: the top-level entry whose index is the key's first
  // 4 bytes; its stored key must equal the key (so keyLength is at least 4).
  // Otherwise inside the innermost open folder (XQFileFolderRead::OpenFolder).
  // VORFileCorruptFileException past kMaxFolderDepth. `create` is ignored:
  // nothing is ever created.
  void OpenFolder(const void *key, uint32_t keyLength, bool create, bool inMemory, bool openData) override;
  void CloseFolder() override;
  // Key walks of the innermost open folder; false with no folder open.
  bool FirstKey(void *buffer, uint32_t keyLength) override;
  bool NextKey(void *buffer, uint32_t keyLength) override;
  bool IsBinary() override { return true; }
  uint32_t GetVersion() override { return m_version; }
  uint32_t GetDataSize(uint32_t &size) override;
  // VORFileCorruptFileException with no data open.
  bool SeekData(int32_t offset, int32_t origin) override;

  // An object reference as the key of the first, resp. next, keyed item of
  // the innermost folder; false when no further one comes. Length 8, or 4
  // where only the class half is stored (the id then stays as preset). For
  // a file that stores keys as text, twice the length in characters.
  static bool ReadObjectCode(VORFile &file, VORObjectKey &reference, uint32_t length);
  static bool ReadNextObjectCode(VORFile &file, VORObjectKey &reference, uint32_t length);
  bool ReadObjectCode(VORObjectKey &reference, uint32_t length) { return ReadObjectCode(*this, reference, length); }
  bool ReadNextObjectCode(VORObjectKey &reference, uint32_t length) {
    return ReadNextObjectCode(*this, reference, length);
  }

  // Referenced objects whose records were missing, counted by list readers.
  void CountSkippedObject() { ++m_skippedObjectCount; }
  uint32_t GetSkippedObjectCount() const { return m_skippedObjectCount; }

  bool IsOpen() const { return m_open; }
  // The entries of the table as read; 0 when the table was dropped.
  uint32_t GetEntryCount() const { return static_cast<uint32_t>(m_entryTable.size()); }

private:
  void CloseFile();
  void ReadEntryTable();
  bool ReadWord(uint32_t &word);
  void OpenEntry(const void *key, uint32_t keyLength, bool inMemory, bool openData);
  bool EntryFitsFile(uint64_t entryStart, uint32_t length) const;

  uint32_t m_skippedObjectCount = 0;
  // Declared before the folders so that it outlives their streams.
  std::unique_ptr<XQFile> m_file;
  std::unique_ptr<XQFileStream> m_mainStream;
  std::unique_ptr<XQFileFolderRead> m_topFolder;
  // The open folders from the top one in, each owned by the one before:
  // every operation goes straight to the innermost, whatever the depth.
  std::vector<XQFileFolderRead *> m_openFolders;
  bool m_open = false;
  uint32_t m_version = 0;
  std::vector<uint32_t> m_entryTable;
};
