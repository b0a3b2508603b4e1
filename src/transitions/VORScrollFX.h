#pragma once

#include <cstdint>
#include <memory>
#include <tuple>

#include "transitions/VORCoreFX.h"
#include "transitions/VORFXRecord.h"

class VORFile;

// Scroll and wipe: the new picture comes in from a side, moving or in place.
class VORScrollFX : public VORCoreFX {
public:
  // The effect's stored parameters, in file order.
  class ScrollFXProperties : public VORFXRecord<ScrollFXProperties, 9> {
  public:
    using VORFXRecord::VORFXRecord;
    void Read(VORFile &file) override;
    auto Fields() const { return std::tie(dx, dy, duration, wipe); }

    int32_t dx = 0;
    int32_t dy = 0;
    uint32_t duration = 500;
    uint16_t wipe = 1;
  };

  VORScrollFX(const VORFXParams &params, VORBitmapObjectSurface *target, VORBitmapObjectSurface *oldPicture,
              VORDrawingSurface *completion);
  static std::unique_ptr<VORFX> Create(const VORFXParams &params, VORBitmapObjectSurface *target,
                                       VORBitmapObjectSurface *oldPicture, VORDrawingSurface *completion);
  bool WantsModalRun(bool pageTransition) override;

private:
  VORScrollFX(const ScrollFXProperties &record, VORBitmapObjectSurface *target, VORBitmapObjectSurface *oldPicture,
              VORDrawingSurface *completion);
  ScrollFXProperties m_record;
};
