#include "transitions/VORPlayerFXManager.h"

#include <memory>

#include "transitions/FXPictureStore.h"
#include "transitions/VORBlindFX.h"
#include "transitions/VORBlockFX.h"
#include "transitions/VORFadeFX.h"
#include "transitions/VORJigsawFX.h"
#include "transitions/VORPixelFX.h"
#include "transitions/VORScrollFX.h"
#include "transitions/VORShapeFX.h"
#include "transitions/VORSlideFX.h"
#include "transitions/VORZoomFX.h"

VORPlayerFXManager::VORPlayerFXManager() {
  Register("Fade", "Fade", VORFadeFX::Create);
  Register("Pixel", "Pixel", VORPixelFX::Create);
  Register("Blind", "Blind", VORBlindFX::Create);
  Register("Jigsaw", "Jigsaw", VORJigsawFX::Create);
  Register("Scroll", "Scroll/Wipe", VORScrollFX::Create);
  Register("Block", "Block", VORBlockFX::Create);
  Register("Slide", "Slide", VORSlideFX::Create);
  Register("Zoom", "Zoom", VORZoomFX::Create);
  Register("Shape", "Shape", VORShapeFX::Create);
}

VORPlayerFXManager::~VORPlayerFXManager() = default;

VORPlayer::FXManagerParts VORPlayerFXManager::MakeParts() {
  auto manager = std::make_unique<VORPlayerFXManager>();
  VORPlayer::FXManagerParts parts;
  parts.manager = manager.get();
  parts.maker = std::move(manager);
  return parts;
}

void VORPlayerFXManager::PrepareFor(int32_t width, int32_t height) { FXPictureStore::Warm(width, height); }
