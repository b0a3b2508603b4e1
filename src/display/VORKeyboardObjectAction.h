#pragma once

#include <cstdint>

#include "model/VORObjectAction.h"

// The action a run view sends a page object for a key: key down (9), key
// up (10) or a character (11), with the window message's two parameters.
// It is built in place and delivered at once, never read from a file.
class VORKeyboardObjectAction : public VORObjectAction {
public:
  enum Code : int32_t { kKeyDown = 9, kKeyUp = 10, kCharacter = 11 };

  VORKeyboardObjectAction(int32_t code, uintptr_t wParam, intptr_t lParam);
  VORKeyboardObjectAction(const VORKeyboardObjectAction &) = default;
  ~VORKeyboardObjectAction() override;

  VORObjectAction *Clone() const override { return new VORKeyboardObjectAction(*this); }

  uintptr_t GetWParam() const { return m_wParam; }
  intptr_t GetLParam() const { return m_lParam; }
  // The key or character code the objects' triggers compare.
  uint16_t GetKeyCode() const { return static_cast<uint16_t>(m_wParam); }

private:
  uintptr_t m_wParam;
  intptr_t m_lParam;
};
