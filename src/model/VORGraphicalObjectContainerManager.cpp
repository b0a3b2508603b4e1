#include "model/VORGraphicalObjectContainerManager.h"

#include <algorithm>
#include <limits>

#include "model/VORRecursiveObjectContainer.h"

namespace {

using Edge = VORLayoutMember::Edge;
using Guide = VORGraphicalObjectContainerManager::Guide;
using GuideKind = VORGraphicalObjectContainerManager::GuideKind;

// Rectangles come from publication files and may hold any values: sums are
// taken in 64 bits and brought back into range.
int32_t Clamp32(int64_t value) {
  return static_cast<int32_t>(
      std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

// extra * distance / remaining, truncated towards zero. Within the sizes of
// real pages the product is exact in 64 bits; beyond them (only hostile
// files get there) the wider floating type keeps it from overflowing.
int64_t ShareOf(int64_t extra, int64_t distance, int64_t remaining) {
  if (remaining == 0)
    return 0;
  constexpr int64_t kExact = int64_t{1} << 31;
  if (extra > -kExact && extra < kExact && distance < kExact)
    return extra * distance / remaining;
  const long double share =
      static_cast<long double>(extra) * static_cast<long double>(distance) / static_cast<long double>(remaining);
  return static_cast<int64_t>(share);
}

bool InRange(const std::vector<Guide> &guides, int32_t index) {
  return index >= 0 && static_cast<size_t>(index) < guides.size();
}

int32_t IndexOf(size_t index) { return static_cast<int32_t>(index); }

} // namespace

VORGraphicalObjectContainerManager::VORGraphicalObjectContainerManager(VORRecursiveObjectContainer &owner)
    : m_owner(owner) {}

VORGraphicalObjectContainerManager::VORGraphicalObjectContainerManager(const VORGraphicalObjectContainerManager &other,
                                                                       VORRecursiveObjectContainer &owner)
    : m_owner(owner), m_horizontal(other.m_horizontal), m_vertical(other.m_vertical) {
  // The copy has laid nothing out yet.
  for (Axis *axis : {&m_horizontal, &m_vertical}) {
    axis->lastSize = kNoSize;
    axis->cachedSize = kNoSize;
    for (Guide &guide : axis->guides)
      guide.attached.clear();
  }
  m_rulesStale = true;
}

VORGraphicalObjectContainerManager::~VORGraphicalObjectContainerManager() = default;

std::vector<VORLayoutMember *> VORGraphicalObjectContainerManager::Members() const {
  std::vector<VORLayoutMember *> members;
  auto take = [&members](VORRecursiveObjectContainer *child) {
    if (auto *member = dynamic_cast<VORLayoutMember *>(child))
      members.push_back(member);
  };
  ContainerCursor cursor(m_owner);
  if (cursor.Open()) {
    for (VORRecursiveObjectContainer *child = m_owner.First(cursor.GetIndex(), false, 0); child;
         child = m_owner.Next(cursor.GetIndex(), false, 0))
      take(child);
    return members;
  }
  // Every walk of the owner is taken: the slower road by position.
  for (uint32_t i = 0; VORRecursiveObjectContainer *child = m_owner.ChildAt(i); ++i)
    take(child);
  return members;
}

// --- Guides --------------------------------------------------------------

void VORGraphicalObjectContainerManager::SetBounds(const VORRect &bounds) {
  m_bounds = bounds;
  m_workingBounds = bounds;
  SetupGuides();
}

void VORGraphicalObjectContainerManager::SetupGuides() {
  m_horizontal = Axis();
  m_vertical = Axis();
  const std::vector<VORLayoutMember *> members = Members();
  for (VORLayoutMember *member : members)
    member->ClearLayoutGuides();
  m_horizontal.origin = InsertGuide(m_horizontal, 0, VORLayoutMember::kLeft, VORLayoutMember::kRight);
  m_horizontal.extent =
      InsertGuide(m_horizontal, Clamp32(m_bounds.Width()), VORLayoutMember::kLeft, VORLayoutMember::kRight);
  m_vertical.origin = InsertGuide(m_vertical, 0, VORLayoutMember::kTop, VORLayoutMember::kBottom);
  m_vertical.extent =
      InsertGuide(m_vertical, Clamp32(m_bounds.Height()), VORLayoutMember::kTop, VORLayoutMember::kBottom);
  for (VORLayoutMember *member : members)
    AddObject(*member, false);
  RebuildGuides();
}

int32_t VORGraphicalObjectContainerManager::FindOrInsertGuide(Axis &axis, int32_t position, Edge first, Edge second) {
  const auto found = std::lower_bound(axis.guides.begin(), axis.guides.end(), position,
                                      [](const Guide &guide, int32_t value) { return guide.design < value; });
  if (found != axis.guides.end() && found->design == position)
    return IndexOf(static_cast<size_t>(found - axis.guides.begin()));
  return InsertGuide(axis, position, first, second);
}

int32_t VORGraphicalObjectContainerManager::InsertGuide(Axis &axis, int32_t position, Edge first, Edge second) {
  const auto at = std::upper_bound(axis.guides.begin(), axis.guides.end(), position,
                                   [](int32_t value, const Guide &guide) { return value < guide.design; });
  const int32_t index = IndexOf(static_cast<size_t>(at - axis.guides.begin()));
  Guide guide;
  guide.placed = position;
  guide.design = position;
  guide.current = position;
  axis.guides.insert(at, guide);
  auto shifted = [index](int32_t value) { return value >= index ? value + 1 : value; };
  for (VORLayoutMember *member : Members()) {
    for (Edge edge : {first, second})
      if (member->GetLayoutGuide(edge) != VORLayoutMember::kNoGuide)
        member->SetLayoutGuide(edge, shifted(member->GetLayoutGuide(edge)));
  }
  for (Guide &other : axis.guides) {
    other.reference = shifted(other.reference);
    for (Attached &attached : other.attached)
      attached.topGuide = shifted(attached.topGuide);
  }
  axis.guides[static_cast<size_t>(index)].reference = 0;
  if (axis.origin != VORLayoutMember::kNoGuide)
    axis.origin = shifted(axis.origin);
  if (axis.extent != VORLayoutMember::kNoGuide)
    axis.extent = shifted(axis.extent);
  axis.lastSize = kNoSize;
  ResetCachedSize();
  return index;
}

void VORGraphicalObjectContainerManager::RemoveGuide(Axis &axis, int32_t index, Edge first, Edge second) {
  axis.guides.erase(axis.guides.begin() + index);
  for (VORLayoutMember *member : Members()) {
    for (Edge edge : {first, second})
      if (member->GetLayoutGuide(edge) > index)
        member->SetLayoutGuide(edge, member->GetLayoutGuide(edge) - 1);
  }
  if (axis.origin > index)
    --axis.origin;
  if (axis.extent > index)
    --axis.extent;
  axis.lastSize = kNoSize;
  ResetCachedSize();
}

// A changed set of guides must be laid out again, whatever size comes next.
void VORGraphicalObjectContainerManager::ResetCachedSize() {
  m_horizontal.cachedSize = kNoSize;
  m_vertical.cachedSize = kNoSize;
}

void VORGraphicalObjectContainerManager::AddObject(VORLayoutMember &member, bool rebuild) {
  const VORRect &rect = member.GetLayoutRect();
  member.ClearLayoutGuides();
  struct Pair {
    Axis &axis;
    Edge first;
    Edge second;
    int32_t low;
    int32_t high;
  };
  for (const Pair &pair : {Pair{m_horizontal, VORLayoutMember::kLeft, VORLayoutMember::kRight, rect.left, rect.right},
                           Pair{m_vertical, VORLayoutMember::kTop, VORLayoutMember::kBottom, rect.top, rect.bottom}}) {
    int32_t low = FindOrInsertGuide(pair.axis, pair.low, pair.first, pair.second);
    const size_t before = pair.axis.guides.size();
    const int32_t high = FindOrInsertGuide(pair.axis, pair.high, pair.first, pair.second);
    // An inverted rectangle inserts its second edge before its first.
    if (pair.axis.guides.size() != before && high <= low)
      ++low;
    member.SetLayoutGuide(pair.first, low);
    member.SetLayoutGuide(pair.second, high);
  }
  if (rebuild)
    RebuildGuides();
  for (Axis *axis : {&m_horizontal, &m_vertical})
    for (Guide &guide : axis->guides)
      guide.placed = guide.design;
  PlaceObjects();
}

bool VORGraphicalObjectContainerManager::UsedByOthers(const VORLayoutMember &member, int32_t index, Edge first,
                                                      Edge second) const {
  for (const VORLayoutMember *other : Members())
    if (other != &member && (other->GetLayoutGuide(first) == index || other->GetLayoutGuide(second) == index))
      return true;
  return false;
}

void VORGraphicalObjectContainerManager::RemoveEdges(Axis &axis, VORLayoutMember &member, Edge first, Edge second) {
  int32_t low = member.GetLayoutGuide(first);
  int32_t high = member.GetLayoutGuide(second);
  // Cleared first, so that the removals below move only the others' guides.
  member.SetLayoutGuide(first, VORLayoutMember::kNoGuide);
  member.SetLayoutGuide(second, VORLayoutMember::kNoGuide);
  auto removable = [&](int32_t index) {
    return InRange(axis.guides, index) && index != axis.origin && index != axis.extent &&
           !UsedByOthers(member, index, first, second);
  };
  if (removable(low)) {
    RemoveGuide(axis, low, first, second);
    if (high > low)
      --high;
    else if (high == low)
      return;
  }
  if (removable(high))
    RemoveGuide(axis, high, first, second);
}

void VORGraphicalObjectContainerManager::RemoveObject(VORLayoutMember &member) {
  RemoveEdges(m_horizontal, member, VORLayoutMember::kLeft, VORLayoutMember::kRight);
  RemoveEdges(m_vertical, member, VORLayoutMember::kTop, VORLayoutMember::kBottom);
  RebuildGuides();
}

// --- Rules ---------------------------------------------------------------

bool VORGraphicalObjectContainerManager::HasGuides(const VORLayoutMember &member, Edge first, Edge second,
                                                   const Axis &axis) const {
  return InRange(axis.guides, member.GetLayoutGuide(first)) && InRange(axis.guides, member.GetLayoutGuide(second));
}

void VORGraphicalObjectContainerManager::RebuildGuides() {
  for (Axis *axis : {&m_horizontal, &m_vertical}) {
    for (Guide &guide : axis->guides) {
      guide.kind = GuideKind::kUnset;
      guide.reference = 0;
      guide.offset = 0;
      guide.attached.clear();
    }
  }
  m_rulesStale = false;
  for (VORLayoutMember *each : Members()) {
    VORLayoutMember &member = *each;
    const bool horizontal = HasGuides(member, VORLayoutMember::kLeft, VORLayoutMember::kRight, m_horizontal);
    const bool fits = horizontal && member.FitsHeightToWidth() &&
                      member.GetLayoutGuide(VORLayoutMember::kRight) <= m_horizontal.extent;
    if (horizontal)
      DeriveHorizontal(member, fits);
    if (HasGuides(member, VORLayoutMember::kTop, VORLayoutMember::kBottom, m_vertical))
      DeriveVertical(member, fits);
  }
  FinishAxis(m_horizontal);
  FinishAxis(m_vertical);
}

// The guides from the one after `from` through `to` keep their design
// distances: whatever lies between them keeps its size.
void VORGraphicalObjectContainerManager::ChainFixedSize(Axis &axis, int32_t from, int32_t to) {
  for (int32_t index = from + 1; index <= to; ++index) {
    Guide &guide = axis.guides[static_cast<size_t>(index)];
    guide.kind = GuideKind::kRelative;
    guide.reference = index - 1;
    guide.offset = Clamp32(int64_t{guide.design} - axis.guides[static_cast<size_t>(index - 1)].design);
  }
}

void VORGraphicalObjectContainerManager::DeriveHorizontal(VORLayoutMember &member, bool fits) {
  const int32_t left = member.GetLayoutGuide(VORLayoutMember::kLeft);
  const int32_t right = member.GetLayoutGuide(VORLayoutMember::kRight);
  if (m_horizontal.guides[static_cast<size_t>(right)].kind != GuideKind::kUnset || fits)
    return;
  const bool stretches = member.StretchesHorizontally() && right <= m_horizontal.extent;
  if (!stretches)
    ChainFixedSize(m_horizontal, left, right);
}

void VORGraphicalObjectContainerManager::DeriveVertical(VORLayoutMember &member, bool fits) {
  const int32_t top = member.GetLayoutGuide(VORLayoutMember::kTop);
  const int32_t bottom = member.GetLayoutGuide(VORLayoutMember::kBottom);
  Guide &guide = m_vertical.guides[static_cast<size_t>(bottom)];
  // A member with no height cannot hang its own top guide below itself.
  if (fits && bottom > top) {
    if (guide.kind == GuideKind::kUnset || guide.kind == GuideKind::kLargestAttached) {
      guide.attached.push_back(Attached{top, &member});
      guide.kind = GuideKind::kLargestAttached;
    }
    return;
  }
  const bool stretches = member.StretchesVertically() && bottom <= m_vertical.extent;
  if (stretches)
    return;
  if (guide.kind == GuideKind::kUnset) {
    ChainFixedSize(m_vertical, top, bottom);
  } else if (guide.kind == GuideKind::kLargestAttached && bottom > top) {
    guide.kind = GuideKind::kRelative;
    guide.reference = top;
    guide.offset = Clamp32(int64_t{guide.design} - m_vertical.guides[static_cast<size_t>(top)].design);
  }
}

// What no member decided: the owner's own top-left edge and whatever lies
// before it stay where they are, guides past the owner's far edge keep
// their distances, and the rest share the extra space.
void VORGraphicalObjectContainerManager::FinishAxis(Axis &axis) {
  axis.stretchTotal = 0;
  for (size_t i = 0; i < axis.guides.size(); ++i) {
    Guide &guide = axis.guides[i];
    if (guide.kind != GuideKind::kUnset && guide.kind != GuideKind::kStretch)
      continue;
    const int32_t index = IndexOf(i);
    if (index == 0 || index <= axis.origin) {
      guide.kind = GuideKind::kFixed;
      continue;
    }
    guide.reference = index - 1;
    guide.offset = Clamp32(int64_t{guide.design} - axis.guides[i - 1].design);
    if (axis.extent != VORLayoutMember::kNoGuide && index > axis.extent) {
      guide.kind = GuideKind::kRelative;
      continue;
    }
    guide.kind = GuideKind::kStretch;
    axis.stretchTotal += guide.offset;
  }
}

// --- Layout passes -------------------------------------------------------

void VORGraphicalObjectContainerManager::Apply(int32_t width, std::optional<int32_t> height, bool forced) {
  if (m_rulesStale)
    RebuildGuides();
  const bool widthChanged = width != m_horizontal.lastSize;
  const bool horizontal = forced || widthChanged;
  const bool vertical = forced || widthChanged || (height && *height != m_vertical.lastSize);
  if (horizontal)
    ApplyHorizontal(width);
  if (vertical)
    ApplyVertical(height);
  if (horizontal || vertical)
    ++m_passes;
}

void VORGraphicalObjectContainerManager::ApplyHorizontal(int32_t width) {
  const int64_t extra = InRange(m_horizontal.guides, m_horizontal.extent)
                            ? int64_t{width} - m_horizontal.guides[static_cast<size_t>(m_horizontal.extent)].design
                            : 0;
  ApplyAxis(m_horizontal, extra, nullptr);
  m_horizontal.lastSize = width;
}

void VORGraphicalObjectContainerManager::ApplyVertical(std::optional<int32_t> height) {
  const std::vector<VORLayoutMember *> members = Members();
  int64_t growth = 0;
  for (const Guide &guide : m_vertical.guides)
    if (guide.kind == GuideKind::kLargestAttached)
      growth += int64_t{AttachedBottom(guide, members, true)} - guide.design;
  const bool hasExtent = InRange(m_vertical.guides, m_vertical.extent);
  int64_t extra =
      !height || !hasExtent ? 0 : int64_t{*height} - m_vertical.guides[static_cast<size_t>(m_vertical.extent)].design;
  // Slack space is first taken up by the text that grew.
  extra = extra < growth ? 0 : extra - growth;
  ApplyAxis(m_vertical, extra, &members);
  m_vertical.lastSize = hasExtent ? m_vertical.guides[static_cast<size_t>(m_vertical.extent)].current : 0;
}

void VORGraphicalObjectContainerManager::ApplyAxis(Axis &axis, int64_t extra,
                                                   const std::vector<VORLayoutMember *> *members) {
  int64_t remaining = axis.stretchTotal;
  for (size_t i = 0; i < axis.guides.size(); ++i) {
    Guide &guide = axis.guides[i];
    // A reference always lies before its guide once the rules are derived;
    // anything else counts as no reference.
    const bool referenced = guide.reference >= 0 && static_cast<size_t>(guide.reference) < i;
    const Guide *reference = referenced ? &axis.guides[static_cast<size_t>(guide.reference)] : nullptr;
    switch (guide.kind) {
    case GuideKind::kUnset:
    case GuideKind::kFixed:
      guide.current = guide.design;
      break;
    case GuideKind::kRelative:
      if (reference != nullptr)
        guide.current = Clamp32(int64_t{reference->current} + guide.offset);
      else
        guide.current = guide.design;
      break;
    case GuideKind::kStretch: {
      if (!reference) {
        guide.current = guide.design;
        break;
      }
      const int64_t distance = int64_t{guide.design} - reference->design;
      const int64_t share = ShareOf(extra, distance, remaining);
      guide.current = Clamp32(int64_t{guide.offset} + reference->current + share);
      // What truncation left over goes to the later guides.
      extra -= share;
      remaining -= distance;
      break;
    }
    case GuideKind::kLargestAttached:
      if (members)
        guide.current = AttachedBottom(guide, *members, false);
      break;
    }
  }
}

// The text-like members hanging from the guide: the lowest of their
// bottoms, from the design or the current positions of their top guides.
int32_t VORGraphicalObjectContainerManager::AttachedBottom(const Guide &guide,
                                                           const std::vector<VORLayoutMember *> &members,
                                                           bool designed) {
  bool any = false;
  int64_t lowest = 0;
  for (const Attached &attached : guide.attached) {
    // A member that left the owner without being removed is not looked at.
    if (!InRange(m_vertical.guides, attached.topGuide) ||
        std::find(members.begin(), members.end(), attached.member) == members.end())
      continue;
    const Guide &top = m_vertical.guides[static_cast<size_t>(attached.topGuide)];
    const int64_t bottom = int64_t{designed ? top.design : top.current} + ContentHeight(*attached.member);
    lowest = any ? std::max(lowest, bottom) : bottom;
    any = true;
  }
  return any ? Clamp32(lowest) : guide.design;
}

// At the member's current width; a member whose content gives no height
// keeps its design height.
int32_t VORGraphicalObjectContainerManager::ContentHeight(VORLayoutMember &member) {
  const int32_t left = member.GetLayoutGuide(VORLayoutMember::kLeft);
  const int32_t right = member.GetLayoutGuide(VORLayoutMember::kRight);
  const int64_t width = InRange(m_horizontal.guides, left) && InRange(m_horizontal.guides, right)
                            ? int64_t{m_horizontal.guides[static_cast<size_t>(right)].current} -
                                  m_horizontal.guides[static_cast<size_t>(left)].current
                            : member.GetLayoutRect().Width();
  const int32_t height = member.GetContentHeight(Clamp32(width));
  return height >= 0 ? height : Clamp32(member.GetLayoutRect().Height());
}

void VORGraphicalObjectContainerManager::Resize(const VORRect &rect) {
  m_workingBounds = rect;
  const int32_t width = Clamp32(rect.Width());
  const int32_t height = Clamp32(rect.Height());
  if (width == m_horizontal.cachedSize && height == m_vertical.cachedSize) {
    PlaceObjects();
    return;
  }
  Apply(width, height, false);
  for (Axis *axis : {&m_horizontal, &m_vertical})
    for (Guide &guide : axis->guides)
      guide.placed = guide.current;
  PlaceObjects();
  m_horizontal.cachedSize = width;
  m_vertical.cachedSize = height;
}

// Measured every time: the height last laid out may be that of a taller
// owner (a page could then never shrink back to its content), and text
// loaded since (an external file, a variable's value) must count.
int32_t VORGraphicalObjectContainerManager::GetHeightForWidth(int32_t width) {
  if (width != m_horizontal.lastSize) {
    Apply(width, std::nullopt, false);
  } else {
    if (m_rulesStale)
      RebuildGuides();
    ApplyVertical(std::nullopt);
    ++m_passes;
  }
  ResetCachedSize();
  return LastSizeOf(m_vertical);
}

int32_t VORGraphicalObjectContainerManager::LastSizeOf(const Axis &axis) {
  return axis.lastSize == kNoSize ? -1 : static_cast<int32_t>(axis.lastSize);
}

bool VORGraphicalObjectContainerManager::FitsHeightToWidth() const {
  return std::any_of(m_vertical.guides.begin(), m_vertical.guides.end(),
                     [](const Guide &guide) { return guide.kind == GuideKind::kLargestAttached; });
}

void VORGraphicalObjectContainerManager::PlaceObjects() {
  for (VORLayoutMember *member : Members())
    PlaceObject(*member);
}

void VORGraphicalObjectContainerManager::PlaceObject(VORLayoutMember &member) {
  if (!HasGuides(member, VORLayoutMember::kLeft, VORLayoutMember::kRight, m_horizontal) ||
      !HasGuides(member, VORLayoutMember::kTop, VORLayoutMember::kBottom, m_vertical))
    return;
  auto placed = [&member](const Axis &axis, Edge edge, int32_t origin) {
    return Clamp32(int64_t{origin} + axis.guides[static_cast<size_t>(member.GetLayoutGuide(edge))].placed);
  };
  member.SetRect(VORRect(placed(m_horizontal, VORLayoutMember::kLeft, m_workingBounds.left),
                         placed(m_vertical, VORLayoutMember::kTop, m_workingBounds.top),
                         placed(m_horizontal, VORLayoutMember::kRight, m_workingBounds.left),
                         placed(m_vertical, VORLayoutMember::kBottom, m_workingBounds.top)));
}
