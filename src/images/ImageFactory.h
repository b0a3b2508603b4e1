#pragma once

#include <cstdint>
#include <memory>

#include "foundation/VORRect.h"
#include "images/ImageLayout.h"

class VORGfxImage;

// The image for a resource, chosen by the resource's file kind: a DIB for a
// picture file, a metafile image for WMF, CDR and EMF, an internal image for
// the internal picture format; null for any other kind. DIB and internal
// images come back locked once (null when the lock fails); metafile images
// as made. rect: the destination, the default size of a metafile without
// one of its own.
std::unique_ptr<VORGfxImage> CreateImageForResource(uint32_t resourceHandle, const ImageLayout &layout,
                                                    const VORRect &rect);
