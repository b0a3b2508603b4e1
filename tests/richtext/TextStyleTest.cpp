#include <gtest/gtest.h>

#include <cstdint>

#include "richtext/TextStyle.h"
#include "support/FakeRecordFile.h"
#include "vorfile/VORFileException.h"

namespace {

TEST(TextStyleTest, DefaultStyleHoldsEveryFieldWithTheDocumentDefaults) {
  const TextStyle style = TextStyle::MakeDefault();
  EXPECT_TRUE(style.IsComplete());
  EXPECT_EQ(style.GetName(), "<default>");
  EXPECT_EQ(style.GetFace(), "Times New Roman");
  EXPECT_EQ(style.GetSize(), 12);
  EXPECT_EQ(style.GetSpacing(), 1024);
  RichColor colour = 0;
  EXPECT_FALSE(style.GetBackgroundColor(colour));
  EXPECT_EQ(colour, 0xFFFFFFu);
  EXPECT_FALSE(style.GetShadowColor(colour));
  EXPECT_EQ(colour, 0x969696u);
  EXPECT_FALSE(TextStyle().IsComplete());
}

// Each getter walks to the first style along the chain that holds its field.
TEST(TextStyleTest, FieldsResolveAlongTheParentChain) {
  const TextStyle root = TextStyle::MakeDefault();
  TextStyle child;
  child.SetParent(&root);
  child.SetBold(true);
  child.SetSize(20);
  bool present = false;
  EXPECT_TRUE(child.GetBold(&present));
  EXPECT_TRUE(present);
  EXPECT_EQ(child.GetSize(), 20);
  EXPECT_EQ(child.GetFace(&present), "Times New Roman");
  EXPECT_TRUE(present);
  EXPECT_TRUE(child.IsComplete());

  TextStyle orphan;
  orphan.GetItalic(&present);
  EXPECT_FALSE(present);
}

struct TagCase {
  const char *name;
  std::vector<int32_t> rootIds;
  bool childHasIds;
  std::vector<int32_t> childIds;
  bool ownOnly;
  std::vector<int32_t> expected;
  bool present;
};

TEST(TextStyleTest, TagIdsResolveByTheirOwnRules) {
  const TagCase cases[] = {
      {"union along the chain", {1, 2}, true, {3}, false, {1, 2, 3}, true},
      {"own ids only", {1, 2}, true, {3}, true, {3}, true},
      {"an empty present list stops the walk", {1, 2}, true, {}, false, {}, true},
      {"absent in the child: the root's", {1}, false, {}, false, {1}, true},
  };
  for (const TagCase &c : cases) {
    TextStyle root;
    for (int32_t id : c.rootIds)
      root.AddTagId(id);
    TextStyle child;
    child.SetParent(&root);
    if (c.childHasIds) {
      TagIdList ids;
      for (int32_t id : c.childIds)
        ids.Add(id);
      child.SetTagIds(ids);
    }
    child.SetOwnTagIdsOnly(c.ownOnly);
    bool present = false;
    TagIdList expected;
    for (int32_t id : c.expected)
      expected.Add(id);
    EXPECT_EQ(child.GetTagIds(&present), expected) << c.name;
    EXPECT_EQ(present, c.present) << c.name;
  }
}

TEST(TextStyleTest, TabStopsStaySortedAndTagListsCompareInAnyOrder) {
  TabStopList tabs;
  tabs.Add(TabStop{kTabLeft, 100});
  tabs.Add(TabStop{kTabRight, 50});
  tabs.Add(TabStop{kTabCentre, 100}); // before the stop at the same position
  ASSERT_EQ(tabs.Stops().size(), 3u);
  EXPECT_EQ(tabs.Stops()[0].position, 50);
  EXPECT_EQ(tabs.Stops()[1].kind, kTabCentre);
  EXPECT_EQ(tabs.Stops()[2].kind, kTabLeft);

  TagIdList a;
  a.Add(1);
  a.Add(2);
  TagIdList b;
  b.Add(2);
  b.Add(1);
  EXPECT_EQ(a, b);
}

TEST(TextStyleTest, NarrowKeepsOnlyWhatBothStylesShare) {
  TextStyle a = TextStyle::MakeDefault();
  a.SetBold(true);
  a.AddTagId(5);
  TextStyle b = TextStyle::MakeDefault();
  b.SetItalic(true);
  TextStyle narrowed;
  narrowed.CopyEffective(a);
  narrowed.Narrow(b);
  EXPECT_EQ(narrowed.GetPresenceMask() & TextStyle::kBold, 0u);
  EXPECT_EQ(narrowed.GetPresenceMask() & TextStyle::kItalic, 0u);
  EXPECT_EQ(narrowed.GetPresenceMask() & TextStyle::kTagIds, 0u);
  EXPECT_NE(narrowed.GetPresenceMask() & TextStyle::kFace, 0u);
}

TEST(TextStyleTest, LoadReadsOnlyThePresentFieldsInFileOrder) {
  RecordBytes bytes;
  bytes
      .Uint32(TextStyle::kFace | TextStyle::kSize | TextStyle::kTagIds | TextStyle::kFirstIndent |
              TextStyle::kLeftIndent | TextStyle::kTabs)
      .Uint32(TextStyle::kFlagBold)
      .String("Arial")
      .Uint32(18)
      .Uint32(2)
      .Uint32(7)
      .Uint32(static_cast<uint32_t>(-3))
      .Uint32(11) // first-line indent comes before the left indent
      .Uint32(22)
      .Uint32(1)
      .Uint32(kTabRight)
      .Uint32(120);
  FakeRecordFile file(bytes.Take());
  TextStyle style;
  style.Load(file);
  EXPECT_EQ(style.GetFace(), "Arial");
  EXPECT_EQ(style.GetSize(), 18);
  EXPECT_TRUE(style.GetTagIds().Contains(7));
  EXPECT_TRUE(style.GetTagIds().Contains(-3));
  EXPECT_EQ(style.GetFirstIndent(), 11);
  EXPECT_EQ(style.GetLeftIndent(), 22);
  ASSERT_EQ(style.GetTabs().Stops().size(), 1u);
  EXPECT_EQ(style.GetTabs().Stops()[0], (TabStop{kTabRight, 120}));
  bool present = true;
  style.GetRightIndent(&present);
  EXPECT_FALSE(present);
}

// Sizes far past any font's, set or read from a publication, are held at
// the largest size either way.
TEST(TextStyleTest, SizesAreBoundedWhereSetAndWhereLoaded) {
  const int32_t cases[][2] = {{INT32_MAX, TextStyle::kMaxSize},
                              {INT32_MIN, -TextStyle::kMaxSize},
                              {TextStyle::kMaxSize + 1, TextStyle::kMaxSize},
                              {72, 72}};
  for (const auto &c : cases) {
    TextStyle set;
    set.SetSize(c[0]);
    EXPECT_EQ(set.GetSize(), c[1]) << c[0];
    RecordBytes bytes;
    bytes.Uint32(TextStyle::kSize).Uint32(0).Uint32(static_cast<uint32_t>(c[0]));
    FakeRecordFile file(bytes.Take());
    TextStyle loaded;
    loaded.Load(file);
    EXPECT_EQ(loaded.GetSize(), c[1]) << c[0];
  }
}

// A damaged count is refused before it is trusted.
TEST(TextStyleTest, LoadRefusesListCountsNoStyleHolds) {
  for (uint32_t field : {TextStyle::kTagIds, TextStyle::kTabs}) {
    RecordBytes bytes;
    bytes.Uint32(field).Uint32(0).Uint32(0xFFFFFFF0u).Uint32(1);
    FakeRecordFile file(bytes.Take());
    TextStyle style;
    EXPECT_THROW(style.Load(file), VORFileCorruptFileException) << field;
    EXPECT_LT(file.GetLargestRequest(), 16u);
  }
}

} // namespace
