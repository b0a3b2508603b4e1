#pragma once

#include "model/VORFileManager.h"

// The player's file manager: disk files through the Win32 file calls, and
// the first CD-ROM drive of the machine as the CD-ROM root, looked for when
// a file on the disc is first asked for.
class VORPlayerFileManager : public VORFileManager {
public:
  // The first drive, A: onwards, that the system reports as a CD-ROM drive;
  // empty when there is none.
  static XQString FindCDROMRoot();

protected:
  std::unique_ptr<XQFile> CreateDiskFile(const char *path) override;
  XQString LocateCDROMRoot() const override { return FindCDROMRoot(); }
};
