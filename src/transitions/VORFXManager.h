#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "display/VORTransition.h"
#include "foundation/XQString.h"
#include "model/VORFXParams.h"

class VORBitmapObjectSurface;
class VORDrawingSurface;
class VORFX;

// The registry of transition effects: makes an effect from the name a
// publication stores. Names compare without regard to letter case; the
// first entry of a name wins.
class VORFXManager : public VORTransitionMaker {
public:
  using FXParams = VORFXParams;
  using FXProperties = VORFXProperties;
  // Makes a new effect (or none) from the parameters, the surface holding
  // the new picture, the one holding the old picture (or none) and the
  // surface told when a run driven by the update controller ends (or none).
  using Factory =
      std::function<std::unique_ptr<VORFX>(const FXParams &params, VORBitmapObjectSurface *target,
                                           VORBitmapObjectSurface *oldPicture, VORDrawingSurface *completion)>;

  struct Effect {
    XQString name;
    // Kept with the entry; nothing in the player reads it.
    XQString displayName;
    Factory factory;
  };

  VORFXManager() = default;
  ~VORFXManager() override;

  void Register(const XQString &name, const XQString &displayName, Factory factory);
  // The effect the parameters name; null for an empty or unknown name. The
  // caller owns it.
  std::unique_ptr<VORFX> CreateEffect(const FXParams &params, VORBitmapObjectSurface *target,
                                      VORBitmapObjectSurface *oldPicture, VORDrawingSurface *completion) const;
  const std::vector<Effect> &GetEffects() const { return m_effects; }

  // The display layer's way in.
  std::unique_ptr<VORTransition> MakeTransition(const FXParams &params, VORBitmapObjectSurface *target,
                                                VORBitmapObjectSurface *oldPicture,
                                                VORDrawingSurface *completion) override;

private:
  std::vector<Effect> m_effects;
};
