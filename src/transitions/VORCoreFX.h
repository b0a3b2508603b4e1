#pragma once

#include <memory>
#include <vector>

#include "transitions/FXCores.h"
#include "transitions/VORTimedFX.h"

class FXPicture;

// An effect whose picture is composed in memory by its platform-free core:
// the new and the old picture of the rectangle are taken once at the start,
// each step composes the changed areas and hands them to the screen in one
// blit. The old picture, when no surface holds it, is what the screen shows
// at the start.
class VORCoreFX : public VORTimedFX {
public:
  VORCoreFX(VORBitmapObjectSurface *target, VORBitmapObjectSurface *oldPicture, VORDrawingSurface *completion,
            std::unique_ptr<FXCore> core, uint32_t duration);
  ~VORCoreFX() override;

  void Paint(const VORRect &destination, const VORRect &source) override;
  const FXCore &GetCore() const { return *m_core; }

protected:
  void Prepare() override;
  int32_t GetTotalSteps() override { return m_total; }
  int32_t GetStepIncrement() override { return m_core->Increment(m_total); }
  void DrawStep(int32_t step) override;

private:
  // Hands the pictures to the store, for the next effect.
  void KeepPictures();

  std::unique_ptr<FXCore> m_core;
  VORRect m_area = VORRect(0, 0, 0, 0);
  int32_t m_total = 0;
  std::unique_ptr<FXPicture> m_new;
  std::unique_ptr<FXPicture> m_old;
  std::unique_ptr<FXPicture> m_frame;
  std::vector<VORRect> m_changed;
};
