#include "transitions/VORBlindFX.h"

VORBlindFX::VORBlindFX(const VORFXParams &params, VORBitmapObjectSurface *target, VORBitmapObjectSurface *oldPicture,
                       VORDrawingSurface *completion)
    : VORBlindFX(RecordFrom<BlindFXProperties>(params), target, oldPicture, completion) {}

VORBlindFX::VORBlindFX(const BlindFXProperties &record, VORBitmapObjectSurface *target,
                       VORBitmapObjectSurface *oldPicture, VORDrawingSurface *completion)
    : VORCoreFX(target, oldPicture, completion,
                std::make_unique<BlindCore>(record.strips, record.mode, record.fixedPicture != 0, record.vertical != 0),
                record.duration),
      m_record(record) {}

std::unique_ptr<VORFX> VORBlindFX::Create(const VORFXParams &params, VORBitmapObjectSurface *target,
                                          VORBitmapObjectSurface *oldPicture, VORDrawingSurface *completion) {
  return std::make_unique<VORBlindFX>(params, target, oldPicture, completion);
}

bool VORBlindFX::WantsModalRun(bool /*pageTransition*/) { return true; }
