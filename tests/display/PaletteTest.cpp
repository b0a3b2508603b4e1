#include "display/Palette.h"

#include <gtest/gtest.h>

#include <vector>

#include "display/DisplaySettings.h"

namespace {

RgbQuad Rgb(uint8_t red, uint8_t green, uint8_t blue) { return RgbQuad{blue, green, red, 0}; }

TEST(PaletteTest, ConstructorAcceptsZeroToTwoHundredFiftySixEntries) {
  const std::vector<RgbQuad> colours(300, Rgb(1, 2, 3));
  struct Case {
    int32_t count;
    bool valid;
  } cases[] = {{-1, false}, {0, true}, {1, true}, {256, true}, {257, false}, {300, false}};
  for (const Case &c : cases) {
    Palette palette(colours.data(), c.count);
    EXPECT_EQ(palette.IsValid(), c.valid) << c.count;
    EXPECT_EQ(palette.GetEntries() != nullptr, c.valid && c.count > 0) << c.count;
    if (!c.valid) {
      EXPECT_EQ(palette.GetLogPalette(), nullptr) << c.count;
      EXPECT_EQ(palette.GetInverseTable(), nullptr) << c.count;
    }
  }
}

TEST(PaletteTest, AnEmptyPaletteMatchesNothing) {
  Palette empty(nullptr, 0);
  ASSERT_TRUE(empty.IsValid());
  EXPECT_EQ(empty.NearestIndex(MakeColorRef(1, 2, 3)), -1);
  EXPECT_EQ(empty.NearestIndex(kPaletteIndexFlag | 5), 5) << "a palette index is answered without the entries";
  EXPECT_EQ(empty.IndexOfColor(MakeColorRef(1, 2, 3)), -1);
  EXPECT_EQ(empty.GetInverseTable(), nullptr);
  EXPECT_EQ(&Palette::ForEightBit(&empty), &Palette::Default());
  EXPECT_EQ(&Palette::ForEightBit(nullptr), &Palette::Default());
  Palette notValid;
  EXPECT_EQ(&Palette::ForEightBit(&notValid), &Palette::Default());
  Palette one(std::vector<RgbQuad>{Rgb(9, 9, 9)}.data(), 1);
  EXPECT_EQ(&Palette::ForEightBit(&one), &one);
}

TEST(PaletteTest, NearestIndexPrefersTheLaterEntryOnEqualScores) {
  const RgbQuad colours[] = {Rgb(0, 0, 0), Rgb(10, 0, 0), Rgb(10, 0, 0), Rgb(200, 200, 200)};
  Palette palette(colours, 4);
  EXPECT_EQ(palette.NearestIndex(MakeColorRef(5, 0, 0)), 2); // equally far from 0 and from 1 and 2
  EXPECT_EQ(palette.NearestIndex(MakeColorRef(10, 0, 0)), 2);
  EXPECT_EQ(palette.NearestIndex(MakeColorRef(4, 0, 0)), 0);
  EXPECT_EQ(palette.NearestIndex(MakeColorRef(255, 255, 255)), 3);
}

TEST(PaletteTest, ThePaletteIndexBitNamesAnEntry) {
  std::vector<RgbQuad> colours(8, Rgb(255, 255, 255));
  colours[6] = Rgb(0, 0, 0);
  Palette palette(colours.data(), 8);
  struct Case {
    ColorRef colour;
    int32_t index;
  } cases[] = {
      {kPaletteIndexFlag | 5, 5},
      {kPaletteIndexFlag | 6, 6},
      // Past the count: still the low byte, not the entry nearest to the
      // default palette's colour there.
      {kPaletteIndexFlag | 250, 250},
      {kPaletteIndexFlag | 0xFF, 255},
      // Only the low byte names the entry.
      {kPaletteIndexFlag | MakeColorRef(3, 200, 100), 3},
  };
  for (const Case &c : cases) {
    EXPECT_EQ(palette.NearestIndex(c.colour), c.index) << std::hex << c.colour;
  }
  // The fast lookup ignores the bit: the value is the colour 5, 0, 0, nearly black.
  EXPECT_EQ(palette.IndexOfColor(kPaletteIndexFlag | 5), 6);
}

TEST(PaletteTest, AnIndexPastTheCountMatchesTheDefaultPalettesColourThere) {
  // Default entry 250 is pure green.
  const RgbQuad colours[] = {Rgb(0, 0, 0), Rgb(0, 250, 0), Rgb(250, 0, 0)};
  Palette palette(colours, 3);
  const RgbQuad green = palette.ColorOfIndex(250);
  EXPECT_EQ(green.red, 0);
  EXPECT_EQ(green.green, 255);
  EXPECT_EQ(green.blue, 0);
  EXPECT_EQ(palette.ColorOfIndex(1).green, 250);
}

TEST(PaletteTest, TheLastInverseSlotStandsForPureWhite) {
  // 248, 248, 248 is the colour the last slot's 5-5-5 value would give.
  const RgbQuad colours[] = {Rgb(255, 255, 255), Rgb(248, 248, 248)};
  Palette palette(colours, 2);
  EXPECT_EQ(palette.NearestIndex(MakeColorRef(248, 248, 248)), 1);
  EXPECT_EQ(palette.IndexOfColor(MakeColorRef(255, 255, 255)), 0);
  EXPECT_EQ(palette.IndexOfColor(MakeColorRef(250, 249, 252)), 0);
  EXPECT_EQ(palette.IndexOfColor(MakeColorRef(247, 248, 248)), 1);
}

TEST(PaletteTest, TheInverseTableFindsTheDefaultColoursThatItCanHoldExactly) {
  Palette &palette = Palette::Default();
  const RgbQuad *entries = palette.GetEntries();
  ASSERT_NE(entries, nullptr);
  for (int i = 0; i < palette.GetCount(); ++i) {
    const RgbQuad e = entries[i];
    if (e.red % 8 != 0 || e.green % 8 != 0 || e.blue % 8 != 0) {
      continue; // falls between two slots
    }
    const int found = palette.IndexOfColor(MakeColorRef(e.red, e.green, e.blue));
    ASSERT_GE(found, 0);
    EXPECT_EQ(entries[found].red, e.red) << i;
    EXPECT_EQ(entries[found].green, e.green) << i;
    EXPECT_EQ(entries[found].blue, e.blue) << i;
  }
}

TEST(PaletteTest, EveryInverseSlotHoldsTheNearestEntryOfItsColour) {
  // The default palette; a few colours with repeats, where equal scores go
  // to the later entry; and one colour alone.
  const RgbQuad repeated[] = {Rgb(0, 0, 0), Rgb(200, 10, 90), Rgb(0, 0, 0), Rgb(8, 8, 8), Rgb(200, 10, 90)};
  // Both forms of the loop, as the application's flag picks them.
  const RgbQuad single[] = {Rgb(77, 66, 55)};
  const bool wasVector = GetDisplaySettings().mmx;
  for (const bool vector : {false, true}) {
    GetDisplaySettings().mmx = vector;
    Palette full(Palette::Default().GetEntries(), Palette::Default().GetCount()), small(repeated, 5), alone(single, 1);
    for (Palette *palette : {&full, &small, &alone}) {
      const uint8_t *table = palette->GetInverseTable();
      ASSERT_NE(table, nullptr);
      for (uint32_t slot = 0; slot + 1 < Palette::kInverseTableSize; ++slot) {
        const auto red = static_cast<uint8_t>((slot & 0x1F) << 3);
        const auto green = static_cast<uint8_t>(((slot >> 5) & 0x1F) << 3);
        const auto blue = static_cast<uint8_t>(((slot >> 10) & 0x1F) << 3);
        ASSERT_EQ(table[slot], palette->NearestIndex(MakeColorRef(red, green, blue)))
            << palette->GetCount() << " " << slot;
      }
      // The last slot stands for pure white.
      EXPECT_EQ(table[Palette::kInverseTableSize - 1], palette->NearestIndex(MakeColorRef(255, 255, 255)));
    }
  }
  GetDisplaySettings().mmx = wasVector;
}

TEST(PaletteTest, TheDefaultPaletteHoldsTheReservedColoursAtBothEnds) {
  Palette palette;
  palette.LoadDefault();
  ASSERT_EQ(palette.GetCount(), 256);
  struct Case {
    int index;
    uint8_t red, green, blue;
  } cases[] = {{0, 0, 0, 0},         {1, 128, 0, 0},   {7, 192, 192, 192},   {8, 192, 220, 192},
               {9, 164, 200, 240},   {30, 192, 0, 0},  {246, 255, 251, 240}, {247, 160, 160, 164},
               {248, 128, 128, 128}, {249, 255, 0, 0}, {252, 0, 0, 255},     {255, 255, 255, 255}};
  for (const Case &c : cases) {
    const RgbQuad e = palette.GetEntries()[c.index];
    EXPECT_EQ(e.red, c.red) << c.index;
    EXPECT_EQ(e.green, c.green) << c.index;
    EXPECT_EQ(e.blue, c.blue) << c.index;
    EXPECT_EQ(e.reserved, 0) << c.index;
  }
}

TEST(PaletteTest, TheLogicalFormListsRedGreenBlue) {
  const RgbQuad colours[] = {Rgb(1, 2, 3), Rgb(4, 5, 6)};
  Palette palette(colours, 2);
  const LogPaletteForm *form = palette.GetLogPalette();
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(form->palVersion, 0x300);
  EXPECT_EQ(form->palNumEntries, 2);
  EXPECT_EQ(form->palPalEntry[1].peRed, 4);
  EXPECT_EQ(form->palPalEntry[1].peGreen, 5);
  EXPECT_EQ(form->palPalEntry[1].peBlue, 6);
  EXPECT_EQ(form->palPalEntry[1].peFlags, 0);
}

} // namespace
