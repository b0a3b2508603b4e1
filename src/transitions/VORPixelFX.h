#pragma once

#include <cstdint>
#include <memory>
#include <tuple>

#include "transitions/VORCoreFX.h"
#include "transitions/VORFXRecord.h"

class VORFile;

// Pixel dissolve: the new picture appears pixel by pixel or line by line.
class VORPixelFX : public VORCoreFX {
public:
  // The effect's stored parameters, in file order.
  class PixelFXProperties : public VORFXRecord<PixelFXProperties, 11> {
  public:
    using VORFXRecord::VORFXRecord;
    void Read(VORFile &file) override;
    auto Fields() const { return std::tie(duration, mode); }

    uint32_t duration = 500;
    uint8_t mode = 0;
  };

  VORPixelFX(const VORFXParams &params, VORBitmapObjectSurface *target, VORBitmapObjectSurface *oldPicture,
             VORDrawingSurface *completion);
  static std::unique_ptr<VORFX> Create(const VORFXParams &params, VORBitmapObjectSurface *target,
                                       VORBitmapObjectSurface *oldPicture, VORDrawingSurface *completion);
  bool WantsModalRun(bool /*pageTransition*/) override;

private:
  VORPixelFX(const PixelFXProperties &record, VORBitmapObjectSurface *target, VORBitmapObjectSurface *oldPicture,
             VORDrawingSurface *completion);
  PixelFXProperties m_record;
};
