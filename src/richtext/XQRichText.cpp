#include "richtext/XQRichText.h"

#include <algorithm>
#include <cstring>

namespace {

// Paragraph fields a replaced text hands on to the text that replaces it.
constexpr uint32_t kKeptParagraphFields = TextStyle::kAlignment | TextStyle::kSpacing | TextStyle::kLeftIndent |
                                          TextStyle::kRightIndent | TextStyle::kFirstIndent;

uint64_t Mix(uint64_t hash, uint64_t value) {
  hash ^= value + 0x9E3779B97F4A7C15ULL + (hash << 6) + (hash >> 2);
  return hash;
}

// Equal styles hash alike: only the effective values go in.
uint64_t StyleHash(const TextStyle &style) {
  uint64_t hash = std::hash<std::string>()(style.GetFace());
  hash = Mix(hash, static_cast<uint64_t>(style.GetSize()));
  hash = Mix(hash, (style.GetBold() ? 1u : 0u) | (style.GetItalic() ? 2u : 0u) | (style.GetUnderline() ? 4u : 0u) |
                       (style.GetSubscript() ? 8u : 0u) | (style.GetSuperscript() ? 16u : 0u) |
                       (style.GetBullet() ? 32u : 0u));
  hash = Mix(hash, style.GetTextColor());
  RichColor colour = 0;
  hash = Mix(hash, style.GetBackgroundColor(colour) ? colour : 0x1000000u);
  hash = Mix(hash, style.GetShadowColor(colour) ? colour : 0x1000000u);
  hash = Mix(hash, static_cast<uint64_t>(style.GetAlignment()));
  hash = Mix(hash, static_cast<uint64_t>(style.GetSpacing()));
  hash = Mix(hash, static_cast<uint64_t>(style.GetLeftIndent()));
  hash = Mix(hash, static_cast<uint64_t>(style.GetRightIndent()));
  hash = Mix(hash, static_cast<uint64_t>(style.GetFirstIndent()));
  hash = Mix(hash, style.GetTabs().Stops().size());
  hash = Mix(hash, style.GetTagIds().Ids().size());
  return hash;
}

bool IsClosingNewline(const std::vector<TextRun> &runs, size_t index, bool holdsClosingNewline) {
  return holdsClosingNewline && index + 1 == runs.size() && runs[index].text == "\n";
}

} // namespace

XQRichText::XQRichText(RichTextMeasurer &measurer) : m_measurer(measurer), m_dpi(measurer.GetDeviceResolution()) {
  m_baseStyles.push_back(std::make_unique<TextStyle>(TextStyle::MakeDefault()));
  m_styleIndex.emplace(StyleHash(*m_baseStyles.front()), m_baseStyles.front().get());
  m_runs.push_back(TextRun{"\n", m_baseStyles.front().get()});
}

XQRichText::~XQRichText() = default;

std::string XQRichText::GetText() const {
  std::string text;
  text.reserve(static_cast<size_t>(m_length) + 1);
  for (const TextRun &run : m_runs)
    text += run.text;
  return text;
}

void XQRichText::RecountLength() {
  size_t length = 0;
  for (const TextRun &run : m_runs)
    length += run.text.size();
  m_length = static_cast<int32_t>(length) - 1;
}

XQRichText::RunPlace XQRichText::Locate(int32_t charIndex) const {
  int32_t start = 0;
  for (size_t i = 0; i < m_runs.size(); ++i) {
    const auto size = static_cast<int32_t>(m_runs[i].text.size());
    if (charIndex < start + size)
      return RunPlace{i, charIndex - start};
    start += size;
  }
  return RunPlace{m_runs.size() - 1, static_cast<int32_t>(m_runs.back().text.size())};
}

int32_t XQRichText::RunCharStart(size_t run) const {
  int32_t start = 0;
  for (size_t i = 0; i < run && i < m_runs.size(); ++i)
    start += static_cast<int32_t>(m_runs[i].text.size());
  return start;
}

