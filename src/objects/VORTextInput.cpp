// The text object as an input field bound to a variable, and reading
// along with a sound.
#include <windows.h>

#include "objects/VORText.h"

#include <algorithm>
#include <memory>

#include "display/VORKeyboardObjectAction.h"
#include "display/VORPlayerView.h"
#include "display/VORRunView.h"
#include "model/VORApp.h"
#include "model/VORClassRegistry.h"
#include "model/VORRecursiveObjectContainer.h"
#include "model/VORSynchronizationObjectAction.h"
#include "model/VORTrigger.h"
#include "objects/TextClipboard.h"

namespace {

constexpr int32_t kStartReadAlong = 200;
constexpr int32_t kStopReadAlong = 201;
// The sound objects' play and stop actions (start 0, end -1: the whole
// sound); made through the class table, which holds the sound layer's
// action class.
constexpr uint32_t kSoundActionClassKey = VORObjectCode::MakeClassKey(3, 4);

void CollectInputFields(VORRecursiveObjectContainer &level, std::vector<VORText *> &fields) {
  const uint32_t count = level.GetChildCount();
  for (uint32_t i = 0; i < count; ++i) {
    VORRecursiveObjectContainer *child = level.ChildAt(i);
    if (child == nullptr)
      continue;
    auto *text = dynamic_cast<VORText *>(child);
    if (text != nullptr && text->IsInputField() && text->IsVisible())
      fields.push_back(text);
    CollectInputFields(*child, fields);
  }
}

uint32_t Now() {
  VORApp *app = VORApp::Get();
  return app != nullptr ? app->GetTickTime() : 0;
}

} // namespace

// --- Input field ----------------------------------------------------------------

bool VORText::IsInputField() { return (GetTextProperties().inputFlags & TextInputEditor::kInputField) != 0; }

TextInputEditor VORText::Editor() {
  const VORTextProperties &properties = GetTextProperties();
  return TextInputEditor(*this, properties.inputFlags, static_cast<int32_t>(properties.maxLength));
}

VORRunView *VORText::GetRunView() const {
  VORView *view = GetView();
  return view != nullptr && view->IsInteractive() ? view->AsRunView() : nullptr;
}

void VORText::Show(int32_t depth) {
  const bool wasVisible = IsVisible();
  VORHotSpot::Show(depth);
  if (wasVisible || !IsVisible() || GetGraphicalProperties().leadingFlags != 0)
    return;
  const VORTextProperties &properties = GetTextProperties();
  if (IsInputField() && (properties.inputFlags & TextInputEditor::kFocusWhenShown) != 0)
    TakeInputFocus();
  if ((properties.textFlags & kReadAlongWhenShown) != 0 && IsInInteractiveView())
    StartReadAlong();
}

void VORText::Hide(int32_t depth) {
  if (m_inputFocus)
    MoveInputFocus(TextInputEditor::FocusMove::kNone);
  m_caret.Remove();
  if (m_readAlong.IsRunning())
    StopReadAlong();
  VORHotSpot::Hide(depth);
}

void VORText::LeaveInputField() {
  if (IsInputField())
    CommitInput();
  if (m_inputFocus)
    MoveInputFocus(TextInputEditor::FocusMove::kNone);
  m_inputFocus = false;
  m_mouseSelecting = false;
  m_caret.Remove();
  m_readAlong.Stop();
}

void VORText::CommitInput() {
  VORApp *app = VORApp::Get();
  VORTextProperties &properties = GetTextProperties();
  if (app == nullptr || !IsVisible() || !IsInInteractiveView() || properties.inputVariable.empty())
    return;
  std::string text = GetText();
  if (!text.empty() && text.back() == '\n')
    text.pop_back();
  // The change's notice comes back to this field: it must not reload the
  // text it was made from.
  properties.inputFlags &= ~TextInputEditor::kInputField;
  app->SetVariableValue(XQString(properties.inputVariable.c_str()), XQString(text.c_str()));
  properties.inputFlags |= TextInputEditor::kInputField;
}

