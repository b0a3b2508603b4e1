#include "display/PublicationPalette.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include "ScopedDisplaySettings.h"
#include "model/VORPlayerPublication.h"
#include "support/FakeApp.h"
#include "support/MemoryFile.h"
#include "support/PublicationRecords.h"
#include "vorfile/VORCompiledFile.h"

namespace {

std::unique_ptr<VORPlayerPublication> Load(const PublicationRecords::Publication &written) {
  VORCompiledFile file(std::make_unique<MemoryFile>(written.Bytes(), "publication.vor"));
  EXPECT_TRUE(file.Open(false, false));
  return VORPlayerPublication::LoadFromRoot(file);
}

PublicationRecords::Publication OfDepth(int32_t depth, const std::vector<PublicationRecords::PaletteEntry> &colours) {
  PublicationRecords::Publication written;
  written.colourDepth = depth;
  written.palette = colours;
  PublicationRecords::Chapter chapter;
  chapter.pages = {VORObjectKey{0, 4, 1}};
  written.chapters = {chapter};
  return written;
}

// Entries as the record stores them: blue, green, red, reserved.
const std::vector<PublicationRecords::PaletteEntry> kThreeColours = {{10, 20, 30, 0}, {40, 50, 60, 0}, {70, 80, 90, 0}};

TEST(PublicationPaletteTest, ThePublicationsColoursOrTheDefaultOnesOrNone) {
  struct Case {
    const char *what;
    int32_t depth;
    std::vector<PublicationRecords::PaletteEntry> colours;
    bool trueColorDisplay;
    bool made;
    int32_t count;
  } cases[] = {
      {"8 bits on a true-colour screen: its own colours", 8, kThreeColours, true, true, 3},
      {"8 bits on a palette screen: its own colours", 8, kThreeColours, false, true, 3},
      {"8 bits with an empty palette: no colours", 8, {}, true, true, 0},
      {"16 bits on a palette screen: the default colours", 16, {}, false, true, Palette::kMaxEntries},
      {"24 bits on a palette screen: the default colours", 24, {}, false, true, Palette::kMaxEntries},
      {"24 bits on a true-colour screen: none", 24, {}, true, false, 0},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    ScopedDisplaySettings keep;
    GetDisplaySettings().applicationPalette = nullptr;
    FakeApp app;
    app.SetTrueColor(c.trueColorDisplay);
    std::unique_ptr<VORPlayerPublication> publication = Load(OfDepth(c.depth, c.colours));
    ASSERT_NE(publication, nullptr);
    std::unique_ptr<PublicationPalette> made = PublicationPalette::Make(publication.get());
    ASSERT_EQ(made != nullptr, c.made);
    if (!made) {
      EXPECT_EQ(GetDisplaySettings().applicationPalette, nullptr);
      continue;
    }
    Palette &palette = made->Get();
    EXPECT_EQ(GetDisplaySettings().applicationPalette, &palette) << "the display's application palette";
    EXPECT_TRUE(palette.IsValid());
    ASSERT_EQ(palette.GetCount(), c.count);
    if (c.depth == 8 && c.count > 0) {
      for (int32_t i = 0; i < c.count; ++i) {
        const RgbQuad &entry = palette.GetEntries()[i];
        EXPECT_EQ(entry.blue, c.colours[i].blue) << i;
        EXPECT_EQ(entry.green, c.colours[i].green) << i;
        EXPECT_EQ(entry.red, c.colours[i].red) << i;
      }
    } else if (c.count > 0) {
      Palette builtIn;
      builtIn.LoadDefault();
      EXPECT_EQ(0, std::memcmp(palette.GetEntries(), builtIn.GetEntries(), sizeof(RgbQuad) * Palette::kMaxEntries));
    }
    made.reset();
    EXPECT_EQ(GetDisplaySettings().applicationPalette, nullptr) << "gone with the palette";
  }
}

TEST(PublicationPaletteTest, WithoutAPublicationThereIsNone) {
  ScopedDisplaySettings keep;
  Palette other;
  GetDisplaySettings().applicationPalette = &other;
  EXPECT_EQ(PublicationPalette::Make(nullptr), nullptr);
  EXPECT_EQ(GetDisplaySettings().applicationPalette, &other) << "left alone";
}

// A new publication's palette made before the old one goes: the old one's
// end must not take the new one from the display.
TEST(PublicationPaletteTest, AnOlderPaletteGoingLeavesTheNewerInPlace) {
  ScopedDisplaySettings keep;
  FakeApp app;
  std::unique_ptr<VORPlayerPublication> publication = Load(OfDepth(8, kThreeColours));
  ASSERT_NE(publication, nullptr);
  std::unique_ptr<PublicationPalette> older = PublicationPalette::Make(publication.get());
  std::unique_ptr<PublicationPalette> newer = PublicationPalette::Make(publication.get());
  ASSERT_NE(older, nullptr);
  ASSERT_NE(newer, nullptr);
  older = std::move(newer);
  EXPECT_EQ(GetDisplaySettings().applicationPalette, &older->Get());
  older.reset();
  EXPECT_EQ(GetDisplaySettings().applicationPalette, nullptr);
}

} // namespace