size_t XQRichText::ParagraphFirstRun(size_t run) const {
  while (run > 0 && (m_runs[run - 1].text.empty() || m_runs[run - 1].text.back() != '\n'))
    --run;
  return run;
}

size_t XQRichText::ParagraphLastRun(size_t run) const {
  while (run + 1 < m_runs.size() && (m_runs[run].text.empty() || m_runs[run].text.back() != '\n'))
    ++run;
  return run;
}

// Caret and selection.

bool XQRichText::SetCaret(int32_t position) {
  if (position < 0 || position > 2 * m_length)
    return false;
  m_caret = m_anchor = position;
  m_hasSelection = false;
  m_caretShown = true;
  return true;
}

bool XQRichText::SetCaretAtPoint(int32_t x, int32_t y) { return SetCaret(PositionFromPoint(x, y)); }

void XQRichText::ExtendSelection(int32_t position) {
  position = std::clamp(position, 0, 2 * m_length);
  const int32_t low = std::min(m_anchor, position);
  const int32_t high = std::max(m_anchor, position);
  const int32_t start = (low + 1) & ~1;
  const int32_t end = (high & 1) ? high : high - 1;
  m_caret = position;
  if (end < start) {
    m_hasSelection = false;
    m_caretShown = true;
    return;
  }
  m_selectionStart = start;
  m_selectionEnd = end;
  m_hasSelection = true;
}

void XQRichText::ExtendSelectionToPoint(int32_t x, int32_t y) { ExtendSelection(PositionFromPoint(x, y)); }

bool XQRichText::MoveCaret(int32_t position) {
  if (position < 0 || position > 2 * m_length)
    return false;
  m_caret = position;
  m_hasSelection = false;
  m_caretShown = true;
  return true;
}

void XQRichText::ClearSelection() {
  m_hasSelection = false;
  m_anchor = m_caret;
}

void XQRichText::SelectAll() {
  SetCaret(0);
  ExtendSelection(2 * m_length);
}

bool XQRichText::GetSelection(int32_t &start, int32_t &end) const {
  start = m_selectionStart;
  end = m_selectionEnd;
  return m_hasSelection;
}

bool XQRichText::GetCaret(int32_t &position) const {
  position = m_caret;
  return m_caretShown && !m_hasSelection;
}

XQRichText::SavedSelection XQRichText::SaveSelection() const {
  SavedSelection saved;
  saved.anchor = m_anchor;
  if (m_hasSelection) {
    saved.start = m_selectionStart;
    saved.end = m_selectionEnd;
  } else {
    saved.start = m_caret;
  }
  return saved;
}

void XQRichText::RestoreSelection(const SavedSelection &saved) {
  const int32_t last = 2 * m_length;
  if (saved.end == kNoPosition) {
    SetCaret(std::clamp(saved.start, 0, last));
    m_anchor = std::clamp(saved.anchor, 0, last);
    return;
  }
  const int32_t start = std::clamp(saved.start, 0, last);
  const int32_t end = std::clamp(saved.end, 0, last);
  m_anchor = start;
  ExtendSelection(end);
  m_anchor = std::clamp(saved.anchor, 0, last);
}

void XQRichText::SelectionChars(int32_t &start, int32_t &end) const {
  if (m_hasSelection) {
    start = m_selectionStart / 2;
    end = std::min((m_selectionEnd + 1) / 2, m_length);
  } else {
    start = end = CaretChar();
  }
}

int32_t XQRichText::CaretChar() const { return std::min((m_caret + 1) / 2, m_length); }

void XQRichText::SelectRange(int32_t startChar, int32_t endChar) {
  if (endChar <= startChar) {
    SetCaret(2 * startChar);
    return;
  }
  m_anchor = 2 * startChar;
  m_caret = 2 * endChar - 1;
  m_selectionStart = 2 * startChar;
  m_selectionEnd = 2 * endChar - 1;
  m_hasSelection = true;
}