void VORText::LoadInputField(bool keepSelection) {
  VORApp *app = VORApp::Get();
  if (app == nullptr)
    return;
  const std::string value = app->GetVariableValue(XQString(GetTextProperties().inputVariable.c_str())).CStr();
  const SavedSelection saved = SaveSelection();
  SelectAll();
  InsertString(value);
  ClearSelection();
  HideCaret();
  if (keepSelection && m_inputFocus)
    RestoreSelection(saved);
  UpdateCaret(true);
  Redraw();
}

void VORText::TakeInputFocus() {
  VORRunView *view = GetRunView();
  if (view == nullptr)
    return;
  view->SetFocusObject(this);
  m_inputFocus = true;
  SetCaret(0);
  UpdateCaret(true);
  Redraw();
}

void VORText::MoveInputFocus(TextInputEditor::FocusMove move) {
  VORRunView *view = GetRunView();
  if (view == nullptr || move == TextInputEditor::FocusMove::kStay)
    return;
  VORRecursiveObjectContainer *objects = view->GetInputObjects();
  if (move == TextInputEditor::FocusMove::kNone || objects == nullptr) {
    if (view->GetInput().GetFocusObject() == this)
      view->SetFocusObject(nullptr);
    else
      OnInputFocusLost();
    return;
  }
  std::vector<VORText *> fields;
  CollectInputFields(*objects, fields);
  const auto here = std::find(fields.begin(), fields.end(), this);
  if (fields.empty() || here == fields.end())
    return;
  const auto count = static_cast<ptrdiff_t>(fields.size());
  const ptrdiff_t index = here - fields.begin();
  const ptrdiff_t step = move == TextInputEditor::FocusMove::kNext ? 1 : count - 1;
  fields[static_cast<size_t>((index + step) % count)]->TakeInputFocus();
}

void VORText::OnInputFocusLost() {
  const bool hadFocus = m_inputFocus;
  m_inputFocus = false;
  m_mouseSelecting = false;
  ClearSelection();
  XQRichText::HideCaret();
  m_caret.Remove();
  // What was typed counts once the field is left, whatever took the focus.
  if (hadFocus)
    CommitInput();
  if ((GetTextProperties().inputFlags & TextInputEditor::kEnterOnFocusLoss) != 0)
    FireEvents(VORKeyboardTrigger(TextInputEditor::kEnter));
  Redraw();
}

bool VORText::HandleInputMouse(const VORGraphicalObjectAction &action) {
  VORRunView *view = GetRunView();
  if (!IsInputField() || view == nullptr || !IsVisible() || GetGraphicalProperties().leadingFlags != 0)
    return false;
  const VORRect rect = GetRect();
  const int32_t x = action.GetPoint().x - rect.left - m_marginX;
  const int32_t y = action.GetPoint().y - rect.top - m_marginY;
  switch (action.GetActionCode()) {
  case VORInput::kLeftDown:
    if (!VORHotSpot::HitTest(action.GetPoint().x, action.GetPoint().y))
      return false;
    if (!m_inputFocus) {
      view->SetFocusObject(this);
      m_inputFocus = true;
    }
    view->SetDraggedObject(this);
    ClearSelection();
    SetCaretAtPoint(x, y);
    m_mouseSelecting = true;
    UpdateCaret(false);
    Redraw();
    return true;
  case VORInput::kPointerMoved:
    if (!m_inputFocus || !m_mouseSelecting)
      return false;
    ExtendSelectionToPoint(x, y);
    Redraw();
    UpdateCaret(false);
    return true;
  case VORInput::kLeftUp:
  case VORInput::kLeftDoubleClick:
    view->EndDrag(*this);
    if (!m_inputFocus)
      return false;
    ExtendSelectionToPoint(x, y);
    m_mouseSelecting = false;
    UpdateCaret(false);
    Redraw();
    return true;
  case VORInput::kFocusLost:
    OnInputFocusLost();
    return true;
  default:
    return false;
  }
}

