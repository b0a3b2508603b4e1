// Plays any bytes as a sequence of operations on a frame's layout manager:
// members added (with or without deriving the rules), removed, raised to the
// top or moved back down as dragging does, the owner resized, asked for its
// height at a width, given new bounds, and copied as an extra page instance
// copies it. After every operation the guides must stay sorted, every index
// in range, and every member's guides where its design edges are. Whenever
// the rules are derived, a copy of the manager over copies of the members
// must lay them out exactly as a manager set up afresh over them does.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <memory>
#include <vector>

#include "model/VORGraphicalObjectContainerManager.h"
#include "model/VORRecursiveObjectContainer.h"

namespace {

using Manager = VORGraphicalObjectContainerManager;

constexpr size_t kMaxMembers = 24;
constexpr size_t kMaxOperations = 128;

class Member : public VORRecursiveObjectContainer, public VORLayoutMember {
public:
  Member(const VORRect &design, uint8_t traits, int32_t area) : m_design(design), m_traits(traits), m_area(area) {}
  Member(const Member &other)
      : VORRecursiveObjectContainer(), VORLayoutMember(other), m_design(other.m_design), m_traits(other.m_traits),
        m_area(other.m_area) {}

  const VORRect &GetLayoutRect() const override { return m_design; }
  void SetRect(const VORRect &rect) override { m_rect = rect; }
  bool FitsHeightToWidth() override { return (m_traits & 4) != 0; }
  int32_t GetContentHeight(int32_t width) override {
    if (m_area < 0 || width <= 0)
      return -1;
    return m_area / width;
  }
  bool StretchesHorizontally() override { return (m_traits & 1) != 0; }
  bool StretchesVertically() override { return (m_traits & 2) != 0; }

