#include "model/VORFileManager.h"

#include "model/VORExternalResourceIdentifier.h"
#include "vorfile/XQFile.h"
#include "vorfile/XQImageFile.h"

namespace {
constexpr char kPathSeparator = '\\';
}

VORFileManager::VORFileManager() = default;

VORFileManager::~VORFileManager() = default;

void VORFileManager::SetCDROMRoot(const XQString &root) {
  m_cdromRoot = root;
  m_cdromRootKnown = true;
}

const XQString &VORFileManager::GetCDROMRoot() const {
  if (!m_cdromRootKnown) {
    m_cdromRoot = LocateCDROMRoot();
    m_cdromRootKnown = true;
  }
  return m_cdromRoot;
}

bool VORFileManager::ResolvePath(const VORExternalResourceIdentifier &identifier, XQString &path) const {
  const XQString &name = identifier.GetFileName();
  switch (identifier.GetLocationKind()) {
  case VORExternalResourceIdentifier::kFullPath:
    path = name;
    return true;
  case VORExternalResourceIdentifier::kPublicationFolder:
    path = m_publicationFolder;
    path.Append(name);
    return true;
  case VORExternalResourceIdentifier::kCDROMRoot:
    if (GetCDROMRoot().IsEmpty()) {
      path.Clear();
      return false;
    }
    path = m_cdromRoot;
    if (name.CStr()[0] != kPathSeparator)
      path.AppendText("\\");
    path.Append(name);
    return true;
  default:
    path.Clear();
    return false;
  }
}

std::unique_ptr<XQFile> VORFileManager::OpenFile(const VORExternalResourceIdentifier &identifier) {
  XQString path;
  if (!ResolvePath(identifier, path))
    return nullptr;
  if (identifier.GetStorage() == VORExternalResourceIdentifier::kStoragePicture)
    return std::make_unique<XQImageFile>(path.CStr());
  return CreateDiskFile(path.CStr());
}
