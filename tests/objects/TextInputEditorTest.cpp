#include <gtest/gtest.h>

#include <string>

#include "objects/TextInputEditor.h"
#include "richtext/XQRichText.h"
#include "support/FakeTextMeasurer.h"

namespace {

using Editor = TextInputEditor;

// A field of a wide frame over the fake metrics (8 pixels a character).
class TextInputEditorTest : public ::testing::Test {
protected:
  TextInputEditorTest() { text.SetFrameSize(400, 100); }

  std::string Text() const {
    std::string all = text.GetText();
    all.pop_back(); // the closing newline
    return all;
  }
  // Types each character through the field's rules; answers the last outcome.
  Editor::Outcome Type(Editor &editor, const std::string &typed) {
    Editor::Outcome outcome;
    for (char c : typed)
      outcome = editor.OnChar(static_cast<uint8_t>(c), false);
    return outcome;
  }
  int32_t Caret() const {
    int32_t position = -1;
    return text.GetCaret(position) ? position : -1;
  }

  FakeTextMeasurer measurer;
  XQRichText text{measurer};
};

TEST_F(TextInputEditorTest, FlagsChooseTheCharactersTaken) {
  struct Case {
    uint32_t flags;
    const char *typed;
    const char *kept;
  };
  const Case cases[] = {
      // Digits only: blank and line feed always pass; a letter and a sign
      // are dropped silently.
      {Editor::kInputField | Editor::kDigits, "a1 2-\n3", "1 2\n3"},
      {Editor::kInputField | Editor::kLetters, "a1 B-", "a B"},
      {Editor::kInputField | Editor::kOtherCharacters, "a1-\t\x80", "-\t\x80"},
      {Editor::kInputField, "a1-", ""},
  };
  for (const Case &c : cases) {
    text.SelectAll();
    text.InsertString("");
    text.SetCaret(0);
    Editor editor(text, c.flags, 0);
    for (const char *p = c.typed; *p != '\0'; ++p)
      EXPECT_TRUE(editor.OnChar(static_cast<uint8_t>(*p), false).handled) << c.typed;
    EXPECT_EQ(Text(), c.kept) << "flags " << c.flags;
  }
}

TEST_F(TextInputEditorTest, CaseFoldingTurnsUpperThenLower) {
  struct Case {
    uint32_t flags;
    const char *expected;
  };
  const Case cases[] = {
      {Editor::kUpperCase, "ABC1"},
      {Editor::kLowerCase, "abc1"},
      {Editor::kUpperCase | Editor::kLowerCase, "abc1"},
      {0, "aBc1"},
  };
  for (const Case &c : cases) {
    text.SelectAll();
    text.InsertString("");
    text.SetCaret(0);
    Editor editor(text, Editor::kInputField | Editor::kLetters | Editor::kDigits | c.flags, 0);
    Type(editor, "aBc1");
    EXPECT_EQ(Text(), c.expected) << "flags " << c.flags;
  }
}

TEST_F(TextInputEditorTest, MaximumLengthBoundsTypingButNotPasting) {
  text.SetCaret(0);
  Editor editor(text, Editor::kInputField | Editor::kLetters | Editor::kDigits, 3);
  Type(editor, "abcd");
  EXPECT_EQ(Text(), "abc");
  const Editor::Outcome pasted = editor.Paste("0123456789");
  EXPECT_TRUE(pasted.textChanged);
  EXPECT_EQ(Text(), "abc0123456789");
}

TEST_F(TextInputEditorTest, BackspaceAtTheStartErasesNothing) {
  text.InsertString("xyz");
  text.SetCaret(0);
  Editor editor(text, Editor::kInputField | Editor::kCommitEveryChange, 0);
  const Editor::Outcome atStart = editor.OnKey(Editor::kBackspace, 0);
  EXPECT_TRUE(atStart.handled);
  EXPECT_FALSE(atStart.textChanged);
  EXPECT_FALSE(atStart.commit);
  EXPECT_EQ(Text(), "xyz");
  // Behind a character Backspace erases it; typing leaves the caret on the
  // character typed, odd, and Backspace still erases the one before it.
  text.SetCaret(4);
  EXPECT_TRUE(editor.OnKey(Editor::kBackspace, 0).commit);
  EXPECT_EQ(Text(), "xz");
  EXPECT_EQ(Caret(), 2);
  Editor letters(text, Editor::kInputField | Editor::kLetters, 0);
  Type(letters, "q");
  EXPECT_EQ(Text(), "xqz");
  letters.OnKey(Editor::kBackspace, 0);
  EXPECT_EQ(Text(), "xz");
  // Delete erases the character after the caret.
  text.SetCaret(0);
  editor.OnKey(Editor::kDelete, 0);
  EXPECT_EQ(Text(), "z");
}

TEST_F(TextInputEditorTest, TypingOverASelectionReplacesItAndLeavesTheCaretBehind) {
  text.InsertString("hello");
  text.SetCaret(2);
  text.ExtendSelection(8); // "ell"
  Editor editor(text, Editor::kInputField | Editor::kLetters, 0);
  Type(editor, "a");
  EXPECT_EQ(Text(), "hao");
  Type(editor, "b");
  EXPECT_EQ(Text(), "habo");
  text.SetCaret(0);
  text.ExtendSelection(4);
  editor.OnKey(Editor::kBackspace, 0);
  EXPECT_EQ(Text(), "bo");
  EXPECT_EQ(Caret(), 0);
}

TEST_F(TextInputEditorTest, EnterAndTabCommitAndMoveTheFocusAsTheFlagsSay) {
  struct Case {
    uint32_t flags;
    uint16_t key; // 0: the character below
    uint8_t character;
    bool shift;
    bool handled;
    Editor::FocusMove focus;
  };
  const Case cases[] = {
      {Editor::kInputField, Editor::kEnter, 0, false, true, Editor::FocusMove::kNone},
      {Editor::kInputField | Editor::kEnterMovesFocus, Editor::kEnter, 0, false, true, Editor::FocusMove::kNext},
      {Editor::kInputField | Editor::kTabMovesFocus, 0, '\t', false, true, Editor::FocusMove::kNext},
      {Editor::kInputField | Editor::kTabMovesFocus, 0, '\t', true, true, Editor::FocusMove::kPrevious},
      // A single-line field leaves the Enter character to others.
      {Editor::kInputField, 0, '\r', false, false, Editor::FocusMove::kStay},
  };
  for (const Case &c : cases) {
    Editor editor(text, c.flags, 0);
    const Editor::Outcome outcome = c.key != 0 ? editor.OnKey(c.key, 0) : editor.OnChar(c.character, c.shift);
    EXPECT_EQ(outcome.handled, c.handled) << c.flags << " " << c.key;
    EXPECT_EQ(outcome.commit, c.focus != Editor::FocusMove::kStay) << c.flags << " " << c.key;
    EXPECT_EQ(outcome.focus, c.focus) << c.flags << " " << c.key;
  }
  // A multi-line field takes Enter as a line break, and its key moves nothing.
  Editor multiLine(text, Editor::kInputField | Editor::kMultiLine, 0);
  EXPECT_FALSE(multiLine.OnKey(Editor::kEnter, 0).handled);
  text.SetCaret(0);
  EXPECT_TRUE(multiLine.OnChar('\r', false).textChanged);
  EXPECT_EQ(text.GetText(), "\n\n");
}

TEST_F(TextInputEditorTest, ArrowsMoveExtendAndCollapse) {
  text.InsertString("abcd");
  text.SetCaret(2);
  Editor editor(text, Editor::kInputField, 0);
  EXPECT_TRUE(editor.OnKey(Editor::kRight, 0).caretMoved);
  EXPECT_EQ(Caret(), 4);
  editor.OnKey(Editor::kRight, Editor::kShift);
  int32_t start = 0;
  int32_t end = 0;
  ASSERT_TRUE(text.GetSelection(start, end));
  EXPECT_EQ(start, 4);
  EXPECT_EQ(end, 5);
  // Left collapses a selection at its start, Right at its end.
  editor.OnKey(Editor::kLeft, 0);
  EXPECT_EQ(Caret(), 4);
  text.ExtendSelection(6);
  editor.OnKey(Editor::kRight, 0);
  EXPECT_EQ(Caret(), 5);
  editor.OnKey(Editor::kHome, Editor::kCtrl);
  EXPECT_EQ(Caret(), 0);
  // At the start there is nowhere to go: the move beeps and changes nothing.
  const Editor::Outcome blocked = editor.OnKey(Editor::kLeft, 0);
  EXPECT_TRUE(blocked.beep);
  EXPECT_FALSE(blocked.caretMoved);
  editor.OnKey(Editor::kEnd, Editor::kCtrl);
  EXPECT_EQ(Caret(), 8); // behind the last character: typing appends
  Editor others(text, Editor::kInputField | Editor::kLetters, 0);
  Type(others, "e");
  EXPECT_EQ(Text(), "abcde");
}

// A variable field ("[X]", characters 2 to 4) is stepped over whole.
TEST_F(TextInputEditorTest, TheCaretDoesNotStopInsideAVariableField) {
  text.LoadRtf("{\\rtf1 ab{\\id-1 [X]}cd}");
  Editor editor(text, Editor::kInputField, 0);
  text.SetCaret(4);
  editor.OnKey(Editor::kRight, 0);
  EXPECT_EQ(Caret(), 10);
  editor.OnKey(Editor::kLeft, 0);
  EXPECT_EQ(Caret(), 4);
}

TEST_F(TextInputEditorTest, ClipboardKeysAskForTheClipboard) {
  Editor editor(text, Editor::kInputField, 0);
  EXPECT_EQ(editor.OnChar(Editor::kCopyCharacter, false).clipboard, Editor::ClipboardUse::kCopy);
  EXPECT_EQ(editor.OnChar(Editor::kPasteCharacter, false).clipboard, Editor::ClipboardUse::kPaste);
  EXPECT_EQ(editor.OnChar(Editor::kCutCharacter, false).clipboard, Editor::ClipboardUse::kCut);
  EXPECT_EQ(editor.OnKey(Editor::kInsert, Editor::kShift).clipboard, Editor::ClipboardUse::kPaste);
  EXPECT_EQ(editor.OnKey(Editor::kInsert, Editor::kCtrl).clipboard, Editor::ClipboardUse::kCopy);
  EXPECT_EQ(editor.OnKey(Editor::kDelete, Editor::kShift).clipboard, Editor::ClipboardUse::kCut);
  text.InsertString("copy me");
  std::string selected;
  EXPECT_FALSE(editor.SelectedText(selected));
  text.SetCaret(0);
  text.ExtendSelection(8);
  ASSERT_TRUE(editor.SelectedText(selected));
  EXPECT_EQ(selected, "copy");
  EXPECT_TRUE(editor.DeleteSelection().textChanged);
  EXPECT_EQ(Text(), " me");
}

} // namespace
