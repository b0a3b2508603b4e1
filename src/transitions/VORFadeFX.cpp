#include "transitions/VORFadeFX.h"

VORFadeFX::VORFadeFX(const VORFXParams &params, VORBitmapObjectSurface *target, VORBitmapObjectSurface *oldPicture,
                     VORDrawingSurface *completion)
    : VORFadeFX(RecordFrom<FadeFXProperties>(params), target, oldPicture, completion) {}

VORFadeFX::VORFadeFX(const FadeFXProperties &record, VORBitmapObjectSurface *target, VORBitmapObjectSurface *oldPicture,
                     VORDrawingSurface *completion)
    : VORCoreFX(target, oldPicture, completion, std::make_unique<FadeCore>(record.levels, record.colour),
                record.duration),
      m_record(record) {}

std::unique_ptr<VORFX> VORFadeFX::Create(const VORFXParams &params, VORBitmapObjectSurface *target,
                                         VORBitmapObjectSurface *oldPicture, VORDrawingSurface *completion) {
  return std::make_unique<VORFadeFX>(params, target, oldPicture, completion);
}

bool VORFadeFX::WantsModalRun(bool /*pageTransition*/) { return false; }
