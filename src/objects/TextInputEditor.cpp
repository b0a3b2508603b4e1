#include "objects/TextInputEditor.h"

#include <algorithm>

#include "richtext/XQRichText.h"

namespace {

bool IsDigit(uint8_t c) { return c >= '0' && c <= '9'; }
bool IsLetter(uint8_t c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

bool MovesBackward(uint16_t key) {
  return key == TextInputEditor::kHome || key == TextInputEditor::kLeft || key == TextInputEditor::kUp;
}

bool IsMoveKey(uint16_t key) { return key >= TextInputEditor::kEnd && key <= TextInputEditor::kDown; }

} // namespace

bool TextInputEditor::Accepts(uint32_t flags, uint8_t c) {
  if (c == ' ' || c == kLineFeed)
    return true;
  if (IsDigit(c))
    return (flags & kDigits) != 0;
  if (IsLetter(c))
    return (flags & kLetters) != 0;
  return (flags & kOtherCharacters) != 0;
}

uint8_t TextInputEditor::FoldCase(uint32_t flags, uint8_t c) {
  if ((flags & kUpperCase) != 0 && c >= 'a' && c <= 'z')
    c = static_cast<uint8_t>(c - 'a' + 'A');
  if ((flags & kLowerCase) != 0 && c >= 'A' && c <= 'Z')
    c = static_cast<uint8_t>(c - 'A' + 'a');
  return c;
}

bool TextInputEditor::IsVariableField(const TextStyle *style) {
  if (style == nullptr)
    return false;
  const TagIdList ids = style->GetTagIds();
  return std::any_of(ids.Ids().begin(), ids.Ids().end(), [](int32_t id) { return id < 0; });
}

TextInputEditor::Outcome TextInputEditor::Changed() {
  Outcome outcome;
  outcome.handled = true;
  outcome.textChanged = true;
  outcome.caretMoved = true;
  outcome.commit = (m_flags & kCommitEveryChange) != 0;
  return outcome;
}

TextInputEditor::Outcome TextInputEditor::OnKey(uint16_t key, uint32_t modifiers) {
  Outcome outcome;
  const bool shift = (modifiers & kShift) != 0;
  const bool ctrl = (modifiers & kCtrl) != 0;
  if (key == kEnter) {
    if ((m_flags & kMultiLine) != 0)
      return outcome;
    outcome.handled = true;
    outcome.commit = true;
    outcome.focus = (m_flags & kEnterMovesFocus) != 0 ? FocusMove::kNext : FocusMove::kNone;
    return outcome;
  }
  if (IsMoveKey(key))
    return Move(key, modifiers);
  if (key == kInsert && (shift || ctrl)) {
    outcome.handled = true;
    outcome.clipboard = shift ? ClipboardUse::kPaste : ClipboardUse::kCopy;
    return outcome;
  }
  if (key == kDelete && shift) {
    outcome.handled = true;
    outcome.clipboard = ClipboardUse::kCut;
    return outcome;
  }
  if (key == kBackspace || key == kDelete)
    return Erase(key);
  return outcome;
}

bool TextInputEditor::StepFrom(uint16_t key, bool ctrl, int32_t &position) {
  switch (key) {
  case kEnd:
    // The end of the text is the last line's end, behind its last character.
    position = m_text.LineEndPosition(ctrl ? 2 * m_text.GetLength() : position);
    return true;
  case kHome:
    position = ctrl ? m_text.FirstPosition() : m_text.LineStartPosition(position);
    return true;
  case kLeft:
    return m_text.PreviousPosition(position);
  case kRight:
    return m_text.NextPosition(position);
  case kUp:
    return m_text.PositionLineUp(position);
  case kDown:
    return m_text.PositionLineDown(position);
  default:
    return false;
  }
}

TextInputEditor::Outcome TextInputEditor::Move(uint16_t key, uint32_t modifiers) {
  Outcome outcome;
  outcome.handled = true;
  const bool ctrl = (modifiers & kCtrl) != 0;
  const bool backward = MovesBackward(key);
  int32_t start = 0;
  int32_t end = 0;
  const bool selected = m_text.GetSelection(start, end);
  const XQRichText::SavedSelection before = m_text.SaveSelection();
  int32_t position = m_text.GetCaretPosition();
  if ((modifiers & kShift) != 0) {
    if (!StepFrom(key, ctrl, position)) {
      outcome.beep = true;
      return outcome;
    }
    m_text.ExtendSelection(OutOfVariableField(position, backward));
  } else if (selected) {
    // A selection collapses at the end the key points to, then moves on
    // from there for the keys that move by lines.
    position = backward ? start : end;
    if (key != kLeft && key != kRight && !StepFrom(key, ctrl, position))
      outcome.beep = true;
    m_text.SetCaret(OutOfVariableField(position, backward));
  } else {
    if (!StepFrom(key, ctrl, position)) {
      outcome.beep = true;
      return outcome;
    }
    m_text.SetCaret(OutOfVariableField(position, backward));
  }
  const XQRichText::SavedSelection after = m_text.SaveSelection();
  outcome.caretMoved = selected || after.start != before.start || after.end != before.end;
  return outcome;
}

int32_t TextInputEditor::OutOfVariableField(int32_t position, bool backward) const {
  int32_t charStart = 0;
  for (const TextRun &run : m_text.GetRuns()) {
    const int32_t charEnd = charStart + static_cast<int32_t>(run.text.size());
    const bool inside = 2 * charStart < position && position < 2 * charEnd;
    if (inside && IsVariableField(run.style))
      return std::min(backward ? 2 * charStart : 2 * charEnd, 2 * m_text.GetLength());
    charStart = charEnd;
  }
  return position;
}

TextInputEditor::Outcome TextInputEditor::Erase(uint16_t key) {
  Outcome outcome;
  outcome.handled = true;
  int32_t start = 0;
  int32_t end = 0;
  if (m_text.GetSelection(start, end))
    return DeleteSelection();
  int32_t position = 0;
  if (!m_text.GetCaret(position))
    return outcome;
  if (key == kBackspace) {
    // At the start there is nothing behind the caret to erase.
    if (!m_text.PreviousPosition(position))
      return outcome;
    m_text.SetCaret(position);
  }
  const int32_t length = m_text.GetLength();
  m_text.DeleteNextChar();
  if (m_text.GetLength() == length)
    return outcome;
  return Changed();
}

TextInputEditor::Outcome TextInputEditor::DeleteSelection() {
  int32_t start = 0;
  int32_t end = 0;
  if (!m_text.GetSelection(start, end)) {
    Outcome outcome;
    outcome.handled = true;
    return outcome;
  }
  m_text.InsertText("", 0);
  return Changed();
}

TextInputEditor::Outcome TextInputEditor::OnChar(uint8_t c, bool shiftDown) {
  Outcome outcome;
  switch (c) {
  case kCopyCharacter:
    outcome.handled = true;
    outcome.clipboard = ClipboardUse::kCopy;
    return outcome;
  case kPasteCharacter:
    outcome.handled = true;
    outcome.clipboard = ClipboardUse::kPaste;
    return outcome;
  case kCutCharacter:
    outcome.handled = true;
    outcome.clipboard = ClipboardUse::kCut;
    return outcome;
  case kBackspace:
    // Backspace edits as a key; its character is only taken.
    outcome.handled = true;
    return outcome;
  case kEnter:
    if ((m_flags & kMultiLine) == 0)
      return outcome;
    c = kLineFeed;
    break;
  case kTab:
    if ((m_flags & kTabMovesFocus) != 0) {
      outcome.handled = true;
      outcome.commit = true;
      outcome.focus = shiftDown ? FocusMove::kPrevious : FocusMove::kNext;
      return outcome;
    }
    break;
  default:
    break;
  }
  outcome.handled = true;
  if (!Accepts(m_flags, c))
    return outcome;
  if (m_maxLength > 0 && m_text.GetLength() >= m_maxLength)
    return outcome;
  const char folded = static_cast<char>(FoldCase(m_flags, c));
  int32_t start = 0;
  int32_t end = 0;
  if (m_text.GetSelection(start, end)) {
    m_text.InsertChar(folded);
    m_text.GetSelection(start, end);
    m_text.SetCaret(end); // behind the character that replaced the selection
  } else {
    m_text.InsertChar(folded);
  }
  return Changed();
}

TextInputEditor::Outcome TextInputEditor::Paste(const std::string &text) {
  Outcome outcome;
  outcome.handled = true;
  if (text.empty())
    return outcome;
  m_text.InsertString(text);
  return Changed();
}

bool TextInputEditor::SelectedText(std::string &text) const {
  int32_t start = 0;
  int32_t end = 0;
  text.clear();
  if (!m_text.GetSelection(start, end))
    return false;
  m_text.GetSelectedText(text);
  return !text.empty();
}
