#include <windows.h>

#include "objects/TextCaret.h"

void TextCaret::Place(HWND__ *window, const VORRect &box) {
  const auto height = static_cast<int32_t>(box.Height());
  if (!m_created || m_height != height || m_window != window) {
    Remove();
    if (window == nullptr || !CreateCaret(window, nullptr, kWidth, height))
      return;
    m_window = window;
    m_created = true;
    m_height = height;
    ShowCaret(window);
  }
  SetCaretPos(box.left, box.top);
}

void TextCaret::Remove() {
  if (!m_created)
    return;
  HideCaret(m_window);
  DestroyCaret();
  m_created = false;
  m_height = 0;
  m_window = nullptr;
}