bool XQRichText::SelectTaggedText(int32_t tagId) {
  const int32_t from = m_hasSelection ? (m_selectionEnd + 1) / 2 : CaretChar();
  int32_t start = -1;
  int32_t end = -1;
  int32_t charStart = 0;
  // The closing newline belongs to no tagged stretch.
  for (size_t i = 0; i + 1 < m_runs.size(); ++i) {
    const TextRun &run = m_runs[i];
    const int32_t runEnd = charStart + static_cast<int32_t>(run.text.size());
    if (runEnd > from && run.style->GetTagIds().Contains(tagId)) {
      if (start < 0)
        start = std::max(charStart, from);
      end = runEnd;
    } else if (start >= 0) {
      break;
    }
    charStart = runEnd;
  }
  if (start < 0 || end <= start)
    return false;
  SelectRange(start, end);
  return true;
}

// Position steps.

bool XQRichText::PreviousPosition(int32_t &position) const {
  if (position <= 0)
    return false;
  int32_t previous = std::max(0, position - 2);
  if (previous & 1) {
    const RunPlace place = Locate(previous / 2);
    if (m_runs[place.run].text[static_cast<size_t>(place.offset)] == '\n')
      --previous; // back over the newline to the end of the paragraph before
  }
  position = previous;
  return true;
}

bool XQRichText::NextPosition(int32_t &position) const {
  if (position >= 2 * m_length)
    return false;
  int32_t next = std::min(position + 2, 2 * m_length);
  if (next & 1) {
    const RunPlace place = Locate(next / 2);
    if (m_runs[place.run].text[static_cast<size_t>(place.offset)] == '\n')
      ++next; // over the paragraph's newline to the next paragraph's start
  }
  position = std::min(next, 2 * m_length);
  return true;
}

int32_t XQRichText::LastPosition() const {
  // An empty text has no character before its end to stand on.
  return std::max(0, 2 * m_length - 2);
}

// Editing.

void XQRichText::InsertText(const char *text, int32_t length) {
  if (!text)
    return;
  const size_t size = length < 0 ? std::strlen(text) : static_cast<size_t>(length);
  std::string inserted(text, size);
  // A NUL would end the run's text early.
  inserted.erase(std::remove(inserted.begin(), inserted.end(), '\0'), inserted.end());
  const bool replacing = m_hasSelection;
  int32_t start = 0;
  int32_t end = 0;
  SelectionChars(start, end);
  if (!replacing && inserted.empty())
    return;
  const int32_t newEnd = ReplaceChars(start, end, inserted);
  if (replacing) {
    SelectRange(start, newEnd);
  } else if (!inserted.empty() && inserted.back() == '\n') {
    SetCaret(2 * newEnd);
  } else {
    SetCaret(2 * newEnd - 1);
  }
}

void XQRichText::DeleteNextChar() {
  if (!m_hasSelection) {
    const int32_t at = CaretChar();
    if (at >= m_length)
      return;
    m_anchor = 2 * at;
    ExtendSelection(2 * at + 1);
  }
  InsertText("", 0);
}

size_t XQRichText::SplitAt(int32_t charIndex) {
  const RunPlace place = Locate(charIndex);
  if (place.offset == 0)
    return place.run;
  TextRun &run = m_runs[place.run];
  TextRun tail{run.text.substr(static_cast<size_t>(place.offset)), run.style};
  run.text.resize(static_cast<size_t>(place.offset));
  m_runs.insert(m_runs.begin() + static_cast<std::ptrdiff_t>(place.run) + 1, std::move(tail));
  return place.run + 1;
}

