#include "transitions/VORPixelFX.h"

VORPixelFX::VORPixelFX(const VORFXParams &params, VORBitmapObjectSurface *target, VORBitmapObjectSurface *oldPicture,
                       VORDrawingSurface *completion)
    : VORPixelFX(RecordFrom<PixelFXProperties>(params), target, oldPicture, completion) {}

VORPixelFX::VORPixelFX(const PixelFXProperties &record, VORBitmapObjectSurface *target,
                       VORBitmapObjectSurface *oldPicture, VORDrawingSurface *completion)
    : VORCoreFX(target, oldPicture, completion, std::make_unique<PixelCore>(record.mode), record.duration),
      m_record(record) {}

std::unique_ptr<VORFX> VORPixelFX::Create(const VORFXParams &params, VORBitmapObjectSurface *target,
                                          VORBitmapObjectSurface *oldPicture, VORDrawingSurface *completion) {
  return std::make_unique<VORPixelFX>(params, target, oldPicture, completion);
}

bool VORPixelFX::WantsModalRun(bool /*pageTransition*/) { return m_record.mode != 0; }
