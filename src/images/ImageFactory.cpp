#include "images/ImageFactory.h"

#include "images/VORGfxImage.h"

std::unique_ptr<VORGfxImage> CreateImageForResource(uint32_t /*resourceHandle*/, const ImageLayout & /*layout*/,
                                                    const VORRect & /*rect*/) {
  return nullptr; // the image classes come with their own change
}
