#pragma once

#include <cstdint>
#include <string>

class TextStyle;
class XQRichText;

// The editing rules of a text input field over its document: which
// characters it takes and in which case, its maximum length, the caret and
// selection moves of the keys, Backspace and Delete, and pasting. What the
// field must do around an edit (commit, move the focus, use the clipboard,
// beep, redraw) comes back as an outcome for the object to carry out.
class TextInputEditor {
public:
  enum InputFlag : uint32_t {
    kInputField = 0x1,
    kLetters = 0x2,
    kDigits = 0x4,
    kOtherCharacters = 0x8,
    kTabMovesFocus = 0x10,
    kEnterMovesFocus = 0x20,
    kMultiLine = 0x40,
    kCommitEveryChange = 0x80,
    kUpperCase = 0x100,
    kLowerCase = 0x200,
    kFocusWhenShown = 0x400,
    kEnterOnFocusLoss = 0x800,
  };
  enum Key : uint16_t {
    kBackspace = 8,
    kTab = 9,
    kLineFeed = 10,
    kEnter = 13,
    kEnd = 35,
    kHome = 36,
    kLeft = 37,
    kUp = 38,
    kRight = 39,
    kDown = 40,
    kInsert = 45,
    kDelete = 46,
  };
  enum ControlCharacter : uint8_t { kCopyCharacter = 3, kPasteCharacter = 22, kCutCharacter = 24 };
  // Modifier bits of the keys, as the run view tells them.
  enum Modifier : uint32_t { kCtrl = 1, kAlt = 2, kShift = 4 };
  enum class FocusMove { kStay, kNext, kPrevious, kNone };
  enum class ClipboardUse { kNone, kCopy, kCut, kPaste };

  struct Outcome {
    bool handled = false;
    bool textChanged = false;
    bool caretMoved = false; // the caret or the selection changed
    bool beep = false;
    bool commit = false;
    FocusMove focus = FocusMove::kStay;
    ClipboardUse clipboard = ClipboardUse::kNone;
  };

  TextInputEditor(XQRichText &text, uint32_t flags, int32_t maxLength)
      : m_text(text), m_flags(flags), m_maxLength(maxLength) {}

  // Blank and line feed always pass; digits, letters and the rest each
  // need their flag.
  static bool Accepts(uint32_t flags, uint8_t c);
  // Upper case first, then lower case: with both flags letters end lower.
  static uint8_t FoldCase(uint32_t flags, uint8_t c);
  // A run of this style shows a variable: its style carries a negative tag id.
  static bool IsVariableField(const TextStyle *style);

  // A key down (key code, modifier bits).
  Outcome OnKey(uint16_t key, uint32_t modifiers);
  // A character; shiftDown says whether a tab goes backward.
  Outcome OnChar(uint8_t c, bool shiftDown);
  // Inserts the text at the caret or over the selection, whole: the
  // maximum length bounds typing only.
  Outcome Paste(const std::string &text);
  // The selected text; false when nothing is selected.
  bool SelectedText(std::string &text) const;
  // Replaces the selection with nothing.
  Outcome DeleteSelection();

private:
  Outcome Move(uint16_t key, uint32_t modifiers);
  Outcome Erase(uint16_t key);
  Outcome Changed();
  // The position a key moves to from 'from'; false when the move cannot
  // be made.
  bool StepFrom(uint16_t key, bool ctrl, int32_t &position);
  // A position inside a variable field goes to its start (backward) or
  // past its end (forward).
  int32_t OutOfVariableField(int32_t position, bool backward) const;

  XQRichText &m_text;
  uint32_t m_flags;
  int32_t m_maxLength;
};
