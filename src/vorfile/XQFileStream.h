#pragma once

#include <cstdint>
#include <memory>

class XQFile;

// A position in a file. Many streams can share one file: each seeks the file
// to its own position before every read or write. A stream never opens or
// closes its file.
class XQFileStream {
public:
  // The furthest position a stream can hold: the most a file's Seek can reach.
  static constexpr uint32_t kMaxPosition = 0x7FFFFFFF;

  explicit XQFileStream(XQFile &file) : m_file(&file) {}
  // Same file, same position.
  XQFileStream(const XQFileStream &other) = default;
  XQFileStream &operator=(const XQFileStream &) = delete;
  virtual ~XQFileStream();

  virtual bool Read(void *buffer, uint32_t count, uint32_t &bytesRead);
  virtual bool Write(const void *buffer, uint32_t count, uint32_t &bytesWritten);
  // Origin 0 sets, 1 adds; any other origin answers false. A target before
  // the start or past kMaxPosition answers false and keeps the position.
  virtual bool Seek(int32_t offset, int32_t origin);
  // A new stream on the same file at the same position.
  virtual bool Clone(std::unique_ptr<XQFileStream> &clone);

  uint32_t GetPosition() const { return m_position; }
  XQFile &GetFile() const { return *m_file; }

protected:
  // Moves the file to this stream's position.
  bool SeekFile();
  void Advance(uint32_t count);

  uint32_t m_position = 0;
  XQFile *m_file;
};
