#include "model/VORGraphicalObjectContainerManager.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "model/VORRecursiveObjectContainer.h"

namespace {

using Manager = VORGraphicalObjectContainerManager;
using Kind = Manager::GuideKind;

// A member with a design rectangle and the answers a test gives it; it
// remembers the rectangle it was handed. A text-like member needs `area`
// square pixels: its content height is area / width.
class Member : public VORRecursiveObjectContainer, public VORLayoutMember {
public:
  Member(VORRect design, bool stretches) : m_design(design), m_stretchesH(stretches), m_stretchesV(stretches) {}
  // The copy of a page object: the design and the guides, nothing placed.
  Member(const Member &other)
      : VORRecursiveObjectContainer(), VORLayoutMember(other), m_design(other.m_design),
        m_stretchesH(other.m_stretchesH), m_stretchesV(other.m_stretchesV), m_area(other.m_area) {}

  const VORRect &GetLayoutRect() const override { return m_design; }
  void SetRect(const VORRect &rect) override {
    m_rect = rect;
    ++m_placed;
  }
  bool FitsHeightToWidth() override { return m_area != 0; }
  int32_t GetContentHeight(int32_t width) override {
    if (m_area < 0 || width <= 0)
      return -1;
    return static_cast<int32_t>(m_area / width);
  }
  bool StretchesHorizontally() override { return m_stretchesH; }
  bool StretchesVertically() override { return m_stretchesV; }

