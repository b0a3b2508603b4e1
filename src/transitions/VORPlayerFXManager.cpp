#include "transitions/VORPlayerFXManager.h"

#include <memory>

VORPlayerFXManager::VORPlayerFXManager() = default;

VORPlayerFXManager::~VORPlayerFXManager() = default;

VORPlayer::FXManagerParts VORPlayerFXManager::MakeParts() {
  auto manager = std::make_unique<VORPlayerFXManager>();
  VORPlayer::FXManagerParts parts;
  parts.manager = manager.get();
  parts.maker = std::move(manager);
  return parts;
}
