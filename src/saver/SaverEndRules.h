#pragma once

#include <cstdint>

// When the screen-saver library ends a running saver: at any key, any
// mouse button, the window losing activation, and a pointer move of more
// than a few pixels from where the pointer was when the saver started.
class SaverEndRules {
public:
  enum class Input { kKeyPress, kButtonPress, kDeactivation, kPointerMove, kOther };

  // A jitter of this many pixels either way is no move.
  static constexpr int32_t kMoveTolerance = 3;

  // The pointer's position when the saver starts.
  void Start(int32_t x, int32_t y);
  // x, y: the pointer's screen position (used for pointer moves). A move
  // before any start position becomes the start position.
  bool EndsSaver(Input input, int32_t x, int32_t y);

private:
  bool m_started = false;
  int32_t m_startX = 0;
  int32_t m_startY = 0;
};
