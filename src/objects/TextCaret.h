#pragma once

#include <cstdint>

#include "foundation/VORRect.h"

struct HWND__; // NOLINT(bugprone-reserved-identifier): the system's own name

// The system caret of a text input field: made for the field's window at
// the height of the line it stands in, made again when that height
// changes, and destroyed when the field lets it go.
class TextCaret {
public:
  static constexpr int32_t kWidth = 2;

  TextCaret() = default;
  TextCaret(const TextCaret &) = delete;
  TextCaret &operator=(const TextCaret &) = delete;
  ~TextCaret() { Remove(); }

  // Shows the caret in the window over the box (window coordinates).
  void Place(HWND__ *window, const VORRect &box);
  // Hides and destroys the caret when one was made.
  void Remove();
  bool IsCreated() const { return m_created; }
  int32_t GetHeight() const { return m_height; }

private:
  HWND__ *m_window = nullptr;
  bool m_created = false;
  int32_t m_height = 0;
};
