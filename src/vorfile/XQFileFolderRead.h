#pragma once

#include <cstdint>
#include <memory>

#include "vorfile/XQFileFolder.h"

// A folder of the compiled file opened for reading. Its items are read
// forward only: sub-folders open in file order, and a key that lies before
// the previous match is not found again until the folder is reopened.
//
// Every operation except OpenData and CloseData acts on the innermost open
// sub-folder. Nothing is ever read beyond the folder's length, so a folder
// never takes a sibling's items for its own: an item that claims to run past
// its folder ends every scan and key walk there, and makes the folder's data
// corrupt when it stands before the data item.
class XQFileFolderRead : public XQFileFolder {
public:
  // The folder body of `length` bytes starting at the stream's position.
  XQFileFolderRead(std::unique_ptr<XQFileStream> stream, uint32_t length);
  ~XQFileFolderRead() override;

  // The first data item becomes the folder's data; without one the folder
  // has none (length 0). VORFileCorruptFileException when an item before it,
  // or the data item itself, runs past the folder.
  void OpenData() override;
  void CloseData() override;
  // VORFileIncompleteReadException when the folder has no data or its data
  // is empty; otherwise reads what is left of the data, up to count bytes.
  void ReadData(void *buffer, uint32_t count, uint32_t &bytesRead) override;
  // The key of the first, resp. next, keyed folder item; data items and
  // items without key are passed over. False at the folder's end and at an
  // item that runs past it or cannot hold the key.
  bool FirstKey(void *buffer, uint32_t keyLength) override;
  bool NextKey(void *buffer, uint32_t keyLength) override;
  // Scans on from the previous match for a folder item with the key (key
  // length 0: the next folder item, with or without key; an item without
  // key matches no other key). VORFileFolderNotFoundException when none
  // comes before the folder's end or before an item that runs past the
  // folder or is shorter than the key (the scan ends there for good).
  // `create` is ignored: the container is only read.
  void OpenFolder(const void *key, uint32_t keyLength, bool create, bool inMemory, bool openData) override;
  bool CloseFolder() override;
  uint32_t GetDataSize(uint32_t &size) override;
  // VORFileCorruptFileException without data. A target before the start or
  // beyond the data's end answers false and nothing moves; origins other
  // than 0, 1 and 2 answer true without moving.
  bool SeekData(int32_t offset, int32_t origin) override;

  uint32_t GetLength() const { return m_length; }
  bool HasSubFolder() const { return m_subFolder != nullptr; }
  XQFileFolderRead *GetSubFolder() const { return m_subFolder.get(); }

private:
  bool WalkToNextKey(void *buffer, uint32_t keyLength);
  std::unique_ptr<XQFileStream> TakeSubFolderStream(uint32_t length, bool inMemory);
  // Whether an item of `length` bytes after its header at `offset` ends
  // within the folder.
  bool FitsInFolder(uint32_t offset, uint32_t length) const;

  std::unique_ptr<XQFileFolderRead> m_subFolder;
  uint32_t m_length;
  uint32_t m_scanOffset = 0;
  uint32_t m_dataPosition = 0;
  uint32_t m_dataLength = 0;
  std::unique_ptr<XQFileStream> m_dataStream;
  std::unique_ptr<XQFileStream> m_keyWalkStream;
  uint32_t m_keyWalkOffset = 0;
};
