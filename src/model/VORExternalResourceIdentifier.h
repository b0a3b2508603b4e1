#pragma once

#include <cstdint>

#include "model/VORFileDataObject.h"
#include "vorfile/VORString.h"

// Names a file outside the compiled publication file: the name, where it is
// relative to, and how it is stored.
class VORExternalResourceIdentifier : public VORFileDataObject {
public:
  // Location kinds.
  static constexpr int32_t kFullPath = -1;
  static constexpr int32_t kPublicationFolder = 1;
  static constexpr int32_t kCDROMRoot = 2;
  // Storage kinds: 2 reads the file as a packed picture (XQImageFile).
  static constexpr int32_t kStorageDefault = 1;
  static constexpr int32_t kStoragePicture = 2;

  VORExternalResourceIdentifier() = default;
  VORExternalResourceIdentifier(int32_t locationKind, const char *fileName, int32_t storage = kStorageDefault);
  VORExternalResourceIdentifier(const VORExternalResourceIdentifier &other);
  VORExternalResourceIdentifier &operator=(const VORExternalResourceIdentifier &other);
  ~VORExternalResourceIdentifier() override;

  // Reads the next anonymous section of the open folder: a 16-bit location
  // kind and the name, then the storage byte, 0 when the record ends before
  // it. A record without kind or name passes VORFileIncompleteReadException on.
  void Read(VORFile &file) override;

  bool Equals(const VORExternalResourceIdentifier &other) const;
  bool operator==(const VORExternalResourceIdentifier &other) const { return Equals(other); }

  int32_t GetLocationKind() const { return m_locationKind; }
  const VORString &GetFileName() const { return m_fileName; }
  int32_t GetStorage() const { return m_storage; }

private:
  int32_t m_locationKind = kFullPath;
  VORString m_fileName;
  int32_t m_storage = kStorageDefault;
};
