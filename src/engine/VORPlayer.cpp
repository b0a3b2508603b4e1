#include "engine/VORPlayer.h"

VORPlayer::VORPlayer() = default;

VORPlayer::~VORPlayer() = default;

void VORPlayer::DetectMMX() {
  // Asking the system replaces executing EMMS under a fault guard, which this
  // compiler cannot express.
  m_mmx = IsProcessorFeaturePresent(PF_MMX_INSTRUCTIONS_AVAILABLE) ? 1 : 0;
}
