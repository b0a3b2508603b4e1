#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "foundation/VORRect.h"
#include "model/VORLayoutMember.h"

class VORRecursiveObjectContainer;

// Places the graphical objects of one owner (a page instance, a frame) when
// the owner's rectangle changes. The edges of the objects' design
// rectangles become guides, one per distinct position and axis, sorted by
// position. Each guide follows one rule when the owner grows or shrinks:
// it stays where it was designed, keeps its distance from another guide,
// takes a share of the extra space in proportion to its design distance
// from the guide before it, or sits below the tallest text-like object
// hanging from it. Every object then gets the rectangle between its four
// guides. Pure integer layout: the objects are reached only through
// VORLayoutMember.
class VORGraphicalObjectContainerManager {
public:
  enum class GuideKind : int32_t {
    kUnset = 0,
    kFixed = 1,
    kRelative = 2,
    kStretch = 3,
    kLargestAttached = 4,
  };

  // A text-like member whose height hangs from its top guide. The member
  // itself, not its position: raising a member to the top or moving it
  // back reorders the owner's members.
  struct Attached {
    int32_t topGuide = VORLayoutMember::kNoGuide;
    VORLayoutMember *member = nullptr;
  };

  struct Guide {
    int32_t placed = 0;
    int32_t design = 0;
    int32_t current = 0;
    int32_t reference = 0;
    int32_t offset = 0;
    std::vector<Attached> attached;
    GuideKind kind = GuideKind::kUnset;
  };

  static constexpr int64_t kNoSize = INT64_MIN;

  // The guides of one axis with the owner's own two edges among them.
  struct Axis {
    std::vector<Guide> guides;
    int32_t origin = VORLayoutMember::kNoGuide;
    int32_t extent = VORLayoutMember::kNoGuide;
    // The design distances of the guides that share the extra space.
    int64_t stretchTotal = 0;
    // The size last laid out, and that of the last Resize; kNoSize before
    // the first. Any 32-bit size is a real one: an owner's rectangle may be
    // inverted, and its width -1.
    int64_t lastSize = kNoSize;
    int64_t cachedSize = kNoSize;
  };

  explicit VORGraphicalObjectContainerManager(VORRecursiveObjectContainer &owner);
  // The guides of another manager for a copy of its owner whose members
  // are copies of the other's (they keep their guides).
  VORGraphicalObjectContainerManager(const VORGraphicalObjectContainerManager &other,
                                     VORRecursiveObjectContainer &owner);
  VORGraphicalObjectContainerManager(const VORGraphicalObjectContainerManager &) = delete;
  VORGraphicalObjectContainerManager &operator=(const VORGraphicalObjectContainerManager &) = delete;
  virtual ~VORGraphicalObjectContainerManager();

  // The owner's design rectangle: the guides are derived anew from the
  // owner's members.
  void SetBounds(const VORRect &bounds);
  // Lays the members out for the owner's new rectangle and hands them
  // theirs; an unchanged size only moves them.
  void Resize(const VORRect &rect);
  // The owner moved without changing size: the members are not moved, but
  // those placed from now on are placed in the moved rectangle.
  void MoveWorkingBounds(const VORRect &rect) { m_workingBounds = rect; }
  // The height the content needs at that width, measured anew each time;
  // the next Resize then places the members from this measure.
  int32_t GetHeightForWidth(int32_t width);
  // What an owner that is itself laid out answers for its content: whether
  // some guide takes a share of extra width (height), and whether text-like
  // members make the height follow the width.
  bool StretchesHorizontally() const { return m_horizontal.stretchTotal > 0; }
  bool StretchesVertically() const { return m_vertical.stretchTotal > 0; }
  bool FitsHeightToWidth() const;
  // The member's edges become guides (found or inserted); with rebuild the
  // rules are derived again. Every member returns to its design place.
  void AddObject(VORLayoutMember &member, bool rebuild);
  // Guides no other member uses go with the member; it is no longer managed.
  void RemoveObject(VORLayoutMember &member);
  // Derives every guide's rule from the members.
  virtual void RebuildGuides();
  // Hands every managed member the rectangle between its placed guides.
  void PlaceObjects();
  // The same for one member.
  void PlaceObject(VORLayoutMember &member);

  const Axis &GetHorizontal() const { return m_horizontal; }
  const Axis &GetVertical() const { return m_vertical; }
  const VORRect &GetBounds() const { return m_bounds; }
  const VORRect &GetWorkingBounds() const { return m_workingBounds; }
  // -1 before the first layout.
  int32_t GetLastWidth() const { return LastSizeOf(m_horizontal); }
  int32_t GetLastHeight() const { return LastSizeOf(m_vertical); }
  // How many layout passes have run: an unchanged size runs none.
  uint32_t GetPassCount() const { return m_passes; }

protected:
  // The owner's members in its order.
  std::vector<VORLayoutMember *> Members() const;
  // Without a height the vertical pass finds the height the content needs.
  void Apply(int32_t width, std::optional<int32_t> height, bool forced);

private:
  void SetupGuides();
  int32_t FindOrInsertGuide(Axis &axis, int32_t position, VORLayoutMember::Edge first, VORLayoutMember::Edge second);
  int32_t InsertGuide(Axis &axis, int32_t position, VORLayoutMember::Edge first, VORLayoutMember::Edge second);
  void RemoveGuide(Axis &axis, int32_t index, VORLayoutMember::Edge first, VORLayoutMember::Edge second);
  bool UsedByOthers(const VORLayoutMember &member, int32_t index, VORLayoutMember::Edge first,
                    VORLayoutMember::Edge second) const;
  void RemoveEdges(Axis &axis, VORLayoutMember &member, VORLayoutMember::Edge first, VORLayoutMember::Edge second);
  void DeriveHorizontal(VORLayoutMember &member, bool fits);
  void DeriveVertical(VORLayoutMember &member, bool fits);
  static void ChainFixedSize(Axis &axis, int32_t from, int32_t to);
  static void FinishAxis(Axis &axis);
  void ApplyHorizontal(int32_t width);
  void ApplyVertical(std::optional<int32_t> height);
  static int32_t LastSizeOf(const Axis &axis);
  void ApplyAxis(Axis &axis, int64_t extra, const std::vector<VORLayoutMember *> *members);
  int32_t AttachedBottom(const Guide &guide, const std::vector<VORLayoutMember *> &members, bool designed);
  int32_t ContentHeight(VORLayoutMember &member);
  bool HasGuides(const VORLayoutMember &member, VORLayoutMember::Edge first, VORLayoutMember::Edge second,
                 const Axis &axis) const;
  void ResetCachedSize();

  VORRecursiveObjectContainer &m_owner;
  Axis m_horizontal;
  Axis m_vertical;
  VORRect m_bounds = VORRect::NotSet();
  VORRect m_workingBounds = VORRect::NotSet();
  uint32_t m_passes = 0;
  // A copy's attached members are the other owner's: the rules are derived
  // again from the copy's own members before its first layout.
  bool m_rulesStale = false;
};