int32_t XQRichText::ReplaceChars(int32_t start, int32_t end, const std::string &text) {
  end = std::min(end, m_length);
  const bool removing = end > start;
  TextStyle kept;
  if (removing) {
    // The paragraph fields all of the removed text shares.
    RunPlace place = Locate(start);
    kept.CopyEffective(*m_runs[place.run].style);
    int32_t at = start;
    while (at < end) {
      place = Locate(at);
      kept.Narrow(*m_runs[place.run].style);
      at += static_cast<int32_t>(m_runs[place.run].text.size()) - place.offset;
    }
    // Cut the removed characters out of the runs they lie in.
    int32_t remaining = end - start;
    place = Locate(start);
    size_t run = place.run;
    auto offset = static_cast<size_t>(place.offset);
    while (remaining > 0 && run < m_runs.size()) {
      std::string &runText = m_runs[run].text;
      const size_t cut = std::min(runText.size() - offset, static_cast<size_t>(remaining));
      runText.erase(offset, cut);
      remaining -= static_cast<int32_t>(cut);
      ++run;
      offset = 0;
    }
  }
  if (!text.empty()) {
    RunPlace place = Locate(start);
    // At a run's start the text joins the run before, unless that one ends
    // a paragraph: typing goes on in the style just typed.
    if (place.offset == 0 && place.run > 0) {
      size_t before = place.run - 1;
      while (before > 0 && m_runs[before].text.empty())
        --before;
      if (!m_runs[before].text.empty() && m_runs[before].text.back() != '\n') {
        place.run = before;
        place.offset = static_cast<int32_t>(m_runs[before].text.size());
      }
    }
    m_runs[place.run].text.insert(static_cast<size_t>(place.offset), text);
  }
  const auto newEnd = start + static_cast<int32_t>(text.size());
  m_length += newEnd - end;
  if (removing && !text.empty())
    ApplyParagraphFields(start, newEnd, kept);
  AfterEdit(start, newEnd, newEnd - end);
  return newEnd;
}

void XQRichText::ApplyParagraphFields(int32_t fromChar, int32_t toChar, const TextStyle &fields) {
  TextStyle overlay;
  if (fields.GetPresenceMask() & TextStyle::kAlignment)
    overlay.SetAlignment(fields.GetAlignment());
  if (fields.GetPresenceMask() & TextStyle::kSpacing)
    overlay.SetSpacing(fields.GetSpacing());
  if (fields.GetPresenceMask() & TextStyle::kLeftIndent)
    overlay.SetLeftIndent(fields.GetLeftIndent());
  if (fields.GetPresenceMask() & TextStyle::kRightIndent)
    overlay.SetRightIndent(fields.GetRightIndent());
  if (fields.GetPresenceMask() & TextStyle::kFirstIndent)
    overlay.SetFirstIndent(fields.GetFirstIndent());
  if ((overlay.GetPresenceMask() & kKeptParagraphFields) == 0)
    return;
  const size_t first = ParagraphFirstRun(Locate(fromChar).run);
  const size_t last = ParagraphLastRun(Locate(std::max(fromChar, toChar - 1)).run);
  for (size_t i = first; i <= last; ++i) {
    TextStyle style;
    style.CopyEffective(*m_runs[i].style);
    style.LayOver(overlay);
    m_runs[i].style = FindStyle(style);
  }
}

void XQRichText::AfterEdit(int32_t fromChar, int32_t newEndChar, int32_t delta) {
  NormalizeParagraphs(fromChar, newEndChar);
  RecountLength();
  Relayout(fromChar, newEndChar, delta);
}

void XQRichText::NormalizeParagraphs(int32_t fromChar, int32_t toChar) {
  // The edited run may hold newlines anywhere until it is normalised, so
  // the paragraph bounds come from the runs around it.
  size_t first = Locate(fromChar).run;
  while (first > 0 && (m_runs[first - 1].text.empty() || m_runs[first - 1].text.back() != '\n'))
    --first;
  size_t last = Locate(toChar).run;
  last = ParagraphLastRun(last);
  const bool holdsClosing = last + 1 == m_runs.size();
  std::vector<TextRun> slice(std::make_move_iterator(m_runs.begin() + static_cast<std::ptrdiff_t>(first)),
                             std::make_move_iterator(m_runs.begin() + static_cast<std::ptrdiff_t>(last) + 1));
  std::vector<TextRun> normal = NormalizeRuns(std::move(slice), false, holdsClosing);
  const size_t oldCount = last + 1 - first;
  if (normal.size() == oldCount) {
    std::move(normal.begin(), normal.end(), m_runs.begin() + static_cast<std::ptrdiff_t>(first));
    return;
  }
  m_runs.erase(m_runs.begin() + static_cast<std::ptrdiff_t>(first),
               m_runs.begin() + static_cast<std::ptrdiff_t>(last) + 1);
  m_runs.insert(m_runs.begin() + static_cast<std::ptrdiff_t>(first), std::make_move_iterator(normal.begin()),
                std::make_move_iterator(normal.end()));
}