bool VORText::HandleInputKey(const VORKeyboardObjectAction &action) {
  VORRunView *view = GetRunView();
  if (!IsInputField() || !m_inputFocus || view == nullptr)
    return false;
  const int32_t code = action.GetActionCode();
  if (code == VORKeyboardObjectAction::kKeyUp)
    return true;
  if (m_mouseSelecting)
    return false;
  const uint32_t modifiers = view->GetModifierBits();
  TextInputEditor editor = Editor();
  if (code == VORKeyboardObjectAction::kCharacter) {
    const TextInputEditor::Outcome outcome =
        editor.OnChar(static_cast<uint8_t>(action.GetWParam()), (modifiers & TextInputEditor::kShift) != 0);
    CarryOut(outcome);
    return outcome.handled;
  }
  if (code != VORKeyboardObjectAction::kKeyDown)
    return false;
  const TextInputEditor::Outcome outcome = editor.OnKey(action.GetKeyCode(), modifiers);
  if (action.GetKeyCode() != TextInputEditor::kEnter) {
    CarryOut(outcome);
    return outcome.handled;
  }
  // Enter fires the key's own trigger: the focus it moves away must not
  // fire it a second time.
  uint32_t &flags = GetTextProperties().inputFlags;
  const uint32_t saved = flags;
  flags &= ~TextInputEditor::kEnterOnFocusLoss;
  CarryOut(outcome);
  flags = (flags & ~TextInputEditor::kEnterOnFocusLoss) | (saved & TextInputEditor::kEnterOnFocusLoss);
  return outcome.handled;
}

void VORText::CarryOut(const TextInputEditor::Outcome &outcome) {
  if (outcome.beep)
    MessageBeep(static_cast<UINT>(-1));
  if (outcome.clipboard != TextInputEditor::ClipboardUse::kNone)
    UseClipboard(outcome.clipboard);
  if (outcome.textChanged || outcome.caretMoved) {
    Redraw();
    UpdateCaret(true);
  }
  if (outcome.commit)
    CommitInput();
  if (outcome.focus != TextInputEditor::FocusMove::kStay)
    MoveInputFocus(outcome.focus);
}

void VORText::UseClipboard(TextInputEditor::ClipboardUse use) {
  TextInputEditor editor = Editor();
  std::string text;
  switch (use) {
  case TextInputEditor::ClipboardUse::kCopy:
    if (editor.SelectedText(text))
      TextClipboard::PutText(text);
    return;
  case TextInputEditor::ClipboardUse::kCut:
    if (editor.SelectedText(text) && TextClipboard::PutText(text))
      CarryOut(editor.DeleteSelection());
    return;
  case TextInputEditor::ClipboardUse::kPaste:
    if (TextClipboard::GetText(text))
      CarryOut(editor.Paste(text));
    return;
  case TextInputEditor::ClipboardUse::kNone:
    return;
  }
}

void VORText::UpdateCaret(bool scroll) {
  int32_t position = 0;
  if (!m_inputFocus || !GetCaret(position)) {
    m_caret.Remove();
    int32_t start = 0;
    int32_t end = 0;
    if (scroll && GetSelection(start, end))
      ScrollPositionIntoView(GetCaretPosition());
    return;
  }
  if (scroll)
    ScrollPositionIntoView(position);
  VORRect box;
  GetPositionRect(box, position);
  const VORRect rect = GetRect();
  box = box.Offset(rect.left + m_marginX, rect.top + m_marginY);
  box.top = std::max(box.top, rect.top);
  box.bottom = std::min(box.bottom, rect.bottom);
  VORView *view = GetView();
  if (view == nullptr || box.bottom <= box.top || box.left < rect.left || box.left >= rect.right) {
    m_caret.Remove();
    return;
  }
  if (auto *playerView = dynamic_cast<VORPlayerView *>(view))
    box = playerView->PageToClientRect(box);
  m_caret.Place(view->GetWindow(), box);
}

