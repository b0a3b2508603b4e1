#pragma once

#include <memory>

#include "transitions/VORBlockFX.h"

// Jigsaw: the block grid's cells show the new picture as interlocking
// puzzle pieces. It keeps no record of its own: publications give it the
// block parameters.
class VORJigsawFX : public VORBlockFX {
public:
  VORJigsawFX(const VORFXParams &params, VORBitmapObjectSurface *target, VORBitmapObjectSurface *oldPicture,
              VORDrawingSurface *completion);
  static std::unique_ptr<VORFX> Create(const VORFXParams &params, VORBitmapObjectSurface *target,
                                       VORBitmapObjectSurface *oldPicture, VORDrawingSurface *completion);

private:
  VORJigsawFX(const BlockFXProperties &record, VORBitmapObjectSurface *target, VORBitmapObjectSurface *oldPicture,
              VORDrawingSurface *completion);
};
