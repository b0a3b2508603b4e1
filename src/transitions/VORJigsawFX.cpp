#include "transitions/VORJigsawFX.h"

VORJigsawFX::VORJigsawFX(const VORFXParams &params, VORBitmapObjectSurface *target, VORBitmapObjectSurface *oldPicture,
                         VORDrawingSurface *completion)
    : VORJigsawFX(RecordFrom<BlockFXProperties>(params), target, oldPicture, completion) {}

VORJigsawFX::VORJigsawFX(const BlockFXProperties &record, VORBitmapObjectSurface *target,
                         VORBitmapObjectSurface *oldPicture, VORDrawingSurface *completion)
    : VORBlockFX(record, std::make_unique<JigsawCore>(record.columns, record.rows, record.order), target, oldPicture,
                 completion) {}

std::unique_ptr<VORFX> VORJigsawFX::Create(const VORFXParams &params, VORBitmapObjectSurface *target,
                                           VORBitmapObjectSurface *oldPicture, VORDrawingSurface *completion) {
  return std::make_unique<VORJigsawFX>(params, target, oldPicture, completion);
}
