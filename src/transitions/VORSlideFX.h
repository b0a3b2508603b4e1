#pragma once

#include <cstdint>
#include <memory>
#include <tuple>

#include "transitions/VORCoreFX.h"
#include "transitions/VORFXRecord.h"

class VORFile;

// Slide: the new picture pushes the old one out.
class VORSlideFX : public VORCoreFX {
public:
  // The effect's stored parameters, in file order.
  class SlideFXProperties : public VORFXRecord<SlideFXProperties, 27> {
  public:
    using VORFXRecord::VORFXRecord;
    void Read(VORFile &file) override;
    auto Fields() const { return std::tie(dx, dy, duration); }

    int32_t dx = 0;
    int32_t dy = 0;
    uint32_t duration = 500;
  };

  VORSlideFX(const VORFXParams &params, VORBitmapObjectSurface *target, VORBitmapObjectSurface *oldPicture,
             VORDrawingSurface *completion);
  static std::unique_ptr<VORFX> Create(const VORFXParams &params, VORBitmapObjectSurface *target,
                                       VORBitmapObjectSurface *oldPicture, VORDrawingSurface *completion);
  bool WantsModalRun(bool /*pageTransition*/) override;

private:
  VORSlideFX(const SlideFXProperties &record, VORBitmapObjectSurface *target, VORBitmapObjectSurface *oldPicture,
             VORDrawingSurface *completion);
  SlideFXProperties m_record;
};
