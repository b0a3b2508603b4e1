#include "objects/TextReadAlong.h"

#include <algorithm>

#include "richtext/XQRichText.h"

TextReadAlong::StepAction::StepAction(uint32_t stepGeneration)
    : VORObjectAction(kClassKey, 0), generation(stepGeneration) {
  SetActionCode(kStepAction);
}

TextReadAlong::StepAction::~StepAction() = default;

void TextReadAlong::ClearHighlights(XQRichText &text, Segments segments) {
  for (size_t i = 0; i < segments.Count(); ++i)
    text.RemoveTagEffectStyle(segments.tags[i]);
}

bool TextReadAlong::Arm(XQRichText &text, Segments segments) {
  if (segments.Count() == 0)
    return false;
  if (m_running)
    ClearHighlights(text, segments);
  ++m_generation;
  m_index = kNotStarted;
  m_running = true;
  text.SetCaret(0);
  return true;
}

bool TextReadAlong::OnSoundStarted(uint32_t now) {
  if (!m_running || m_index != kNotStarted)
    return false;
  m_index = 0;
  m_startTime = now;
  return true;
}

void TextReadAlong::Stop() {
  m_running = false;
  ++m_generation;
}

TextReadAlong::Step TextReadAlong::DoStep(XQRichText &text, Segments segments, const TextStyle &highlight,
                                          uint32_t now) {
  Step step;
  const size_t count = segments.Count();
  if (!m_running || m_index == kNotStarted || static_cast<size_t>(m_index) >= count) {
    ClearHighlights(text, segments);
    m_running = false;
    m_index = kNotStarted;
    return step;
  }
  const auto index = static_cast<size_t>(m_index);
  if (index > 0)
    text.RemoveTagEffectStyle(segments.tags[index - 1]);
  text.SetTagEffectStyle(segments.tags[index], highlight);
  int32_t start = 0;
  int32_t end = 0;
  // A segment missing from the text leaves the caret where it was: there
  // is no selection to take a place from.
  if (text.SelectTaggedText(segments.tags[index]) && text.GetSelection(start, end)) {
    text.ClearSelection();
    step.scrollTo = start;
  }
  // Times are differences of the millisecond clock; a tick that came late
  // shortens the next delay, down to none.
  const uint32_t due = m_startTime + segments.ends[index];
  const auto delay = static_cast<int32_t>(due - now);
  step.delay = static_cast<uint32_t>(std::max(delay, 0));
  step.postNext = true;
  ++m_index;
  if (static_cast<size_t>(m_index) >= count)
    m_index = kNotStarted;
  return step;
}
