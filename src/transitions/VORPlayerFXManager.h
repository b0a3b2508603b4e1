#pragma once

#include "engine/VORPlayer.h"
#include "transitions/VORFXManager.h"

// The application's effect registry: the nine effects by name.
class VORPlayerFXManager : public VORFXManager {
public:
  VORPlayerFXManager();
  ~VORPlayerFXManager() override;

  // A new registry as the application takes it.
  static VORPlayer::FXManagerParts MakeParts();
  // Warms the pictures of an effect of that size (FXPictureStore::Warm).
  void PrepareFor(int32_t width, int32_t height) override;
};
