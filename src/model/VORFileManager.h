#pragma once

#include <memory>

#include "foundation/XQString.h"
#include "model/VORFileDataObject.h"

class VORExternalResourceIdentifier;
class XQFile;

// Turns the file names a publication stores into paths: a full path as it
// is, a name relative to the publication's folder, or one relative to the
// root of the CD-ROM drive.
class VORFileManager : public VORFileDataObject {
public:
  VORFileManager() = default;
  VORFileManager(const VORFileManager &) = delete;
  VORFileManager &operator=(const VORFileManager &) = delete;
  ~VORFileManager() override;

  // False, and no path, for a location kind it does not know and for a name
  // relative to the CD-ROM root when there is no CD-ROM drive.
  virtual bool ResolvePath(const VORExternalResourceIdentifier &identifier, XQString &path) const;
  // The file the identifier names, not yet opened: a packed-picture file for
  // storage kind 2, a disk file otherwise; null when the path cannot be made.
  virtual std::unique_ptr<XQFile> OpenFile(const VORExternalResourceIdentifier &identifier) = 0;

  // Drive and directory, ending in a backslash.
  void SetPublicationFolder(const XQString &folder) { m_publicationFolder = folder; }
  const XQString &GetPublicationFolder() const { return m_publicationFolder; }
  // A drive letter and a colon ("D:"), or empty without a CD-ROM drive.
  void SetCDROMRoot(const XQString &root) { m_cdromRoot = root; }
  const XQString &GetCDROMRoot() const { return m_cdromRoot; }

private:
  XQString m_publicationFolder;
  XQString m_cdromRoot;
};
