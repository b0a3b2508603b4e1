#pragma once

#include <windows.h>

// The engine under the application object. It grows with the main loop, the
// event queue and the player actions; for now it answers which pixel loops
// the processor can run.
class VORPlayer {
public:
  VORPlayer();
  virtual ~VORPlayer();

  VORPlayer(const VORPlayer &) = delete;
  VORPlayer &operator=(const VORPlayer &) = delete;

  // Sets the MMX flag: 1 when the processor runs MMX instructions.
  void DetectMMX();
  bool HasMMX() const { return m_mmx != 0; }

private:
  int m_mmx = 0;
};
