#include "richtext/TextStyle.h"

#include <algorithm>

#include "vorfile/VORFileException.h"
#include "vorfile/VORRecordFields.h"

namespace {

constexpr RichColor kDefaultBackground = 0xFFFFFF;
constexpr RichColor kDefaultShadow = 0x969696;
constexpr int32_t kDefaultSize = 12;
// More entries than any style holds: a count beyond it is a damaged record,
// refused before anything is read or allocated for it.
constexpr uint32_t kMaxListEntries = 4096;

uint32_t ReadListCount(VORFile &file) {
  const uint32_t count = VORRecordFields::ReadUint32(file);
  if (count > kMaxListEntries)
    throw VORFileCorruptFileException();
  return count;
}

} // namespace

void TabStopList::Add(const TabStop &stop) {
  const auto at = std::find_if(m_stops.begin(), m_stops.end(),
                               [&](const TabStop &existing) { return existing.position >= stop.position; });
  m_stops.insert(at, stop);
}

void TagIdList::Unite(const TagIdList &other) {
  for (int32_t id : other.m_ids)
    if (!Contains(id))
      m_ids.push_back(id);
}

bool TagIdList::Contains(int32_t id) const { return std::find(m_ids.begin(), m_ids.end(), id) != m_ids.end(); }

bool TagIdList::operator==(const TagIdList &other) const {
  std::vector<int32_t> mine = m_ids;
  std::vector<int32_t> theirs = other.m_ids;
  std::sort(mine.begin(), mine.end());
  std::sort(theirs.begin(), theirs.end());
  mine.erase(std::unique(mine.begin(), mine.end()), mine.end());
  theirs.erase(std::unique(theirs.begin(), theirs.end()), theirs.end());
  return mine == theirs;
}

TextStyle TextStyle::MakeDefault() {
  TextStyle style;
  style.m_name = "<default>";
  style.m_mask = kAllFields;
  style.m_flags = kFlagNoBackground | kFlagNoShadow;
  style.m_face = "Times New Roman";
  style.m_size = kDefaultSize;
  style.m_backgroundColor = kDefaultBackground;
  style.m_shadowColor = kDefaultShadow;
  style.m_spacing = kSingleSpacing;
  return style;
}

void TextStyle::Load(VORFile &file) {
  using namespace VORRecordFields;
  m_mask = ReadUint32(file) & kAllFields;
  m_flags = ReadUint32(file);
  if (m_mask & kFace) {
    const uint32_t length = ReadUint32(file);
    if (length > kMaxListEntries)
      throw VORFileCorruptFileException();
    std::string face(length, '\0');
    file.ReadExact(face.data(), length);
    m_face = face.substr(0, face.find('\0'));
  }
  if (m_mask & kSize)
    m_size = BoundSize(ReadInt32(file));
  if (m_mask & kTextColor)
    m_textColor = ReadUint32(file);
  if (m_mask & kBackgroundColor)
    m_backgroundColor = ReadUint32(file);
  if (m_mask & kShadowColor)
    m_shadowColor = ReadUint32(file);
  if (m_mask & kTagIds) {
    for (uint32_t n = ReadListCount(file); n > 0; --n)
      m_tagIds.Add(ReadInt32(file));
  }
  if (m_mask & kAlignment)
    m_alignment = ReadInt32(file);
  if (m_mask & kSpacing)
    m_spacing = ReadInt32(file);
  if (m_mask & kFirstIndent)
    m_firstIndent = ReadInt32(file);
  if (m_mask & kLeftIndent)
    m_leftIndent = ReadInt32(file);
  if (m_mask & kRightIndent)
    m_rightIndent = ReadInt32(file);
  if (m_mask & kTabs) {
    for (uint32_t n = ReadListCount(file); n > 0; --n) {
      TabStop stop;
      stop.kind = ReadInt32(file);
      stop.position = ReadInt32(file);
      m_tabs.Add(stop);
    }
  }
}

