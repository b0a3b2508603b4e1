#pragma once

#include <cstdint>
#include <string>
#include <vector>

class VORFile;

// A colour as the system passes it: 0x00BBGGRR.
using RichColor = uint32_t;

constexpr RichColor MakeRichColor(uint32_t red, uint32_t green, uint32_t blue) {
  return (red & 0xFF) | (green & 0xFF) << 8 | (blue & 0xFF) << 16;
}

enum TabKind : int32_t { kTabLeft = 0, kTabRight = 1, kTabCentre = 2, kTabDecimal = 3 };

struct TabStop {
  int32_t kind = kTabLeft;
  int32_t position = 0;
  bool operator==(const TabStop &other) const { return kind == other.kind && position == other.position; }
};

// Tab stops kept sorted by position; equal when the same stops stand in the
// same order.
class TabStopList {
public:
  // Goes before the first stop at the same or a greater position.
  void Add(const TabStop &stop);
  void Clear() { m_stops.clear(); }
  bool IsEmpty() const { return m_stops.empty(); }
  const std::vector<TabStop> &Stops() const { return m_stops; }
  bool operator==(const TabStopList &other) const { return m_stops == other.m_stops; }
  bool operator!=(const TabStopList &other) const { return !(*this == other); }

private:
  std::vector<TabStop> m_stops;
};

// Tag ids of a run: positive ids mark links and read-along segments,
// negative ids variable fields. Equal when they hold the same ids in any
// order.
class TagIdList {
public:
  void Add(int32_t id) { m_ids.push_back(id); }
  // Adds the ids of other that this list lacks.
  void Unite(const TagIdList &other);
  bool Contains(int32_t id) const;
  void Clear() { m_ids.clear(); }
  bool IsEmpty() const { return m_ids.empty(); }
  const std::vector<int32_t> &Ids() const { return m_ids; }
  bool operator==(const TagIdList &other) const;
  bool operator!=(const TagIdList &other) const { return !(*this == other); }

private:
  std::vector<int32_t> m_ids;
};

// A character and paragraph style. Each field has a presence bit; a field a
// style lacks comes from its parent (a root style), and the getters answer
// whether some style along the chain holds it.
class TextStyle {
public:
  // Presence bits.
  static constexpr uint32_t kBold = 0x1;
  static constexpr uint32_t kItalic = 0x2;
  static constexpr uint32_t kUnderline = 0x4;
  static constexpr uint32_t kSubscript = 0x8;
  static constexpr uint32_t kSuperscript = 0x10;
  static constexpr uint32_t kFace = 0x20;
  static constexpr uint32_t kSize = 0x40;
  static constexpr uint32_t kTextColor = 0x80;
  static constexpr uint32_t kBackgroundColor = 0x100;
  static constexpr uint32_t kShadowColor = 0x200;
  static constexpr uint32_t kTagIds = 0x400;
  static constexpr uint32_t kAlignment = 0x800;
  static constexpr uint32_t kSpacing = 0x1000;
  static constexpr uint32_t kLeftIndent = 0x2000;
  static constexpr uint32_t kRightIndent = 0x4000;
  static constexpr uint32_t kFirstIndent = 0x8000;
  static constexpr uint32_t kBullet = 0x10000;
  static constexpr uint32_t kTabs = 0x20000;
  static constexpr uint32_t kAllFields = 0x3FFFF;
  static constexpr uint32_t kCharacterFields = 0x7FF;
  static constexpr uint32_t kParagraphFields = kAllFields & ~kCharacterFields;

  // Flags word.
  static constexpr uint32_t kFlagBold = 0x1;
  static constexpr uint32_t kFlagItalic = 0x2;
  static constexpr uint32_t kFlagUnderline = 0x4;
  static constexpr uint32_t kFlagSubscript = 0x8;
  static constexpr uint32_t kFlagSuperscript = 0x10;
  static constexpr uint32_t kFlagNoBackground = 0x100;
  static constexpr uint32_t kFlagNoShadow = 0x200;
  static constexpr uint32_t kFlagBullet = 0x10000;
  static constexpr uint32_t kFlagOwnTagIdsOnly = 0x1000000;

  enum Alignment : int32_t { kAlignLeft = 0, kAlignRight = 1, kAlignCentre = 2, kAlignJustified = 3 };
  static constexpr int32_t kSingleSpacing = 1024;
  // Sizes in points go no further than this either way, whatever a file
  // says: the largest size word processors offer. Far larger ones only
  // overflow the layout's pixel coordinates.
  static constexpr int32_t kMaxSize = 1638;
  static int32_t BoundSize(int32_t points);

  // A style with nothing present (as the RTF reader builds them).
  TextStyle() = default;
  // The document's default style: every field present.
  static TextStyle MakeDefault();

  // Reads a style record of the publication: presence mask, flags, then
  // the present fields.
  void Load(VORFile &file);

  const std::string &GetName() const { return m_name; }
  void SetName(const std::string &name) { m_name = name; }
  uint32_t GetPresenceMask() const { return m_mask; }
  uint32_t GetFlags() const { return m_flags; }
  void SetOwnTagIdsOnly(bool on) { SetFlag(kFlagOwnTagIdsOnly, on); }
  const TextStyle *GetParent() const { return m_parent; }
  void SetParent(const TextStyle *parent) { m_parent = parent; }
  const TextStyle &Root() const;
  // The presence masks along the chain hold every field.
  bool IsComplete() const;
  // Whether some style along the chain holds the field.
  bool Has(uint32_t field) const { return &Resolve(field) != this || (m_mask & field) != 0; }

