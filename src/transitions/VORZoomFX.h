#pragma once

#include <cstdint>
#include <memory>
#include <tuple>

#include "transitions/VORCoreFX.h"
#include "transitions/VORFXRecord.h"

class VORFile;

// Zoom: the new picture grows from a point, or the view zooms out to it.
class VORZoomFX : public VORCoreFX {
public:
  // The effect's stored parameters, in file order.
  class ZoomFXProperties : public VORFXRecord<ZoomFXProperties, 28> {
  public:
    using VORFXRecord::VORFXRecord;
    void Read(VORFile &file) override;
    auto Fields() const { return std::tie(duration, mode); }

    uint32_t duration = 500;
    uint8_t mode = 5;
  };

  VORZoomFX(const VORFXParams &params, VORBitmapObjectSurface *target, VORBitmapObjectSurface *oldPicture,
            VORDrawingSurface *completion);
  static std::unique_ptr<VORFX> Create(const VORFXParams &params, VORBitmapObjectSurface *target,
                                       VORBitmapObjectSurface *oldPicture, VORDrawingSurface *completion);
  bool WantsModalRun(bool /*pageTransition*/) override;

private:
  VORZoomFX(const ZoomFXProperties &record, VORBitmapObjectSurface *target, VORBitmapObjectSurface *oldPicture,
            VORDrawingSurface *completion);
  ZoomFXProperties m_record;
};
