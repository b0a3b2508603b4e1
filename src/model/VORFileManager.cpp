#include "model/VORFileManager.h"

#include "model/VORExternalResourceIdentifier.h"

VORFileManager::~VORFileManager() = default;

bool VORFileManager::ResolvePath(const VORExternalResourceIdentifier &identifier, XQString &path) const {
  const VORString &name = identifier.GetFileName();
  switch (identifier.GetLocationKind()) {
  case VORExternalResourceIdentifier::kFullPath:
    path = name;
    return true;
  case VORExternalResourceIdentifier::kPublicationFolder:
    path = m_publicationFolder;
    path.Append(name);
    return true;
  case VORExternalResourceIdentifier::kCDROMRoot:
    // Without a drive the name would become a path from the current drive's
    // root, where the file is not.
    if (m_cdromRoot.IsEmpty())
      return false;
    path = m_cdromRoot;
    if (name.GetText() == nullptr || name.GetText()[0] != '\\')
      path.AppendText("\\");
    path.Append(name);
    return true;
  default:
    return false;
  }
}