  bool GetBold(bool *present = nullptr) const { return GetFlagField(kBold, kFlagBold, present); }
  bool GetItalic(bool *present = nullptr) const { return GetFlagField(kItalic, kFlagItalic, present); }
  bool GetUnderline(bool *present = nullptr) const { return GetFlagField(kUnderline, kFlagUnderline, present); }
  bool GetSubscript(bool *present = nullptr) const { return GetFlagField(kSubscript, kFlagSubscript, present); }
  bool GetSuperscript(bool *present = nullptr) const { return GetFlagField(kSuperscript, kFlagSuperscript, present); }
  bool GetBullet(bool *present = nullptr) const { return GetFlagField(kBullet, kFlagBullet, present); }
  const std::string &GetFace(bool *present = nullptr) const;
  int32_t GetSize(bool *present = nullptr) const;
  RichColor GetTextColor(bool *present = nullptr) const;
  // Answer whether the background (shadow) is on; the colour goes to colour.
  bool GetBackgroundColor(RichColor &colour, bool *present = nullptr) const;
  bool GetShadowColor(RichColor &colour, bool *present = nullptr) const;
  TagIdList GetTagIds(bool *present = nullptr) const;
  int32_t GetAlignment(bool *present = nullptr) const;
  int32_t GetSpacing(bool *present = nullptr) const;
  int32_t GetLeftIndent(bool *present = nullptr) const;
  int32_t GetRightIndent(bool *present = nullptr) const;
  int32_t GetFirstIndent(bool *present = nullptr) const;
  const TabStopList &GetTabs(bool *present = nullptr) const;

  void SetBold(bool on) { SetFlagField(kBold, kFlagBold, on); }
  void SetItalic(bool on) { SetFlagField(kItalic, kFlagItalic, on); }
  void SetUnderline(bool on) { SetFlagField(kUnderline, kFlagUnderline, on); }
  void SetSubscript(bool on) { SetFlagField(kSubscript, kFlagSubscript, on); }
  void SetSuperscript(bool on) { SetFlagField(kSuperscript, kFlagSuperscript, on); }
  void SetBullet(bool on) { SetFlagField(kBullet, kFlagBullet, on); }
  void SetFace(const std::string &face);
  void SetSize(int32_t points);
  void SetTextColor(RichColor colour);
  void SetBackgroundColor(RichColor colour, bool on);
  void SetShadowColor(RichColor colour, bool on);
  void SetTagIds(const TagIdList &ids);
  void AddTagId(int32_t id);
  void SetAlignment(int32_t alignment);
  void SetSpacing(int32_t spacing);
  void SetLeftIndent(int32_t pixels);
  void SetRightIndent(int32_t pixels);
  void SetFirstIndent(int32_t pixels);
  void SetTabs(const TabStopList &tabs);
  void AddTab(const TabStop &stop);
  // Takes the field's presence bit away.
  void Remove(uint32_t fields) { m_mask &= ~fields; }

  // Clears mask and flags, then CopyEffective.
  void Assign(const TextStyle &other);
  // Takes the effective value of every field of other with its presence,
  // and other's root as parent unless other is itself a root.
  void CopyEffective(const TextStyle &other);
  // Sets every field that other holds (along its chain) to other's value.
  // Tag ids: replaced when other keeps its own ids only, else united.
  void LayOver(const TextStyle &other);
  // Narrows this (an effective style) to what it shares with other: a field
  // both hold with different values loses its presence; tag ids become the
  // union, losing presence when the lists differ.
  void Narrow(const TextStyle &other);

  bool SameCharacterFields(const TextStyle &other) const;
  bool SameParagraphFields(const TextStyle &other) const;
  // All character and paragraph fields equal, and the names when both have one.
  bool operator==(const TextStyle &other) const;
  bool operator!=(const TextStyle &other) const { return !(*this == other); }

private:
  const TextStyle &Resolve(uint32_t field, bool *present = nullptr) const;
  bool GetFlagField(uint32_t field, uint32_t flag, bool *present) const;
  void SetFlagField(uint32_t field, uint32_t flag, bool on);
  void SetFlag(uint32_t flag, bool on) { m_flags = on ? (m_flags | flag) : (m_flags & ~flag); }
  void CopyField(const TextStyle &source, uint32_t field);

  std::string m_name;
  uint32_t m_mask = 0;
  uint32_t m_flags = 0;
  std::string m_face;
  int32_t m_size = 0;
  RichColor m_textColor = 0;
  RichColor m_backgroundColor = 0;
  RichColor m_shadowColor = 0;
  TagIdList m_tagIds;
  int32_t m_alignment = kAlignLeft;
  int32_t m_spacing = 0;
  int32_t m_leftIndent = 0;
  int32_t m_rightIndent = 0;
  int32_t m_firstIndent = 0;
  TabStopList m_tabs;
  const TextStyle *m_parent = nullptr;
};
