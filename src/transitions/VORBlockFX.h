#pragma once

#include <cstdint>
#include <memory>
#include <tuple>

#include "transitions/VORCoreFX.h"
#include "transitions/VORFXRecord.h"

class VORFile;

// Blocks: the cells of a grid show the new picture one at a time.
class VORBlockFX : public VORCoreFX {
public:
  // The effect's stored parameters, in file order.
  class BlockFXProperties : public VORFXRecord<BlockFXProperties, 7> {
  public:
    using VORFXRecord::VORFXRecord;
    void Read(VORFile &file) override;
    auto Fields() const { return std::tie(columns, rows, duration, order); }

    int32_t columns = 10;
    int32_t rows = 10;
    uint32_t duration = 500;
    uint8_t order = 10;
  };

  VORBlockFX(const VORFXParams &params, VORBitmapObjectSurface *target, VORBitmapObjectSurface *oldPicture,
             VORDrawingSurface *completion);
  static std::unique_ptr<VORFX> Create(const VORFXParams &params, VORBitmapObjectSurface *target,
                                       VORBitmapObjectSurface *oldPicture, VORDrawingSurface *completion);
  bool WantsModalRun(bool /*pageTransition*/) override;

protected:
  // The grid's cells revealed by the given core (a kind of BlockCore).
  VORBlockFX(const BlockFXProperties &record, std::unique_ptr<BlockCore> core, VORBitmapObjectSurface *target,
             VORBitmapObjectSurface *oldPicture, VORDrawingSurface *completion);

private:
  BlockFXProperties m_record;
};