  VORRect m_design;
  VORRect m_rect = VORRect::NotSet();

private:
  uint8_t m_traits;
  int32_t m_area;
};

class Bytes {
public:
  Bytes(const uint8_t *data, size_t size) : m_data(data), m_size(size) {}
  bool Empty() const { return m_at >= m_size; }
  uint8_t Byte() { return m_at < m_size ? m_data[m_at++] : 0; }
  // Small coordinates mostly, so that edges are shared; now and then the
  // extremes a hostile file could hold.
  int32_t Coordinate() {
    const uint8_t kind = Byte();
    if (kind == 0xFF)
      return static_cast<int32_t>(static_cast<uint32_t>(Byte()) << 24 | static_cast<uint32_t>(Byte()) << 16 |
                                  static_cast<uint32_t>(Byte()) << 8 | Byte());
    return static_cast<int32_t>(kind) - 16;
  }
  VORRect Rect() {
    const int32_t left = Coordinate(), top = Coordinate(), right = Coordinate(), bottom = Coordinate();
    return VORRect(left, top, right, bottom);
  }

private:
  const uint8_t *m_data;
  size_t m_size;
  size_t m_at = 0;
};

void Check(bool holds) {
  if (!holds)
    std::abort();
}

bool InRange(const Manager::Axis &axis, int32_t index) {
  return index >= 0 && static_cast<size_t>(index) < axis.guides.size();
}

// The owner's extent may fall on its origin (an owner of no width): the
// guides are sorted, not always distinct.
void CheckAxis(const Manager::Axis &axis, int64_t size) {
  for (size_t i = 1; i < axis.guides.size(); ++i)
    Check(axis.guides[i - 1].design <= axis.guides[i].design);
  Check(InRange(axis, axis.origin) && InRange(axis, axis.extent));
  Check(axis.guides[static_cast<size_t>(axis.origin)].design == 0);
  Check(axis.guides[static_cast<size_t>(axis.extent)].design ==
        std::clamp<int64_t>(size, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
  for (const Manager::Guide &guide : axis.guides)
    for (const Manager::Attached &attached : guide.attached)
      Check(InRange(axis, attached.topGuide) && attached.member != nullptr);
}

void CheckEdge(const Manager::Axis &axis, const Member &member, VORLayoutMember::Edge edge, int32_t design) {
  const int32_t index = member.GetLayoutGuide(edge);
  Check(InRange(axis, index) && axis.guides[static_cast<size_t>(index)].design == design);
}

void CheckManager(const Manager &manager, const std::vector<Member *> &members) {
  const VORRect &bounds = manager.GetBounds();
  CheckAxis(manager.GetHorizontal(), bounds.Width());
  CheckAxis(manager.GetVertical(), bounds.Height());
  for (const Member *member : members) {
    CheckEdge(manager.GetHorizontal(), *member, VORLayoutMember::kLeft, member->m_design.left);
    CheckEdge(manager.GetHorizontal(), *member, VORLayoutMember::kRight, member->m_design.right);
    CheckEdge(manager.GetVertical(), *member, VORLayoutMember::kTop, member->m_design.top);
    CheckEdge(manager.GetVertical(), *member, VORLayoutMember::kBottom, member->m_design.bottom);
  }
}

// Copies of the members in the owner's order, laid out by a copy of the
// manager and by one set up afresh: both must place them alike.
void CheckCopy(const Manager &manager, VORRecursiveObjectContainer &owner, const VORRect &size) {
  VORRecursiveObjectContainer copies;
  VORRecursiveObjectContainer fresh;
  for (uint32_t i = 0; VORRecursiveObjectContainer *child = owner.ChildAt(i); ++i) {
    const auto &member = static_cast<const Member &>(*child);
    copies.InsertAfter(new Member(member), nullptr);
    fresh.InsertAfter(new Member(member), nullptr);
  }
  Manager copied(manager, copies);
  Manager setUp(fresh);
  setUp.SetBounds(manager.GetBounds());
  copied.Resize(size);
  setUp.Resize(size);
  for (uint32_t i = 0; VORRecursiveObjectContainer *child = copies.ChildAt(i); ++i)
    Check(static_cast<Member *>(child)->m_rect == static_cast<Member *>(fresh.ChildAt(i))->m_rect);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  Bytes bytes(data, size);
  VORRecursiveObjectContainer owner;
  Manager manager(owner);
  manager.SetBounds(bytes.Rect());
  std::vector<Member *> members;
  std::vector<int32_t> keptPositions;
  bool derived = true;
  for (size_t step = 0; step < kMaxOperations && !bytes.Empty(); ++step) {
    const uint8_t operation = bytes.Byte();
    switch (operation % 8) {
    case 0: {
      if (members.size() >= kMaxMembers)
        break;
      const VORRect design = bytes.Rect();
      const uint8_t traits = bytes.Byte();
      const int32_t area = static_cast<int32_t>(bytes.Byte()) * 64 - 64;
      auto *member = new Member(design, traits, area);
      owner.InsertAfter(member, nullptr);
      members.push_back(member);
      const bool rebuild = (operation & 0x80) != 0;
      manager.AddObject(*member, rebuild);
      derived = derived && rebuild;
      break;
    }
    case 1: {
      if (members.empty())
        break;
      const size_t which = bytes.Byte() % members.size();
      Member *member = members[which];
      manager.RemoveObject(*member);
      owner.Remove(member, false);
      delete member;
      members.erase(members.begin() + static_cast<std::ptrdiff_t>(which));
      derived = true;
      break;
    }
    case 2:
      manager.Resize(bytes.Rect());
      break;
    case 3: {
      // Raised to the top as a drag begins; the old place kept.
      if (members.empty())
        break;
      keptPositions.push_back(owner.MoveTo(members[bytes.Byte() % members.size()], -1));
      break;
    }
    case 4: {
      // Put back where a raise found it, as a drag's end does.
      if (members.empty() || keptPositions.empty())
        break;
      owner.MoveTo(owner.ChildAt(owner.GetChildCount() - 1), keptPositions.back());
      keptPositions.pop_back();
      break;
    }
    case 5:
      manager.GetHeightForWidth(bytes.Coordinate());
      break;
    case 6:
      manager.SetBounds(bytes.Rect());
      derived = true;
      break;
    case 7:
      if (derived)
        CheckCopy(manager, owner, bytes.Rect());
      break;
    }
    CheckManager(manager, members);
  }
  return 0;
}