std::vector<TextRun> XQRichText::NormalizeRuns(std::vector<TextRun> runs, bool splitTabs, bool holdsClosingNewline) {
  // Split after every newline (and before tabs when asked); drop empty runs.
  std::vector<TextRun> split;
  split.reserve(runs.size() + 1);
  for (TextRun &run : runs) {
    size_t begin = 0;
    const std::string &text = run.text;
    for (size_t i = 0; i < text.size(); ++i) {
      if (splitTabs && text[i] == '\t' && i > begin) {
        split.push_back(TextRun{text.substr(begin, i - begin), run.style});
        begin = i;
      }
      if (text[i] == '\n') {
        split.push_back(TextRun{text.substr(begin, i + 1 - begin), run.style});
        begin = i + 1;
      }
    }
    if (begin == 0 && !text.empty())
      split.push_back(std::move(run));
    else if (begin < text.size())
      split.push_back(TextRun{text.substr(begin), run.style});
  }
  // The closing newline stands alone.
  if (holdsClosingNewline && !split.empty() && split.back().text.size() > 1) {
    TextRun &last = split.back();
    last.text.pop_back();
    split.push_back(TextRun{"\n", last.style});
  }
  // Every run of a paragraph takes the paragraph fields of its first run.
  size_t paragraphFirst = 0;
  for (size_t i = 0; i < split.size(); ++i) {
    const TextStyle &lead = *split[paragraphFirst].style;
    if (i != paragraphFirst && split[i].style != &lead && !split[i].style->SameParagraphFields(lead)) {
      TextStyle style;
      style.CopyEffective(*split[i].style);
      TextStyle fields;
      fields.SetAlignment(lead.GetAlignment());
      fields.SetSpacing(lead.GetSpacing());
      fields.SetLeftIndent(lead.GetLeftIndent());
      fields.SetRightIndent(lead.GetRightIndent());
      fields.SetFirstIndent(lead.GetFirstIndent());
      fields.SetTabs(lead.GetTabs());
      fields.SetBullet(lead.GetBullet());
      style.LayOver(fields);
      split[i].style = FindStyle(style);
    }
    if (split[i].text.back() == '\n')
      paragraphFirst = i + 1;
  }
  // Neighbours of one style merge.
  std::vector<TextRun> merged;
  merged.reserve(split.size());
  for (size_t i = 0; i < split.size(); ++i) {
    if (!merged.empty()) {
      TextRun &previous = merged.back();
      const TextRun &run = split[i];
      const bool sameStyle = previous.style == run.style || *previous.style == *run.style;
      if (sameStyle && previous.text.back() != '\n' && run.text[0] != '\t' &&
          !IsClosingNewline(split, i, holdsClosingNewline)) {
        previous.text += run.text;
        continue;
      }
    }
    merged.push_back(std::move(split[i]));
  }
  return merged;
}

const TextStyle *XQRichText::FindStyle(const TextStyle &style) {
  const uint64_t hash = StyleHash(style);
  const auto range = m_styleIndex.equal_range(hash);
  // The base list comes first.
  const TextStyle *found = nullptr;
  for (auto it = range.first; it != range.second; ++it) {
    if (*it->second == style) {
      const bool base = std::any_of(m_baseStyles.begin(), m_baseStyles.end(),
                                    [&](const std::unique_ptr<TextStyle> &entry) { return entry.get() == it->second; });
      if (base)
        return it->second;
      if (!found)
        found = it->second;
    }
  }
  if (found)
    return found;
  auto copy = std::make_unique<TextStyle>();
  copy->CopyEffective(style);
  copy->SetName(style.GetName());
  if (!copy->GetParent())
    copy->SetParent(&DefaultStyle());
  m_madeStyles.push_back(std::move(copy));
  m_styleIndex.emplace(hash, m_madeStyles.back().get());
  return m_madeStyles.back().get();
}

