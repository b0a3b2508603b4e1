#pragma once

#include "model/VORChapter.h"

// The chapter as the player reads it from the compiled file.
class VORPlayerChapter : public VORChapter {
public:
  using VORChapter::VORChapter;
  ~VORPlayerChapter() override;

  // Opens the chapter's folder (keyed by its whole reference), reads the
  // properties from the next anonymous folder, then the pages.
  void Read(VORFile &file) override;
};
