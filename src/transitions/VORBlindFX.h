#pragma once

#include <cstdint>
#include <memory>
#include <tuple>

#include "transitions/VORCoreFX.h"
#include "transitions/VORFXRecord.h"

class VORFile;

// Blinds: strips of the new picture open side by side.
class VORBlindFX : public VORCoreFX {
public:
  // The effect's stored parameters, in file order.
  class BlindFXProperties : public VORFXRecord<BlindFXProperties, 8> {
  public:
    using VORFXRecord::VORFXRecord;
    void Read(VORFile &file) override;
    auto Fields() const { return std::tie(strips, mode, duration, fixedPicture, vertical); }

    uint16_t strips = 4;
    uint8_t mode = 0;
    uint16_t duration = 500;
    uint8_t fixedPicture = 1;
    uint8_t vertical = 1;
  };

  VORBlindFX(const VORFXParams &params, VORBitmapObjectSurface *target, VORBitmapObjectSurface *oldPicture,
             VORDrawingSurface *completion);
  static std::unique_ptr<VORFX> Create(const VORFXParams &params, VORBitmapObjectSurface *target,
                                       VORBitmapObjectSurface *oldPicture, VORDrawingSurface *completion);
  bool WantsModalRun(bool /*pageTransition*/) override;

private:
  VORBlindFX(const BlindFXProperties &record, VORBitmapObjectSurface *target, VORBitmapObjectSurface *oldPicture,
             VORDrawingSurface *completion);
  BlindFXProperties m_record;
};
