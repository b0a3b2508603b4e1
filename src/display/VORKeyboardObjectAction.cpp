#include "display/VORKeyboardObjectAction.h"

VORKeyboardObjectAction::VORKeyboardObjectAction(int32_t code, uintptr_t wParam, intptr_t lParam)
    : VORObjectAction(kClassKey, 0), m_wParam(wParam), m_lParam(lParam) {
  SetActionCode(code);
}

VORKeyboardObjectAction::~VORKeyboardObjectAction() = default;
