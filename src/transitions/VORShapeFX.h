#pragma once

#include <cstdint>
#include <memory>
#include <tuple>

#include "transitions/VORCoreFX.h"
#include "transitions/VORFXRecord.h"

class VORFile;

// Shapes: circles, polygons or stars of the new picture grow in a grid.
class VORShapeFX : public VORCoreFX {
public:
  // The effect's stored parameters, in file order.
  class ShapeFXProperties : public VORFXRecord<ShapeFXProperties, 29> {
  public:
    using VORFXRecord::VORFXRecord;
    void Read(VORFile &file) override;
    auto Fields() const { return std::tie(shape, starRatio, sides, columns, rows, rotation, duration); }

    uint8_t shape = 0;
    int16_t starRatio = 256;
    uint16_t sides = 5;
    int32_t columns = 1;
    int32_t rows = 1;
    int32_t rotation = 0;
    uint32_t duration = 500;
  };

  VORShapeFX(const VORFXParams &params, VORBitmapObjectSurface *target, VORBitmapObjectSurface *oldPicture,
             VORDrawingSurface *completion);
  static std::unique_ptr<VORFX> Create(const VORFXParams &params, VORBitmapObjectSurface *target,
                                       VORBitmapObjectSurface *oldPicture, VORDrawingSurface *completion);
  bool WantsModalRun(bool /*pageTransition*/) override;

private:
  VORShapeFX(const ShapeFXProperties &record, VORBitmapObjectSurface *target, VORBitmapObjectSurface *oldPicture,
             VORDrawingSurface *completion);
  ShapeFXProperties m_record;
};
