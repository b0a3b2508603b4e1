#include "transitions/VORBlockFX.h"

VORBlockFX::VORBlockFX(const VORFXParams &params, VORBitmapObjectSurface *target, VORBitmapObjectSurface *oldPicture,
                       VORDrawingSurface *completion)
    : VORBlockFX(RecordFrom<BlockFXProperties>(params), nullptr, target, oldPicture, completion) {}

VORBlockFX::VORBlockFX(const BlockFXProperties &record, std::unique_ptr<BlockCore> core, VORBitmapObjectSurface *target,
                       VORBitmapObjectSurface *oldPicture, VORDrawingSurface *completion)
    : VORCoreFX(target, oldPicture, completion,
                core ? std::move(core) : std::make_unique<BlockCore>(record.columns, record.rows, record.order),
                record.duration),
      m_record(record) {}

std::unique_ptr<VORFX> VORBlockFX::Create(const VORFXParams &params, VORBitmapObjectSurface *target,
                                          VORBitmapObjectSurface *oldPicture, VORDrawingSurface *completion) {
  return std::make_unique<VORBlockFX>(params, target, oldPicture, completion);
}

bool VORBlockFX::WantsModalRun(bool /*pageTransition*/) { return true; }