const TextStyle &TextStyle::Root() const {
  const TextStyle *style = this;
  while (style->m_parent)
    style = style->m_parent;
  return *style;
}

bool TextStyle::IsComplete() const {
  uint32_t mask = 0;
  for (const TextStyle *style = this; style; style = style->m_parent)
    mask |= style->m_mask;
  return (mask & kAllFields) == kAllFields;
}

const TextStyle &TextStyle::Resolve(uint32_t field, bool *present) const {
  for (const TextStyle *style = this; style; style = style->m_parent) {
    if (style->m_mask & field) {
      if (present)
        *present = true;
      return *style;
    }
  }
  if (present)
    *present = false;
  return *this;
}

bool TextStyle::GetFlagField(uint32_t field, uint32_t flag, bool *present) const {
  return (Resolve(field, present).m_flags & flag) != 0;
}

void TextStyle::SetFlagField(uint32_t field, uint32_t flag, bool on) {
  SetFlag(flag, on);
  m_mask |= field;
}

const std::string &TextStyle::GetFace(bool *present) const { return Resolve(kFace, present).m_face; }
int32_t TextStyle::GetSize(bool *present) const { return Resolve(kSize, present).m_size; }
RichColor TextStyle::GetTextColor(bool *present) const { return Resolve(kTextColor, present).m_textColor; }

bool TextStyle::GetBackgroundColor(RichColor &colour, bool *present) const {
  const TextStyle &style = Resolve(kBackgroundColor, present);
  colour = style.m_backgroundColor;
  return (style.m_flags & kFlagNoBackground) == 0;
}

bool TextStyle::GetShadowColor(RichColor &colour, bool *present) const {
  const TextStyle &style = Resolve(kShadowColor, present);
  colour = style.m_shadowColor;
  return (style.m_flags & kFlagNoShadow) == 0;
}

TagIdList TextStyle::GetTagIds(bool *present) const {
  TagIdList ids;
  bool found = false;
  for (const TextStyle *style = this; style; style = style->m_parent) {
    if (!(style->m_mask & kTagIds))
      continue;
    found = true;
    // An empty list present, or a style that keeps to its own ids, ends the
    // walk: the ids further up do not reach it.
    if (style->m_tagIds.IsEmpty())
      break;
    ids.Unite(style->m_tagIds);
    if (style->m_flags & kFlagOwnTagIdsOnly)
      break;
  }
  if (present)
    *present = found;
  return ids;
}

int32_t TextStyle::GetAlignment(bool *present) const { return Resolve(kAlignment, present).m_alignment; }
int32_t TextStyle::GetSpacing(bool *present) const { return Resolve(kSpacing, present).m_spacing; }
int32_t TextStyle::GetLeftIndent(bool *present) const { return Resolve(kLeftIndent, present).m_leftIndent; }
int32_t TextStyle::GetRightIndent(bool *present) const { return Resolve(kRightIndent, present).m_rightIndent; }
int32_t TextStyle::GetFirstIndent(bool *present) const { return Resolve(kFirstIndent, present).m_firstIndent; }
const TabStopList &TextStyle::GetTabs(bool *present) const { return Resolve(kTabs, present).m_tabs; }

void TextStyle::SetFace(const std::string &face) {
  m_face = face;
  m_mask |= kFace;
}

int32_t TextStyle::BoundSize(int32_t points) { return std::clamp(points, -kMaxSize, kMaxSize); }

void TextStyle::SetSize(int32_t points) {
  m_size = BoundSize(points);
  m_mask |= kSize;
}

void TextStyle::SetTextColor(RichColor colour) {
  m_textColor = colour;
  m_mask |= kTextColor;
}

void TextStyle::SetBackgroundColor(RichColor colour, bool on) {
  m_backgroundColor = colour;
  SetFlag(kFlagNoBackground, !on);
  m_mask |= kBackgroundColor;
}

