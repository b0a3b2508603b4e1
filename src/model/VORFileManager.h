#pragma once

#include <memory>

#include "foundation/XQString.h"
#include "model/VORFileDataObject.h"

class VORExternalResourceIdentifier;
class XQFile;

// Turns the file names the publication stores into paths and files: a full
// path as it is, a name relative to the publication's folder, or one
// relative to the CD-ROM's root.
class VORFileManager : public VORFileDataObject {
public:
  VORFileManager();
  ~VORFileManager() override;

  // False, with no path, for a location kind it does not know, and for a
  // name relative to the CD-ROM on a machine without one: the root of the
  // current drive is not where the disc's files are, and the caller reports
  // the file missing (the user may insert the disc and look again).
  bool ResolvePath(const VORExternalResourceIdentifier &identifier, XQString &path) const;
  // A file on the resolved path, not yet opened: read as a packed picture
  // when the identifier's storage says so. Null when the path does not
  // resolve.
  std::unique_ptr<XQFile> OpenFile(const VORExternalResourceIdentifier &identifier);

  // Drive and directory, ending in a backslash (or empty).
  void SetPublicationFolder(const XQString &folder) { m_publicationFolder = folder; }
  const XQString &GetPublicationFolder() const { return m_publicationFolder; }
  // A drive letter and a colon, or empty. Until one is set, the first
  // name relative to the CD-ROM asks LocateCDROMRoot: looking at every
  // drive is slow enough to be worth sparing a start-up that needs no disc.
  void SetCDROMRoot(const XQString &root);
  const XQString &GetCDROMRoot() const;

protected:
  // The platform's own file on a path.
  virtual std::unique_ptr<XQFile> CreateDiskFile(const char *path) = 0;
  // The machine's CD-ROM root; none by default.
  virtual XQString LocateCDROMRoot() const { return XQString(); }

private:
  XQString m_publicationFolder;
  mutable XQString m_cdromRoot;
  mutable bool m_cdromRootKnown = false;
};
