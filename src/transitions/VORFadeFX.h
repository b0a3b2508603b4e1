#pragma once

#include <cstdint>
#include <memory>
#include <tuple>

#include "transitions/VORCoreFX.h"
#include "transitions/VORFXRecord.h"

class VORFile;

// Fade: the new picture blends in over the old one, or both pass through a colour.
class VORFadeFX : public VORCoreFX {
public:
  // The effect's stored parameters, in file order.
  class FadeFXProperties : public VORFXRecord<FadeFXProperties, 10> {
  public:
    using VORFXRecord::VORFXRecord;
    void Read(VORFile &file) override;
    auto Fields() const { return std::tie(duration, levels, colour); }

    uint16_t duration = 500;
    uint16_t levels = 8;
    uint32_t colour = 0xFFFFFFFFu;
  };

  VORFadeFX(const VORFXParams &params, VORBitmapObjectSurface *target, VORBitmapObjectSurface *oldPicture,
            VORDrawingSurface *completion);
  static std::unique_ptr<VORFX> Create(const VORFXParams &params, VORBitmapObjectSurface *target,
                                       VORBitmapObjectSurface *oldPicture, VORDrawingSurface *completion);
  bool WantsModalRun(bool /*pageTransition*/) override;

private:
  VORFadeFX(const FadeFXProperties &record, VORBitmapObjectSurface *target, VORBitmapObjectSurface *oldPicture,
            VORDrawingSurface *completion);
  FadeFXProperties m_record;
};
