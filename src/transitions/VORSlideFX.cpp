#include "transitions/VORSlideFX.h"

VORSlideFX::VORSlideFX(const VORFXParams &params, VORBitmapObjectSurface *target, VORBitmapObjectSurface *oldPicture,
                       VORDrawingSurface *completion)
    : VORSlideFX(RecordFrom<SlideFXProperties>(params), target, oldPicture, completion) {}

VORSlideFX::VORSlideFX(const SlideFXProperties &record, VORBitmapObjectSurface *target,
                       VORBitmapObjectSurface *oldPicture, VORDrawingSurface *completion)
    : VORCoreFX(target, oldPicture, completion, std::make_unique<SlideCore>(record.dx, record.dy), record.duration),
      m_record(record) {}

std::unique_ptr<VORFX> VORSlideFX::Create(const VORFXParams &params, VORBitmapObjectSurface *target,
                                          VORBitmapObjectSurface *oldPicture, VORDrawingSurface *completion) {
  return std::make_unique<VORSlideFX>(params, target, oldPicture, completion);
}

bool VORSlideFX::WantsModalRun(bool /*pageTransition*/) { return false; }