  VORRect m_design;
  VORRect m_rect = VORRect::NotSet();
  bool m_stretchesH;
  bool m_stretchesV;
  int64_t m_area = 0; // 0: not text-like; -1: text-like without a height
  int m_placed = 0;
};

class Owner : public VORRecursiveObjectContainer {
public:
  Member &Add(VORRect design, bool stretches = true) {
    auto *member = new Member(design, stretches);
    InsertAfter(member, nullptr);
    return *member;
  }
};

std::vector<int32_t> Designs(const Manager::Axis &axis) {
  std::vector<int32_t> positions;
  for (const Manager::Guide &guide : axis.guides)
    positions.push_back(guide.design);
  return positions;
}

std::vector<int32_t> Currents(const Manager::Axis &axis) {
  std::vector<int32_t> positions;
  for (const Manager::Guide &guide : axis.guides)
    positions.push_back(guide.current);
  return positions;
}

std::vector<Kind> Kinds(const Manager::Axis &axis) {
  std::vector<Kind> kinds;
  for (const Manager::Guide &guide : axis.guides)
    kinds.push_back(guide.kind);
  return kinds;
}

// Every managed member's guides lie at its design edges, and the owner's
// own edges are where the bounds put them.
void ExpectIndicesRight(Owner &owner, const Manager &manager) {
  const auto &h = manager.GetHorizontal().guides;
  const auto &v = manager.GetVertical().guides;
  for (uint32_t i = 0; VORRecursiveObjectContainer *child = owner.ChildAt(i); ++i) {
    auto &member = dynamic_cast<Member &>(*child);
    SCOPED_TRACE("member " + std::to_string(i));
    ASSERT_GE(member.GetLayoutGuide(VORLayoutMember::kLeft), 0);
    EXPECT_EQ(h.at(static_cast<size_t>(member.GetLayoutGuide(VORLayoutMember::kLeft))).design, member.m_design.left);
    EXPECT_EQ(h.at(static_cast<size_t>(member.GetLayoutGuide(VORLayoutMember::kRight))).design, member.m_design.right);
    EXPECT_EQ(v.at(static_cast<size_t>(member.GetLayoutGuide(VORLayoutMember::kTop))).design, member.m_design.top);
    EXPECT_EQ(v.at(static_cast<size_t>(member.GetLayoutGuide(VORLayoutMember::kBottom))).design,
              member.m_design.bottom);
  }
  EXPECT_EQ(h.at(static_cast<size_t>(manager.GetHorizontal().origin)).design, 0);
  EXPECT_EQ(h.at(static_cast<size_t>(manager.GetHorizontal().extent)).design, manager.GetBounds().Width());
  EXPECT_EQ(v.at(static_cast<size_t>(manager.GetVertical().extent)).design, manager.GetBounds().Height());
}

TEST(GuideDerivation, EdgesBecomeSortedSharedGuidesWithTheirRules) {
  struct Case {
    const char *name;
    std::vector<std::pair<VORRect, bool>> members; // design, stretches
    std::vector<int32_t> designs;
    std::vector<Kind> kinds;
    int64_t stretchTotal;
  };
  const Case cases[] = {
      {"no members: the owner's two edges", {}, {0, 100}, {Kind::kFixed, Kind::kStretch}, 100},
      {"stretching and fixed side by side",
       {{VORRect(10, 10, 40, 30), true}, {VORRect(40, 10, 90, 30), false}},
       {0, 10, 40, 90, 100},
       {Kind::kFixed, Kind::kStretch, Kind::kStretch, Kind::kRelative, Kind::kStretch},
       50},
      {"a shared edge is one guide",
       {{VORRect(0, 0, 50, 10), true}, {VORRect(50, 0, 100, 10), true}, {VORRect(50, 20, 100, 30), true}},
       {0, 50, 100},
       {Kind::kFixed, Kind::kStretch, Kind::kStretch},
       100},
      {"a fixed member fixes every guide it spans",
       {{VORRect(20, 0, 80, 10), false}, {VORRect(30, 0, 60, 10), true}},
       {0, 20, 30, 60, 80, 100},
       {Kind::kFixed, Kind::kStretch, Kind::kRelative, Kind::kRelative, Kind::kRelative, Kind::kStretch},
       40},
      {"a stretching member past the far edge keeps its width",
       {{VORRect(60, 0, 150, 10), true}},
       {0, 60, 100, 150},
       {Kind::kFixed, Kind::kStretch, Kind::kRelative, Kind::kRelative},
       60},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    Owner owner;
    for (const auto &[rect, stretches] : c.members)
      owner.Add(rect, stretches);
    Manager manager(owner);
    manager.SetBounds(VORRect(0, 0, 100, 100));
    EXPECT_EQ(Designs(manager.GetHorizontal()), c.designs);
    EXPECT_EQ(Kinds(manager.GetHorizontal()), c.kinds);
    EXPECT_EQ(manager.GetHorizontal().stretchTotal, c.stretchTotal);
    ExpectIndicesRight(owner, manager);
  }
}

TEST(GuideLayout, GuidesFollowTheirRulesWhenTheOwnerGrowsAndShrinks) {
  struct Case {
    const char *name;
    std::vector<std::pair<VORRect, bool>> members;
    int32_t width;
    std::vector<int32_t> currents;
  };
  const Case cases[] = {
      // Shares 33, 33, 35: what truncation leaves goes on, so the far edge
      // lands exactly on the new width.
      {"all stretch, grown by a width that does not divide",
       {{VORRect(0, 0, 33, 10), true}, {VORRect(33, 0, 66, 10), true}, {VORRect(66, 0, 100, 10), true}},
       201,
       {0, 66, 132, 201}},
      {"all stretch, shrunk",
       {{VORRect(0, 0, 33, 10), true}, {VORRect(33, 0, 66, 10), true}, {VORRect(66, 0, 100, 10), true}},
       50,
       {0, 17, 34, 50}},
      {"all stretch, twice as wide",
       {{VORRect(0, 0, 30, 10), true}, {VORRect(30, 0, 100, 10), true}},
       200,
       {0, 60, 200}},
      // The fixed member keeps its 30 pixels and moves with its left edge.
      {"a fixed member between stretching space",
       {{VORRect(0, 0, 50, 10), true}, {VORRect(50, 0, 80, 10), false}},
       200,
       {0, 121, 151, 200}},
      {"a fixed member, shrunk", {{VORRect(0, 0, 50, 10), true}, {VORRect(50, 0, 80, 10), false}}, 65, {0, 25, 55, 65}},
      // Nothing stretches: no share is taken (no division by a zero total).
      {"nothing stretches", {{VORRect(0, 0, 100, 10), false}}, 300, {0, 100}},
      {"past the far edge", {{VORRect(60, 0, 150, 10), true}}, 200, {0, 160, 200, 250}},
      // The owner's own left edge stays put however far a member reaches
      // before it.
      {"a member reaching before the owner",
       {{VORRect(-20, 0, 30, 10), true}, {VORRect(30, 0, 100, 10), true}},
       200,
       {-20, 0, 60, 200}},
      // A guide past the far edge that no member fixes keeps its distance
      // rather than taking a share meant for the owner.
      {"an unfixed guide past the far edge",
       {{VORRect(0, 0, 100, 10), true}, {VORRect(120, 0, 150, 10), true}},
       200,
       {0, 200, 220, 250}},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    Owner owner;
    for (const auto &[rect, stretches] : c.members)
      owner.Add(rect, stretches);
    Manager manager(owner);
    manager.SetBounds(VORRect(0, 0, 100, 100));
    manager.Resize(VORRect(0, 0, c.width, 100));
    EXPECT_EQ(Currents(manager.GetHorizontal()), c.currents);
    const Manager::Axis &h = manager.GetHorizontal();
    EXPECT_EQ(h.guides[static_cast<size_t>(h.origin)].current, 0);
  }
}

TEST(GuideLayout, MembersGetTheRectangleBetweenTheirGuidesMovedByTheBounds) {
  Owner owner;
  Member &a = owner.Add(VORRect(10, 20, 60, 70));
  Member &b = owner.Add(VORRect(60, 20, 100, 100), false);
  Manager manager(owner);
  manager.SetBounds(VORRect(0, 0, 100, 100));
  // At the design size, the design rectangle offset by the bounds.
  manager.Resize(VORRect(5, 7, 105, 107));
  EXPECT_EQ(a.m_rect, VORRect(15, 27, 65, 77));
  EXPECT_EQ(b.m_rect, VORRect(65, 27, 105, 107));
  // Twice as large: the fixed member keeps its size on the owner's far
  // edges; the stretching space before it takes all the extra.
  manager.Resize(VORRect(0, 0, 200, 200));
  EXPECT_EQ(a.m_rect, VORRect(26, 120, 160, 170));
  EXPECT_EQ(b.m_rect, VORRect(160, 120, 200, 200));
}

TEST(GuideLayout, TheSameSizeAgainOnlyMovesTheMembers) {
  Owner owner;
  Member &a = owner.Add(VORRect(0, 0, 50, 50));
  Manager manager(owner);
  manager.SetBounds(VORRect(0, 0, 100, 100));
  manager.Resize(VORRect(0, 0, 200, 200));
  const uint32_t passes = manager.GetPassCount();
  manager.Resize(VORRect(0, 0, 200, 200));
  EXPECT_EQ(manager.GetPassCount(), passes);
  manager.Resize(VORRect(30, 40, 230, 240));
  EXPECT_EQ(manager.GetPassCount(), passes);
  EXPECT_EQ(a.m_rect, VORRect(30, 40, 130, 140));
  manager.Resize(VORRect(0, 0, 300, 200));
  EXPECT_EQ(manager.GetPassCount(), passes + 1);
}

TEST(GuideLayout, SettingUpAgainLaysOutAgainAtTheSameSize) {
  Owner owner;
  Manager manager(owner);
  manager.SetBounds(VORRect(0, 0, 100, 100));
  manager.Resize(VORRect(0, 0, 200, 200));
  // New members arrive and the guides are set up again: the same size must
  // not leave them at their design places.
  Member &a = owner.Add(VORRect(0, 0, 50, 50));
  manager.SetBounds(VORRect(0, 0, 100, 100));
  manager.Resize(VORRect(0, 0, 200, 200));
  EXPECT_EQ(a.m_rect, VORRect(0, 0, 100, 100));
}

// A text member (2000 square pixels) above a fixed-height member.
class TextLayoutTest : public ::testing::Test {
protected:
  void SetUp() override {
    text.m_area = 2000;
    below.m_stretchesV = false;
    manager.SetBounds(VORRect(0, 0, 100, 50));
  }
  Owner owner;
  Member &text = owner.Add(VORRect(0, 0, 100, 20));
  Member &below = owner.Add(VORRect(0, 20, 100, 40));
  Manager manager{owner};
};

TEST_F(TextLayoutTest, ANarrowerTextPushesTheGuidesBelowItDown) {
  EXPECT_EQ(Kinds(manager.GetVertical()),
            (std::vector<Kind>{Kind::kFixed, Kind::kLargestAttached, Kind::kRelative, Kind::kStretch}));
  EXPECT_EQ(manager.GetHeightForWidth(100), 50);
  // Half as wide: 40 pixels of text instead of 20.
  EXPECT_EQ(manager.GetHeightForWidth(50), 70);
  manager.Resize(VORRect(0, 0, 50, 70));
  EXPECT_EQ(text.m_rect, VORRect(0, 0, 50, 40));
  EXPECT_EQ(below.m_rect, VORRect(0, 40, 50, 60));
}

TEST_F(TextLayoutTest, SlackIsUsedUpByTheGrowthFirst) {
  // 30 pixels of slack, 20 taken by the taller text, 10 left to stretch.
  manager.Resize(VORRect(0, 0, 50, 80));
  EXPECT_EQ(Currents(manager.GetVertical()), (std::vector<int32_t>{0, 40, 60, 80}));
  // Less slack than growth: the content runs past the owner.
  manager.Resize(VORRect(0, 0, 50, 55));
  EXPECT_EQ(Currents(manager.GetVertical()), (std::vector<int32_t>{0, 40, 60, 70}));
}

// Raising a member to the top and putting it back reorders the owner's
// members; the text still pushes what lies below it, and so does a copy's.
TEST_F(TextLayoutTest, TheTextPushesAfterItsOwnerIsReorderedAndInACopy) {
  auto expectPushed = [](Manager &layout, const Member &textMember, const Member &belowMember) {
    EXPECT_EQ(layout.GetHeightForWidth(50), 70);
    layout.Resize(VORRect(0, 0, 50, 70));
    EXPECT_EQ(textMember.m_rect, VORRect(0, 0, 50, 40));
    EXPECT_EQ(belowMember.m_rect, VORRect(0, 40, 50, 60));
  };
  const int32_t kept = owner.MoveTo(&text, -1);
  {
    SCOPED_TRACE("raised");
    expectPushed(manager, text, below);
  }
  owner.MoveTo(&text, kept);
  manager.Resize(VORRect(0, 0, 100, 50));
  owner.MoveTo(&below, 0);
  {
    SCOPED_TRACE("the other one moved under it");
    expectPushed(manager, text, below);
  }
  Owner copyOwner;
  auto *belowCopy = new Member(below);
  auto *textCopy = new Member(text);
  copyOwner.InsertAfter(belowCopy, nullptr);
  copyOwner.InsertAfter(textCopy, belowCopy);
  Manager copied(manager, copyOwner);
  SCOPED_TRACE("a copy");
  expectPushed(copied, *textCopy, *belowCopy);
}

TEST_F(TextLayoutTest, ATextWithoutAHeightKeepsItsDesignHeight) {
  text.m_area = -1;
  manager.SetBounds(VORRect(0, 0, 100, 50));
  EXPECT_EQ(manager.GetHeightForWidth(50), 50);
  manager.Resize(VORRect(0, 0, 50, 50));
  EXPECT_EQ(text.m_rect, VORRect(0, 0, 50, 20));
}

// The height asked for is what the content needs now: not the height of a
// taller owner laid out before at the same width (a page would never shrink
// back), and text that grew since counts; the next layout at an unchanged
// size places the members by that new measure.
TEST_F(TextLayoutTest, TheHeightForAWidthIsMeasuredAnewEachTime) {
  EXPECT_EQ(manager.GetHeightForWidth(100), 50);
  manager.Resize(VORRect(0, 0, 100, 120));
  EXPECT_EQ(manager.GetHeightForWidth(100), 50) << "the owner was laid out taller";
  text.m_area = 4000;
  EXPECT_EQ(manager.GetHeightForWidth(100), 70) << "the text grew";
  manager.Resize(VORRect(0, 0, 100, 120));
  EXPECT_EQ(text.m_rect, VORRect(0, 0, 100, 40));
  EXPECT_EQ(below.m_rect, VORRect(0, 40, 100, 60));
}

// An owner that is itself laid out (a frame) answers for its members: it
// stretches along an axis where some guide shares the extra space, and its
// height follows its width when a text-like member hangs in it.
TEST(GuideAnswers, TheOwnerStretchesAndFitsAsItsMembersDo) {
  struct Case {
    const char *name;
    VORRect design;
    bool stretches;
    int64_t area;
    bool stretchesH, stretchesV, fits;
  } cases[] = {
      {"a fixed member filling the owner", VORRect(0, 0, 100, 50), false, 0, false, false, false},
      {"a fixed member with room around it", VORRect(10, 10, 90, 40), false, 0, true, true, false},
      {"a stretching member", VORRect(0, 0, 100, 50), true, 0, true, true, false},
      {"a text filling the owner", VORRect(0, 0, 100, 50), false, 2000, true, false, true},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    Owner owner;
    Member &member = owner.Add(c.design, c.stretches);
    member.m_area = c.area;
    Manager manager(owner);
    manager.SetBounds(VORRect(0, 0, 100, 50));
    EXPECT_EQ(manager.StretchesHorizontally(), c.stretchesH);
    EXPECT_EQ(manager.StretchesVertically(), c.stretchesV);
    EXPECT_EQ(manager.FitsHeightToWidth(), c.fits);
  }
}

TEST(GuideMembers, AddingAndRemovingKeepEveryIndexRight) {
  Owner owner;
  Manager manager(owner);
  manager.SetBounds(VORRect(0, 0, 100, 100));
  auto add = [&](VORRect rect) -> Member & {
    Member &member = owner.Add(rect);
    manager.AddObject(member, true);
    ExpectIndicesRight(owner, manager);
    return member;
  };
  Member &a = add(VORRect(40, 40, 60, 60));
  add(VORRect(10, 10, 40, 40)); // shares a's left and top
  Member &c = add(VORRect(5, 70, 95, 90));
  add(VORRect(-10, 50, 5, 120)); // before the origin, past the extent
  EXPECT_EQ(Designs(manager.GetHorizontal()), (std::vector<int32_t>{-10, 0, 5, 10, 40, 60, 95, 100}));

  auto remove = [&](Member &member) {
    manager.RemoveObject(member);
    EXPECT_EQ(member.GetLayoutGuide(VORLayoutMember::kLeft), VORLayoutMember::kNoGuide);
    owner.Remove(&member, false);
    delete &member;
    ExpectIndicesRight(owner, manager);
  };
  // a's left (40) stays for the member that shares it; its right goes.
  remove(a);
  EXPECT_EQ(Designs(manager.GetHorizontal()), (std::vector<int32_t>{-10, 0, 5, 10, 40, 95, 100}));
  // c's left (5) is still another's right; its right goes.
  remove(c);
  EXPECT_EQ(Designs(manager.GetHorizontal()), (std::vector<int32_t>{-10, 0, 5, 10, 40, 100}));
  EXPECT_EQ(Designs(manager.GetVertical()), (std::vector<int32_t>{0, 10, 40, 50, 100, 120}));
}

TEST(GuideMembers, RemovingAMemberOnTheOwnersEdgesKeepsThem) {
  Owner owner;
  Member &a = owner.Add(VORRect(0, 0, 100, 100));
  Member &flat = owner.Add(VORRect(30, 30, 30, 30)); // no size at all
  Manager manager(owner);
  manager.SetBounds(VORRect(0, 0, 100, 100));
  manager.RemoveObject(a);
  owner.Remove(&a, false);
  delete &a;
  EXPECT_EQ(Designs(manager.GetHorizontal()), (std::vector<int32_t>{0, 30, 100}));
  manager.RemoveObject(flat);
  EXPECT_EQ(Designs(manager.GetHorizontal()), (std::vector<int32_t>{0, 100}));
  EXPECT_EQ(manager.GetHorizontal().extent, 1);
}

TEST(GuideEdgeCases, AnEmptyOwnerAndEmptyMembersLayOutWithoutHarm) {
  Owner owner;
  Member &a = owner.Add(VORRect(10, 10, 10, 10));
  Member &text = owner.Add(VORRect(20, 20, 30, 20)); // text-like, no height
  text.m_area = 500;
  Member &inverted = owner.Add(VORRect(50, 50, 40, 40));
  Manager manager(owner);
  for (const VORRect &bounds : {VORRect::NotSet(), VORRect(0, 0, 0, 0), VORRect(0, 0, 100, 100)}) {
    manager.SetBounds(bounds);
    ExpectIndicesRight(owner, manager);
    for (const VORRect &rect : {VORRect::NotSet(), VORRect(0, 0, 0, 0), VORRect(0, 0, 300, 300)}) {
      manager.Resize(rect);
      manager.GetHeightForWidth(7);
    }
  }
  manager.SetBounds(VORRect(0, 0, 100, 100));
  manager.Resize(VORRect(0, 0, 200, 200));
  EXPECT_EQ(a.m_rect, VORRect(20, 20, 20, 20));
  EXPECT_EQ(inverted.m_rect, VORRect(100, 100, 80, 80));
}

TEST(GuideEdgeCases, ExtremeRectanglesNeitherOverflowNorDivideByZero) {
  constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
  constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
  Owner owner;
  Member &a = owner.Add(VORRect(kMin, kMin, kMax, kMax));
  owner.Add(VORRect(kMax, 0, kMax, 1));
  owner.Add(VORRect(0, 0, kMax, 10)).m_area = std::numeric_limits<int64_t>::max();
  Manager manager(owner);
  manager.SetBounds(VORRect(kMin, kMin, kMax, kMax));
  manager.Resize(VORRect(kMax, kMax, kMin, kMin));
  manager.Resize(VORRect(kMin, 0, kMax, 10));
  // Measured first: the answer is then the height last laid out.
  const int32_t height = manager.GetHeightForWidth(kMax);
  EXPECT_EQ(height, manager.GetLastHeight());
  EXPECT_NE(a.m_placed, 0);
}

TEST(GuideEdgeCases, ManyMembersSharingEdgesTileWithoutGaps) {
  constexpr int32_t kCells = 10;
  constexpr int32_t kCell = 10;
  Owner owner;
  std::vector<Member *> grid;
  for (int32_t row = 0; row < kCells; ++row)
    for (int32_t col = 0; col < kCells; ++col)
      grid.push_back(&owner.Add(VORRect(col * kCell, row * kCell, (col + 1) * kCell, (row + 1) * kCell)));
  Manager manager(owner);
  manager.SetBounds(VORRect(0, 0, kCells * kCell, kCells * kCell));
  EXPECT_EQ(manager.GetHorizontal().guides.size(), static_cast<size_t>(kCells + 1));
  manager.Resize(VORRect(0, 0, 253, 137));
  for (int32_t row = 0; row < kCells; ++row) {
    for (int32_t col = 0; col < kCells; ++col) {
      const VORRect &cell = grid[static_cast<size_t>(row * kCells + col)]->m_rect;
      SCOPED_TRACE("cell " + std::to_string(row) + "," + std::to_string(col));
      EXPECT_GE(cell.Width(), 25);
      EXPECT_LE(cell.Width(), 26);
      EXPECT_GE(cell.Height(), 13);
      EXPECT_LE(cell.Height(), 14);
      if (col + 1 < kCells) {
        EXPECT_EQ(cell.right, grid[static_cast<size_t>(row * kCells + col + 1)]->m_rect.left);
      }
      if (row + 1 < kCells) {
        EXPECT_EQ(cell.bottom, grid[static_cast<size_t>((row + 1) * kCells + col)]->m_rect.top);
      }
    }
  }
  EXPECT_EQ(grid.back()->m_rect.right, 253);
  EXPECT_EQ(grid.back()->m_rect.bottom, 137);
  // The content never shrinks below its design height: what does not fit
  // runs past the owner (to be scrolled), while the width follows.
  manager.Resize(VORRect(0, 0, 80, 97));
  EXPECT_EQ(grid.back()->m_rect.right, 80);
  EXPECT_EQ(grid.back()->m_rect.bottom, 100);
}

TEST(GuideCopies, ACopiedManagerLaysOutItsOwnMembersOnly) {
  Owner owner;
  Member &a = owner.Add(VORRect(0, 0, 50, 50));
  Manager manager(owner);
  manager.SetBounds(VORRect(0, 0, 100, 100));
  manager.Resize(VORRect(0, 0, 100, 100));
  Owner copyOwner;
  auto *copy = new Member(a);
  copyOwner.InsertAfter(copy, nullptr);
  Manager copied(manager, copyOwner);
  copied.Resize(VORRect(0, 0, 200, 200));
  EXPECT_EQ(copy->m_rect, VORRect(0, 0, 100, 100));
  EXPECT_EQ(a.m_rect, VORRect(0, 0, 50, 50));
}

// An owner's rectangle may be inverted: its width and height are then
// negative, -1 among them, and a copy laid out at that size must place its
// members as a manager set up afresh does, whatever the manager it was
// copied from had laid out or been asked before. (The layout fuzz target
// found it; its input is kept in fuzz/layout/corpus.)
TEST(GuideCopies, ACopyAtAnyInvertedSizePlacesAsAFreshManager) {
  for (const VORRect &size : {VORRect(0, 0, -1, -1), VORRect(0, 0, -1, 5), VORRect(3, 3, 1, 2)}) {
    SCOPED_TRACE(std::to_string(size.Width()) + " x " + std::to_string(size.Height()));
    Owner owner;
    Member &a = owner.Add(VORRect(2, 2, 8, 8));
    Manager manager(owner);
    manager.SetBounds(VORRect(0, 0, 10, 10));
    manager.Resize(VORRect(0, 0, 20, 20));
    manager.GetHeightForWidth(5);
    Owner copyOwner;
    Owner freshOwner;
    auto *copy = new Member(a);
    auto *fresh = new Member(a);
    copyOwner.InsertAfter(copy, nullptr);
    freshOwner.InsertAfter(fresh, nullptr);
    Manager copied(manager, copyOwner);
    Manager setUp(freshOwner);
    setUp.SetBounds(manager.GetBounds());
    copied.Resize(size);
    setUp.Resize(size);
    EXPECT_EQ(copy->m_rect, fresh->m_rect);
    EXPECT_EQ(copied.GetLastWidth(), size.Width());
  }
}

} // namespace
