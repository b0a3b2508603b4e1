#pragma once

#include "model/VORFileManager.h"

// The player's file manager: finds the CD-ROM drive when it is made and
// opens files from the disk.
class VORPlayerFileManager : public VORFileManager {
public:
  VORPlayerFileManager();
  ~VORPlayerFileManager() override;

  std::unique_ptr<XQFile> OpenFile(const VORExternalResourceIdentifier &identifier) override;

  // The first drive, A: to Z:, that the system reports as a CD-ROM drive
  // ("D:"), or empty.
  static XQString FindCDROMRoot();
};
