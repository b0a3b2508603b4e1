#include "transitions/VORScrollFX.h"

VORScrollFX::VORScrollFX(const VORFXParams &params, VORBitmapObjectSurface *target, VORBitmapObjectSurface *oldPicture,
                         VORDrawingSurface *completion)
    : VORScrollFX(RecordFrom<ScrollFXProperties>(params), target, oldPicture, completion) {}

VORScrollFX::VORScrollFX(const ScrollFXProperties &record, VORBitmapObjectSurface *target,
                         VORBitmapObjectSurface *oldPicture, VORDrawingSurface *completion)
    : VORCoreFX(target, oldPicture, completion, std::make_unique<ScrollCore>(record.dx, record.dy, record.wipe != 0),
                record.duration),
      m_record(record) {}

std::unique_ptr<VORFX> VORScrollFX::Create(const VORFXParams &params, VORBitmapObjectSurface *target,
                                           VORBitmapObjectSurface *oldPicture, VORDrawingSurface *completion) {
  return std::make_unique<VORScrollFX>(params, target, oldPicture, completion);
}

bool VORScrollFX::WantsModalRun(bool pageTransition) { return pageTransition; }
