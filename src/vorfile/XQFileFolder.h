#pragma once

#include <cstdint>
#include <memory>

#include "vorfile/FolderItemHeader.h"
#include "vorfile/XQFileStream.h"
#include "vorfile/XQFolder.h"

// A folder whose body lies in a file: the folder's stream stays at the start
// of the body, and the scan stream moves through its items.
class XQFileFolder : public XQFolder {
public:
  // Takes the stream, positioned at the start of the folder body. Throws
  // VORFileErrorException when the scan stream cannot be made.
  explicit XQFileFolder(std::unique_ptr<XQFileStream> stream);
  ~XQFileFolder() override;

  // Finds the folder's first data item: the record it stands for.
  virtual void OpenData() = 0;

  // The container is never written: there is nothing to write into.
  void WriteData(const void *, uint32_t) override {}
  bool FirstKey(void *, uint32_t) override { return false; }
  bool NextKey(void *, uint32_t) override { return false; }

  // Reads of the container's streams: a failed clone, read or seek throws
  // VORFileErrorException.
  static std::unique_ptr<XQFileStream> CloneStream(XQFileStream &stream);
  // False when fewer than the header's bytes came.
  static bool ReadHeader(XQFileStream &stream, FolderItemHeader &header);
  // False when fewer than count bytes came.
  static bool ReadBytes(XQFileStream &stream, void *buffer, uint32_t count);
  static void Skip(XQFileStream &stream, uint32_t count);

protected:
  std::unique_ptr<XQFileStream> m_stream;
  std::unique_ptr<XQFileStream> m_scanStream;
};