void TextStyle::SetShadowColor(RichColor colour, bool on) {
  m_shadowColor = colour;
  SetFlag(kFlagNoShadow, !on);
  m_mask |= kShadowColor;
}

void TextStyle::SetTagIds(const TagIdList &ids) {
  m_tagIds = ids;
  m_mask |= kTagIds;
}

void TextStyle::AddTagId(int32_t id) {
  m_tagIds.Add(id);
  m_mask |= kTagIds;
}

void TextStyle::SetAlignment(int32_t alignment) {
  m_alignment = alignment;
  m_mask |= kAlignment;
}

void TextStyle::SetSpacing(int32_t spacing) {
  m_spacing = spacing;
  m_mask |= kSpacing;
}

void TextStyle::SetLeftIndent(int32_t pixels) {
  m_leftIndent = pixels;
  m_mask |= kLeftIndent;
}

void TextStyle::SetRightIndent(int32_t pixels) {
  m_rightIndent = pixels;
  m_mask |= kRightIndent;
}

void TextStyle::SetFirstIndent(int32_t pixels) {
  m_firstIndent = pixels;
  m_mask |= kFirstIndent;
}

void TextStyle::SetTabs(const TabStopList &tabs) {
  m_tabs = tabs;
  m_mask |= kTabs;
}

void TextStyle::AddTab(const TabStop &stop) {
  m_tabs.Add(stop);
  m_mask |= kTabs;
}

void TextStyle::CopyField(const TextStyle &source, uint32_t field) {
  bool present = false;
  switch (field) {
  case kBold:
    SetBold(source.GetBold(&present));
    break;
  case kItalic:
    SetItalic(source.GetItalic(&present));
    break;
  case kUnderline:
    SetUnderline(source.GetUnderline(&present));
    break;
  case kSubscript:
    SetSubscript(source.GetSubscript(&present));
    break;
  case kSuperscript:
    SetSuperscript(source.GetSuperscript(&present));
    break;
  case kFace:
    SetFace(source.GetFace(&present));
    break;
  case kSize:
    SetSize(source.GetSize(&present));
    break;
  case kTextColor:
    SetTextColor(source.GetTextColor(&present));
    break;
  case kBackgroundColor: {
    RichColor colour = 0;
    const bool on = source.GetBackgroundColor(colour, &present);
    SetBackgroundColor(colour, on);
    break;
  }
  case kShadowColor: {
    RichColor colour = 0;
    const bool on = source.GetShadowColor(colour, &present);
    SetShadowColor(colour, on);
    break;
  }
  case kTagIds:
    SetTagIds(source.GetTagIds(&present));
    break;
  case kAlignment:
    SetAlignment(source.GetAlignment(&present));
    break;
  case kSpacing:
    SetSpacing(source.GetSpacing(&present));
    break;
  case kLeftIndent:
    SetLeftIndent(source.GetLeftIndent(&present));
    break;
  case kRightIndent:
    SetRightIndent(source.GetRightIndent(&present));
    break;
  case kFirstIndent:
    SetFirstIndent(source.GetFirstIndent(&present));
    break;
  case kBullet:
    SetBullet(source.GetBullet(&present));
    break;
  case kTabs:
    SetTabs(source.GetTabs(&present));
    break;
  default:
    return;
  }
  if (!present)
    m_mask &= ~field;
}

void TextStyle::Assign(const TextStyle &other) {
  m_mask = 0;
  m_flags = 0;
  CopyEffective(other);
}

void TextStyle::CopyEffective(const TextStyle &other) {
  for (uint32_t field = 1; field <= kTabs; field <<= 1)
    CopyField(other, field);
  if (other.m_parent)
    m_parent = &other.Root();
}

