#include <gtest/gtest.h>

#include "objects/DrawFlags.h"

namespace {

struct SurfaceCase {
  const char *name;
  DrawFlagInputs inputs;
  bool suitsDepth;
  SurfaceChoice::Kind kind;
  uint16_t expectedWord;
};

DrawFlagInputs Filling() {
  DrawFlagInputs inputs;
  inputs.hasLinkedResource = true;
  inputs.fitMode = 2; // tiled: fills its rectangle
  return inputs;
}

template <class Change>
DrawFlagInputs With(Change change) {
  DrawFlagInputs inputs = Filling();
  change(inputs);
  return inputs;
}

TEST(DrawFlagsTest, FlagsAndSurfacesFollowTheProperties) {
  const SurfaceCase cases[] = {
      {"tiled opaque picture draws straight in", Filling(), true, SurfaceChoice::kDirect, 0x0002},
      {"8-bit display, 24-bit picture: the pair", Filling(), false, SurfaceChoice::kPair, 0x0202},
      {"empty, children empty: nothing", With([](DrawFlagInputs &i) { i.empty = i.childrenEmpty = true; }), true,
       SurfaceChoice::kNothing, 0x1007},
      {"empty with a child: not covering", With([](DrawFlagInputs &i) { i.empty = true; }), true,
       SurfaceChoice::kDirect, 0x0007},
      {"stretched keeping aspect leaves gaps", With([](DrawFlagInputs &i) {
         i.fitMode = 1;
         i.keepAspect = 1;
       }),
       true, SurfaceChoice::kDirect, 0x0007},
      {"corner placement leaves gaps", With([](DrawFlagInputs &i) { i.fitMode = 0; }), true, SurfaceChoice::kDirect,
       0x0007},
      {"metafile", With([](DrawFlagInputs &i) { i.linkedIsMetafile = true; }), true, SurfaceChoice::kDirect, 0x0007},
      {"key colour kind", With([](DrawFlagInputs &i) { i.transparencyKind = 1; }), true, SurfaceChoice::kDirect,
       0x0007},
      {"half opaque", With([](DrawFlagInputs &i) { i.opacity = 128; }), true, SurfaceChoice::kSingle, 0x0042},
      {"opacity above 256 is opaque", With([](DrawFlagInputs &i) { i.opacity = 1000; }), true, SurfaceChoice::kDirect,
       0x0002},
      {"blend offset", With([](DrawFlagInputs &i) { i.blendX = 3; }), true, SurfaceChoice::kSingle, 0x0102},
      {"transparent colour", With([](DrawFlagInputs &i) { i.transparentColourFlag = 3; }), true, SurfaceChoice::kSingle,
       0x0022},
      {"show effect", With([](DrawFlagInputs &i) { i.hasEffect = true; }), true, SurfaceChoice::kSingle, 0x0012},
      {"draggable", With([](DrawFlagInputs &i) { i.moves = true; }), true, SurfaceChoice::kSingle, 0x000A},
      {"shadow over a filling picture", With([](DrawFlagInputs &i) { i.shadowY = 4; }), true, SurfaceChoice::kDirect,
       0x0402},
      {"shadow over gaps", With([](DrawFlagInputs &i) {
         i.shadowX = 4;
         i.fitMode = 0;
       }),
       true, SurfaceChoice::kSingle, 0x0407},
  };
  for (const SurfaceCase &c : cases) {
    DrawFlags flags;
    flags.Reset();
    DrawFlagRules::Apply(flags, c.inputs);
    const SurfaceChoice choice = DrawFlagRules::ChooseSurfaces(flags, c.suitsDepth);
    EXPECT_EQ(choice.kind, c.kind) << c.name;
    EXPECT_EQ(flags.word, c.expectedWord) << c.name;
  }
}

TEST(DrawFlagsTest, SurfacesTakeMasksAndBlendingFromTheFlags) {
  DrawFlags flags;
  flags.Reset();
  DrawFlagRules::Apply(flags, With([](DrawFlagInputs &i) {
                         i.opacity = 100;
                         i.fitMode = 3;
                       }));
  const SurfaceChoice choice = DrawFlagRules::ChooseSurfaces(flags, true);
  EXPECT_TRUE(choice.mask);
  EXPECT_TRUE(choice.blending);
  EXPECT_EQ(flags.transparency, 156);
}

TEST(DrawFlagsTest, ResetKeepsOnlyTheHighBits) {
  DrawFlags flags;
  flags.word = 0xFFFF;
  flags.transparency = 5;
  flags.blendX = 1;
  flags.Reset();
  EXPECT_EQ(flags.word, 0xE002);
  EXPECT_EQ(flags.transparency, 0);
  EXPECT_EQ(flags.blendX, 0);
}

TEST(DrawFlagsTest, BlendLevels) {
  EXPECT_EQ(DrawFlagRules::BlendLevel(128, 0), 126);
  EXPECT_EQ(DrawFlagRules::BlendLevel(0, 128), 126);
  EXPECT_EQ(DrawFlagRules::BlendLevel(256, 0), 0) << "an invisible object blends nothing";
  DrawFlags opaque;
  opaque.Reset();
  DrawFlagRules::Apply(opaque, With([](DrawFlagInputs &i) { i.opacity = 256; }));
  EXPECT_FALSE(DrawFlagRules::Blends(opaque, 0)) << "opaque and no extra transparency: a plain copy";
  EXPECT_TRUE(DrawFlagRules::Blends(opaque, 10));
  EXPECT_EQ(DrawFlagRules::ClampOpacity(1000), 256);
  EXPECT_EQ(DrawFlagRules::ClampOpacity(0xFFFF), 256);
}

TEST(DrawFlagsTest, ChildrenThatBlendMakeTheParentCapture) {
  DrawFlags flags;
  flags.Reset();
  EXPECT_FALSE(DrawFlagRules::NeedsParentCapture(flags));
  DrawFlagRules::Apply(flags, With([](DrawFlagInputs &i) { i.transparentColourFlag = 1; }));
  EXPECT_TRUE(DrawFlagRules::NeedsParentCapture(flags));
}

TEST(DrawFlagsTest, ShadowGeometry) {
  const VORRect rect(10, 20, 110, 70);
  EXPECT_EQ(DrawFlagRules::ScreenRect(rect, -5, 3), VORRect(5, 20, 110, 73));
  EXPECT_EQ(DrawFlagRules::ScreenRect(rect, 4, -2), VORRect(10, 18, 114, 70));

  VORRect vertical;
  VORRect horizontal;
  DrawFlagRules::ShadowStrips(rect, 4, 3, vertical, horizontal);
  EXPECT_EQ(vertical, VORRect(110, 23, 114, 73));
  EXPECT_EQ(horizontal, VORRect(14, 70, 110, 73));
  DrawFlagRules::ShadowStrips(rect, -4, -3, vertical, horizontal);
  EXPECT_EQ(vertical, VORRect(6, 17, 10, 67));
  EXPECT_EQ(horizontal, VORRect(10, 17, 106, 20));
}

TEST(DrawFlagsTest, TransparencyForComposition) {
  DrawFlags flags;
  flags.Reset();
  EXPECT_FALSE(DrawFlagRules::IsTransparent(flags, true, false));
  EXPECT_TRUE(DrawFlagRules::IsTransparent(flags, false, false)) << "hidden";
  EXPECT_TRUE(DrawFlagRules::IsTransparent(flags, true, true)) << "effect running";
  flags.Add(DrawFlags::kShadow);
  EXPECT_TRUE(DrawFlagRules::IsTransparent(flags, true, false));
}

} // namespace