void VORText::ScrollPositionIntoView(int32_t position) {
  int32_t x = 0;
  int32_t y = 0;
  GetScrollOffset(x, y);
  int32_t newX = x;
  int32_t newY = y;
  const bool vertical = !IsInputField() || (GetTextProperties().inputFlags & TextInputEditor::kMultiLine) != 0;
  if (vertical) {
    const int32_t visible = GetVisibleHeight();
    const std::vector<TextLine> &lines = GetLines();
    const int32_t line = GetLineAtPosition(position);
    if (GetTextHeight() >= visible && line >= 0 && line < static_cast<int32_t>(lines.size())) {
      const TextLine &at = lines[static_cast<size_t>(line)];
      if (at.top < y) {
        newY = at.top;
      } else if (at.Bottom() > y + visible) {
        // The smallest line top that still shows the whole line.
        for (const TextLine &candidate : lines)
          if (candidate.top >= at.Bottom() - visible) {
            newY = candidate.top;
            break;
          }
      }
    }
  } else {
    VORRect box;
    GetPositionRect(box, position);
    int32_t width = 0;
    int32_t height = 0;
    GetFrameSize(width, height);
    if (box.left > width)
      newX = x + box.left - width + 2;
    else if (box.left < 0)
      newX = std::max(x - (2 - box.left), 0);
  }
  if (newX == x && newY == y)
    return;
  SetScrollOffset(newX, newY);
  Redraw();
}

// --- Read-along -----------------------------------------------------------------

TextReadAlong::Segments VORText::ReadAlongSegments() {
  const VORTextProperties &properties = GetTextProperties();
  return TextReadAlong::Segments{properties.segmentTags, properties.segmentEnds};
}

namespace {

// Plays or stops the read-along's sound.
void PostSoundAction(const VORText &text, const VORObjectCode &sound, int32_t code) {
  VORApp *app = VORApp::Get();
  if (app == nullptr || sound.IsZero())
    return;
  std::unique_ptr<VORCodedObject> made(VORClassRegistry::Instance().Create(kSoundActionClassKey, 0));
  auto *action = dynamic_cast<VORObjectAction *>(made.get());
  if (action != nullptr)
    made.release();
  else
    action = new VORObjectAction(VORObjectAction::kClassKey, 0); // a program without sound objects
  action->SetActionCode(code);
  action->SetTarget(sound);
  action->SetOriginObject(text.GetViewReference());
  action->SetOriginPage(text.GetPageReference());
  app->ScheduleAction(0, action, nullptr);
}

} // namespace

void VORText::StartReadAlong() {
  if (!m_readAlong.Arm(*this, ReadAlongSegments()))
    return;
  PostSoundAction(*this, GetTextProperties().readAlongSound, kStartReadAlong);
  Redraw();
}

void VORText::StopReadAlong() {
  if (ReadAlongSegments().Count() == 0)
    return;
  PostSoundAction(*this, GetTextProperties().readAlongSound, kStopReadAlong);
  m_readAlong.Stop();
  StepReadAlong();
}

void VORText::StepReadAlong() {
  if (ReadAlongSegments().Count() == 0)
    return;
  const TextReadAlong::Step step =
      m_readAlong.DoStep(*this, ReadAlongSegments(), GetTextProperties().highlightStyle, Now());
  if (step.scrollTo >= 0)
    ScrollPositionIntoView(step.scrollTo);
  Redraw();
  VORApp *app = VORApp::Get();
  if (!step.postNext || app == nullptr)
    return;
  auto next = std::make_unique<TextReadAlong::StepAction>(m_readAlong.GetGeneration());
  next->SetTarget(GetObjectCode());
  next->SetOriginObject(GetViewReference());
  next->SetOriginPage(GetPageReference());
  app->ScheduleAction(step.delay, next.release(), nullptr);
}

bool VORText::HandleReadAlongAction(VORObjectAction &action) {
  switch (action.GetActionCode()) {
  case kStartReadAlong:
    StartReadAlong();
    return true;
  case kStopReadAlong:
    StopReadAlong();
    return true;
  case TextReadAlong::kStepAction:
    // A step of a read-along that was stopped or started again since.
    if (auto *step = dynamic_cast<TextReadAlong::StepAction *>(&action);
        step != nullptr && !m_readAlong.IsCurrent(*step))
      return true;
    StepReadAlong();
    return true;
  case VORSynchronizationObjectAction::kStarted:
    if (auto *sync = dynamic_cast<VORSynchronizationObjectAction *>(&action);
        sync != nullptr && sync->GetSender().Equals(GetTextProperties().readAlongSound) &&
        m_readAlong.OnSoundStarted(Now()))
      StepReadAlong();
    // The notice also fires the object's own synchronisation triggers.
    return false;
  default:
    return false;
  }
}
