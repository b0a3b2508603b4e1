#include "saver/SaverEndRules.h"

#include <cstdlib>

void SaverEndRules::Start(int32_t x, int32_t y) {
  m_started = true;
  m_startX = x;
  m_startY = y;
}

bool SaverEndRules::EndsSaver(Input input, int32_t x, int32_t y) {
  switch (input) {
  case Input::kKeyPress:
  case Input::kButtonPress:
  case Input::kDeactivation:
    return true;
  case Input::kPointerMove:
    if (!m_started) {
      Start(x, y);
      return false;
    }
    // In 64 bits: screen coordinates far apart cannot overflow the distance.
    return std::llabs(static_cast<int64_t>(x) - m_startX) > kMoveTolerance ||
           std::llabs(static_cast<int64_t>(y) - m_startY) > kMoveTolerance;
  case Input::kOther:
    break;
  }
  return false;
}
