#include "transitions/VORZoomFX.h"

VORZoomFX::VORZoomFX(const VORFXParams &params, VORBitmapObjectSurface *target, VORBitmapObjectSurface *oldPicture,
                     VORDrawingSurface *completion)
    : VORZoomFX(RecordFrom<ZoomFXProperties>(params), target, oldPicture, completion) {}

VORZoomFX::VORZoomFX(const ZoomFXProperties &record, VORBitmapObjectSurface *target, VORBitmapObjectSurface *oldPicture,
                     VORDrawingSurface *completion)
    : VORCoreFX(target, oldPicture, completion, std::make_unique<ZoomCore>(record.mode), record.duration),
      m_record(record) {}

std::unique_ptr<VORFX> VORZoomFX::Create(const VORFXParams &params, VORBitmapObjectSurface *target,
                                         VORBitmapObjectSurface *oldPicture, VORDrawingSurface *completion) {
  return std::make_unique<VORZoomFX>(params, target, oldPicture, completion);
}

bool VORZoomFX::WantsModalRun(bool /*pageTransition*/) { return true; }
