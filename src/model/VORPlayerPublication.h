#pragma once

#include "model/VORPublication.h"

// The publication as the player reads it from the root entry of the
// compiled file. Its reference is fixed: (0, 1, -1).
class VORPlayerPublication : public VORPublication {
public:
  static constexpr int32_t kRootId = -1;

  VORPlayerPublication();
  ~VORPlayerPublication() override;

  // With the root entry open: opens the publication's folder and reads the
  // colour depth and palette, the search dictionary, the OLE-container
  // flag, the properties, the text resolution and the chapters.
  void Read(VORFile &file) override;

private:
  void ReadPalette(VORFile &file);
  void ReadSearchDictionary(VORFile &file);
  void ReadOleContainerFlag(VORFile &file);
};