void TextStyle::LayOver(const TextStyle &other) {
  for (uint32_t field = 1; field <= kTabs; field <<= 1) {
    if (!other.Has(field))
      continue;
    if (field == kTagIds && !(other.m_flags & kFlagOwnTagIdsOnly)) {
      TagIdList ids = GetTagIds();
      ids.Unite(other.GetTagIds());
      SetTagIds(ids);
    } else {
      CopyField(other, field);
    }
  }
}

void TextStyle::Narrow(const TextStyle &other) {
  const auto narrowFlag = [&](uint32_t field, bool mine, bool theirs) {
    if ((m_mask & field) && other.Has(field) && mine != theirs)
      m_mask &= ~field;
  };
  narrowFlag(kBold, GetBold(), other.GetBold());
  narrowFlag(kItalic, GetItalic(), other.GetItalic());
  narrowFlag(kUnderline, GetUnderline(), other.GetUnderline());
  narrowFlag(kSubscript, GetSubscript(), other.GetSubscript());
  narrowFlag(kSuperscript, GetSuperscript(), other.GetSuperscript());
  narrowFlag(kBullet, GetBullet(), other.GetBullet());
  narrowFlag(kFace, true, GetFace() == other.GetFace());
  narrowFlag(kSize, true, GetSize() == other.GetSize());
  narrowFlag(kTextColor, true, GetTextColor() == other.GetTextColor());
  RichColor mine = 0;
  RichColor theirs = 0;
  bool on = GetBackgroundColor(mine);
  narrowFlag(kBackgroundColor, true, on == other.GetBackgroundColor(theirs) && mine == theirs);
  on = GetShadowColor(mine);
  narrowFlag(kShadowColor, true, on == other.GetShadowColor(theirs) && mine == theirs);
  narrowFlag(kAlignment, true, GetAlignment() == other.GetAlignment());
  narrowFlag(kSpacing, true, GetSpacing() == other.GetSpacing());
  narrowFlag(kLeftIndent, true, GetLeftIndent() == other.GetLeftIndent());
  narrowFlag(kRightIndent, true, GetRightIndent() == other.GetRightIndent());
  narrowFlag(kFirstIndent, true, GetFirstIndent() == other.GetFirstIndent());
  narrowFlag(kTabs, true, GetTabs() == other.GetTabs());
  const TagIdList theirIds = other.GetTagIds();
  const bool sameIds = m_tagIds == theirIds;
  m_tagIds.Unite(theirIds);
  if (!sameIds)
    m_mask &= ~kTagIds;
}

bool TextStyle::SameCharacterFields(const TextStyle &other) const {
  RichColor mine = 0;
  RichColor theirs = 0;
  // A colour that is off shows nowhere and is written nowhere.
  bool on = GetBackgroundColor(mine);
  if (on != other.GetBackgroundColor(theirs) || (on && mine != theirs))
    return false;
  on = GetShadowColor(mine);
  if (on != other.GetShadowColor(theirs) || (on && mine != theirs))
    return false;
  return GetBold() == other.GetBold() && GetItalic() == other.GetItalic() && GetUnderline() == other.GetUnderline() &&
         GetSubscript() == other.GetSubscript() && GetSuperscript() == other.GetSuperscript() &&
         GetFace() == other.GetFace() && GetSize() == other.GetSize() && GetTextColor() == other.GetTextColor() &&
         GetTagIds() == other.GetTagIds();
}

bool TextStyle::SameParagraphFields(const TextStyle &other) const {
  return GetAlignment() == other.GetAlignment() && GetSpacing() == other.GetSpacing() &&
         GetLeftIndent() == other.GetLeftIndent() && GetRightIndent() == other.GetRightIndent() &&
         GetFirstIndent() == other.GetFirstIndent() && GetBullet() == other.GetBullet() && GetTabs() == other.GetTabs();
}

bool TextStyle::operator==(const TextStyle &other) const {
  if (!m_name.empty() && !other.m_name.empty() && m_name != other.m_name)
    return false;
  return SameCharacterFields(other) && SameParagraphFields(other);
}
