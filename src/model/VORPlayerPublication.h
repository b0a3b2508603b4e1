#pragma once

#include <memory>

#include "model/VORPublication.h"

// The publication as the player reads it from the root entry of the
// compiled file. Its reference is fixed: (0, 1, -1).
class VORPlayerPublication : public VORPublication {
public:
  static constexpr int32_t kRootId = -1;

  VORPlayerPublication();
  ~VORPlayerPublication() override;

  // Reads the publication that the root entry of the file holds: the first
  // keyed item of entry 0 names its class (by the class half of its key),
  // the class registry makes it, and it reads itself. Null when the file
  // holds none, when the root is of another class, or when the file is
  // damaged anywhere on the way (every file failure means the same to the
  // user: no publication to play). The entry is closed again in every case.
  static std::unique_ptr<VORPlayerPublication> LoadFromRoot(VORFile &file);

  // With the root entry open: opens the publication's folder and reads the
  // colour depth and palette, the search dictionary, the OLE-container
  // flag, the properties, the text resolution and the chapters.
  void Read(VORFile &file) override;

private:
  void ReadPalette(VORFile &file);
  void ReadSearchDictionary(VORFile &file);
  void ReadOleContainerFlag(VORFile &file);
};
