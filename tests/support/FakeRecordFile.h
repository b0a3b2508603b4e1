#pragma once

#include <cstdint>
#include <vector>

#include "vorfile/VORFile.h"

// A VORFile that holds one open record, for tests of record readers: reads
// come from the record's bytes and stop at its end, as in the compiled file.
class FakeRecordFile : public VORFile {
public:
  explicit FakeRecordFile(std::vector<uint8_t> record, uint32_t version = 0);

  bool Open(bool, bool) override { return true; }
  void Close() override {}
  void Write(const void *, uint32_t) override {}
  void Read(void *buffer, uint32_t count, uint32_t &bytesRead) override;
  void OpenFolder(const void *, uint32_t, bool, bool, bool) override {}
  void CloseFolder() override {}
  bool FirstKey(void *, uint32_t) override { return false; }
  bool NextKey(void *, uint32_t) override { return false; }
  bool IsBinary() override { return true; }
  uint32_t GetVersion() override { return m_version; }
  uint32_t GetDataSize(uint32_t &size) override;
  bool SeekData(int32_t offset, int32_t origin) override;

  uint32_t GetPosition() const { return m_position; }
  // The most bytes any one read asked for.
  uint32_t GetLargestRequest() const { return m_largestRequest; }
  // Every further read throws VORFileErrorException, as when the disk fails.
  void SetReadsFail(bool fail) { m_readsFail = fail; }

private:
  std::vector<uint8_t> m_record;
  uint32_t m_version;
  uint32_t m_position = 0;
  uint32_t m_largestRequest = 0;
  bool m_readsFail = false;
};

// Builds a record's bytes field by field, little-endian.
class RecordBytes {
public:
  RecordBytes &Uint32(uint32_t value);
  RecordBytes &Text(const char *text);   // the bytes, no terminator
  RecordBytes &String(const char *text); // length, then the bytes
  std::vector<uint8_t> Take() { return std::move(m_bytes); }

private:
  std::vector<uint8_t> m_bytes;
};