void XQRichText::ApplyStyleToSelection(const TextStyle &style) {
  int32_t start = 0;
  int32_t end = 0;
  SelectionChars(start, end);
  // The selected runs take the whole style; the other runs of the touched
  // paragraphs its paragraph fields, which a paragraph shares.
  if (end > start) {
    SplitAt(start);
    SplitAt(end);
  }
  TextStyle paragraphOnly;
  paragraphOnly.CopyEffective(style);
  paragraphOnly.SetParent(nullptr);
  paragraphOnly.Remove(TextStyle::kCharacterFields);
  for (uint32_t field = 1; field <= TextStyle::kTabs; field <<= 1)
    if (!style.Has(field))
      paragraphOnly.Remove(field);
  const size_t first = ParagraphFirstRun(Locate(start).run);
  const size_t last = ParagraphLastRun(Locate(std::max(start, end - 1)).run);
  int32_t charStart = RunCharStart(first);
  const int32_t from = charStart;
  for (size_t i = first; i <= last; ++i) {
    const bool selected = charStart >= start && charStart < end;
    charStart += static_cast<int32_t>(m_runs[i].text.size());
    TextStyle laid;
    laid.CopyEffective(*m_runs[i].style);
    laid.LayOver(selected ? style : paragraphOnly);
    m_runs[i].style = FindStyle(laid);
  }
  AfterEdit(from, std::max(from, charStart - 1), 0);
}

void XQRichText::GetSelectionStyle(TextStyle &style) const {
  int32_t start = 0;
  int32_t end = 0;
  SelectionChars(start, end);
  RunPlace place = Locate(start);
  style = TextStyle();
  style.CopyEffective(*m_runs[place.run].style);
  int32_t at = start + static_cast<int32_t>(m_runs[place.run].text.size()) - place.offset;
  for (size_t run = place.run + 1; at < end && run < m_runs.size(); ++run) {
    style.Narrow(*m_runs[run].style);
    at += static_cast<int32_t>(m_runs[run].text.size());
  }
  style.SetParent(nullptr);
}

void XQRichText::SetDefaultStyle(const TextStyle &style) {
  TextStyle &base = *m_baseStyles.front();
  const std::string name = base.GetName();
  TextStyle replacement = TextStyle::MakeDefault();
  replacement.CopyEffective(style);
  replacement.SetName(name);
  replacement.SetParent(nullptr);
  base = replacement;
  m_styleIndex.clear();
  for (const auto &entry : m_baseStyles)
    m_styleIndex.emplace(StyleHash(*entry), entry.get());
  for (const auto &entry : m_madeStyles)
    m_styleIndex.emplace(StyleHash(*entry), entry.get());
  Invalidate();
}

void XQRichText::GetSelectedText(std::string &text) const {
  if (!m_hasSelection)
    return;
  int32_t start = 0;
  int32_t end = 0;
  SelectionChars(start, end);
  text += GetText().substr(static_cast<size_t>(start), static_cast<size_t>(end - start));
}

// Tag effects.

void XQRichText::SetTagEffectStyle(int32_t tagId, const TextStyle &style) {
  RemoveTagEffectStyle(tagId);
  TagEffectStyle effect;
  effect.tagId = tagId;
  effect.style.CopyEffective(style);
  effect.style.SetParent(nullptr);
  m_tagEffects.push_back(effect);
  ApplyTagEffects();
}

void XQRichText::RemoveTagEffectStyle(int32_t tagId) {
  m_tagEffects.erase(std::remove_if(m_tagEffects.begin(), m_tagEffects.end(),
                                    [&](const TagEffectStyle &effect) { return effect.tagId == tagId; }),
                     m_tagEffects.end());
}

void XQRichText::CollectTagIds(TagIdList &ids) const {
  for (const TextRun &run : m_runs)
    ids.Unite(run.style->GetTagIds());
}
