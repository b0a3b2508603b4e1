#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "model/VORFileKind.h"
#include "model/VORInternalResourceIdentifier.h"
#include "model/VORResourceFile.h"

// A resource file over bytes in memory, with the ways a real one fails: it
// may not open, and may claim more bytes than it delivers.
class FakeResourceFile : public VORResourceFile {
public:
  explicit FakeResourceFile(std::vector<uint8_t> bytes, int32_t kind = VORFileKind::kOther);

  bool Open() override;
  void Close() override;
  bool Read(void *buffer, uint32_t count, uint32_t &bytesRead) override;
  bool Seek(int32_t offset, int32_t origin) override;
  // The size of the bytes, whatever a read delivers.
  bool GetSize(uint32_t &size) override;
  bool Exists() override { return true; }
  bool IsSame(VORResourceFile &other) override { return &other == this; }
  int32_t GetFileType() override { return m_kind; }
  const VORInternalResourceIdentifier *GetInternalIdentifier() const override {
    return m_internal ? &*m_internal : nullptr;
  }

  // Reads stop this many bytes before the end.
  void SetMissingTail(uint32_t bytes) { m_missingTail = bytes; }
  void SetOpenFails(bool fails) { m_openFails = fails; }
  void SetInternalIdentifier(const VORInternalResourceIdentifier &identifier) {
    m_internal = std::make_unique<VORInternalResourceIdentifier>(identifier);
  }

  bool IsOpen() const { return m_open; }
  int GetOpenCount() const { return m_opens; }

private:
  std::vector<uint8_t> m_bytes;
  int32_t m_kind;
  uint32_t m_position = 0;
  uint32_t m_missingTail = 0;
  bool m_open = false;
  bool m_openFails = false;
  int m_opens = 0;
  std::unique_ptr<VORInternalResourceIdentifier> m_internal;
};
