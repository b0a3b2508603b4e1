#include "images/ImageFactory.h"

#include "images/VORDIBResourceImage.h"
#include "images/VORInternalImage.h"
#include "images/VORMetaFileImage.h"
#include "model/VORApp.h"
#include "model/VORFileKind.h"
#include "model/VORResourceManager.h"

namespace {

std::unique_ptr<VORGfxImage> LockedOnce(std::unique_ptr<VORGfxImage> image) {
  if (!image->Lock())
    return nullptr;
  return image;
}

} // namespace

std::unique_ptr<VORGfxImage> CreateImageForResource(uint32_t resourceHandle, const ImageLayout &layout,
                                                    const VORRect &rect) {
  VORResourceManager *manager = VORApp::Get() ? VORApp::Get()->GetResourceManager() : nullptr;
  if (manager == nullptr)
    return nullptr;
  switch (manager->GetResourceKind(resourceHandle)) {
  case VORFileKind::kPictureFile:
    return LockedOnce(std::make_unique<VORDIBResourceImage>(resourceHandle, layout));
  case VORFileKind::kWindowsMetafile:
  case VORFileKind::kCdr:
    return std::make_unique<VORMetaFileImage>(resourceHandle, layout, false, rect);
  case VORFileKind::kEnhancedMetafile:
    return std::make_unique<VORMetaFileImage>(resourceHandle, layout, true, rect);
  case VORFileKind::kInternalPicture:
    return LockedOnce(std::make_unique<VORInternalImage>(resourceHandle, layout));
  default:
    return nullptr;
  }
}
