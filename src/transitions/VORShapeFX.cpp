#include "transitions/VORShapeFX.h"

VORShapeFX::VORShapeFX(const VORFXParams &params, VORBitmapObjectSurface *target, VORBitmapObjectSurface *oldPicture,
                       VORDrawingSurface *completion)
    : VORShapeFX(RecordFrom<ShapeFXProperties>(params), target, oldPicture, completion) {}

VORShapeFX::VORShapeFX(const ShapeFXProperties &record, VORBitmapObjectSurface *target,
                       VORBitmapObjectSurface *oldPicture, VORDrawingSurface *completion)
    : VORCoreFX(target, oldPicture, completion,
                std::make_unique<ShapeCore>(record.shape, record.starRatio, record.sides, record.columns, record.rows,
                                            record.rotation),
                record.duration),
      m_record(record) {}

std::unique_ptr<VORFX> VORShapeFX::Create(const VORFXParams &params, VORBitmapObjectSurface *target,
                                          VORBitmapObjectSurface *oldPicture, VORDrawingSurface *completion) {
  return std::make_unique<VORShapeFX>(params, target, oldPicture, completion);
}

bool VORShapeFX::WantsModalRun(bool /*pageTransition*/) { return true; }
