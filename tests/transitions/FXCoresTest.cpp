#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <numeric>
#include <set>
#include <string>
#include <vector>

#include "foundation/VORRandomGenerator.h"
#include "transitions/FXCores.h"

namespace {

constexpr uint32_t kOld = 0x00102030;
constexpr uint32_t kNew = 0x00C0D0E0;

struct Pictures {
  FXImage oldPicture;
  FXImage newPicture;
  FXImage out;
  Pictures(int32_t w, int32_t h) {
    if (oldPicture.Resize(w, h)) {
      newPicture.Resize(w, h);
      out.Resize(w, h);
      oldPicture.Fill(kOld);
      newPicture.Fill(kNew);
      out.Fill(0x00FF00FF);
    }
  }
};

bool AllAre(const FXImage &image, uint32_t colour) {
  for (int32_t y = 0; y < image.height; ++y)
    for (int32_t x = 0; x < image.width; ++x)
      if (image.Row(y)[x] != colour)
        return false;
  return true;
}

// How many pixels of the mask's w x h are set.
int32_t CountSet(const FXMask &mask, int32_t w, int32_t h) {
  int32_t count = 0;
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x)
      count += mask.Get(x, y) ? 1 : 0;
  return count;
}

using Maker = std::function<std::unique_ptr<FXCore>()>;

const std::vector<std::pair<std::string, Maker>> &Cores() {
  static const std::vector<std::pair<std::string, Maker>> cores = {
      {"fade", [] { return std::make_unique<FadeCore>(8, FadeCore::kNoColour); }},
      {"fade colour", [] { return std::make_unique<FadeCore>(9, 0x0000FF); }},
      {"fade 0 levels", [] { return std::make_unique<FadeCore>(0, FadeCore::kNoColour); }},
      {"pixel 0", [] { return std::make_unique<PixelCore>(0); }},
      {"pixel 1", [] { return std::make_unique<PixelCore>(1); }},
      {"pixel 2", [] { return std::make_unique<PixelCore>(2); }},
      {"pixel 3", [] { return std::make_unique<PixelCore>(3); }},
      {"blind 0", [] { return std::make_unique<BlindCore>(4, 0, true, true); }},
      {"blind 2 moving", [] { return std::make_unique<BlindCore>(3, 2, false, false); }},
      {"blind 0 strips", [] { return std::make_unique<BlindCore>(0, 3, false, true); }},
      {"block 10", [] { return std::make_unique<BlockCore>(10, 10, 10); }},
      {"block 0 x 0", [] { return std::make_unique<BlockCore>(0, 0, 3); }},
      {"block huge", [] { return std::make_unique<BlockCore>(1 << 30, 1 << 30, 10); }},
      {"jigsaw 10", [] { return std::make_unique<JigsawCore>(10, 10, 10); }},
      {"jigsaw 3 x 5 spiral", [] { return std::make_unique<JigsawCore>(3, 5, 9); }},
      {"jigsaw 0 x 0", [] { return std::make_unique<JigsawCore>(0, 0, 3); }},
      {"jigsaw huge", [] { return std::make_unique<JigsawCore>(1 << 30, 1 << 30, 10); }},
      {"jigsaw negative", [] { return std::make_unique<JigsawCore>(-4, 7, 255); }},
      {"scroll", [] { return std::make_unique<ScrollCore>(1, -1, false); }},
      {"wipe", [] { return std::make_unique<ScrollCore>(0, 1, true); }},
      {"slide", [] { return std::make_unique<SlideCore>(-1, 0); }},
      {"slide diagonal", [] { return std::make_unique<SlideCore>(1, 1); }},
      {"shape circle", [] { return std::make_unique<ShapeCore>(0, 0, 5, 2, 2, 0); }},
      {"shape star", [] { return std::make_unique<ShapeCore>(2, -100, 6, 1, 1, 90); }},
      {"shape 0 sides", [] { return std::make_unique<ShapeCore>(1, 0, 0, 0, 3, 30); }},
      {"zoom", [] { return std::make_unique<ZoomCore>(5); }},
      {"zoom out", [] { return std::make_unique<ZoomCore>(0x10 | 8 | 2); }},
  };
  return cores;
}

// Runs every step and composes the whole rectangle.
void RunToEnd(FXCore &core, Pictures &pictures, int32_t w, int32_t h, bool closing) {
  const int32_t total = core.Prepare(w, h, closing);
  std::vector<VORRect> changed;
  for (int32_t step = 0; step <= total; step += std::max(1, total / 37))
    core.Step(step, changed);
  core.Step(total, changed);
  core.Compose(pictures.out, pictures.oldPicture, pictures.newPicture, VORRect(0, 0, w, h));
}

TEST(FXCoresTest, EveryEffectEndsOnExactlyTheNewPictureOrTheOldWhenClosing) {
  const int32_t sizes[][2] = {{1, 1}, {2, 3}, {16, 16}, {17, 5}, {64, 48}, {3, 40}, {0, 0}, {0, 7}};
  for (const auto &[name, make] : Cores()) {
    for (const auto &size : sizes) {
      for (const bool closing : {false, true}) {
        Pictures pictures(size[0], size[1]);
        std::unique_ptr<FXCore> core = make();
        RunToEnd(*core, pictures, size[0], size[1], closing);
        EXPECT_TRUE(AllAre(pictures.out, closing ? kOld : kNew))
            << name << " " << size[0] << "x" << size[1] << (closing ? " closing" : "");
      }
    }
  }
}

// How many pixels each of the 256 steps of pixel mode 0 shows on w x h.
std::vector<int32_t> PixelsShownPerStep(int32_t w, int32_t h, uint32_t seed) {
  VORRandomGenerator::Seed(seed);
  PixelCore core(0);
  EXPECT_EQ(core.Prepare(w, h, false), 256);
  std::vector<VORRect> changed;
  std::vector<int32_t> counts;
  int32_t shown = 0;
  for (int32_t step = 0; step < 256; ++step) {
    core.Step(step, changed);
    const int32_t now = CountSet(core.GetMask(), w, h);
    counts.push_back(now - shown);
    shown = now;
  }
  return counts;
}

TEST(FXCoresTest, PixelModeZeroRevealsEveryPixelOnceIn256Steps) {
  const int32_t w = 40;
  const int32_t h = 20;
  const std::vector<int32_t> counts = PixelsShownPerStep(w, h, 7);
  for (size_t step = 0; step < counts.size(); ++step) {
    // Every whole 16 x 16 cell reveals exactly one pixel a step.
    EXPECT_GE(counts[step], 2 * 1) << step;
    EXPECT_LE(counts[step], 6) << step;
  }
  EXPECT_EQ(std::accumulate(counts.begin(), counts.end(), 0), w * h);
}

// With whole cells only, each step shows exactly one new pixel per cell;
// 256 steps then show every pixel, so none was shown twice.
TEST(FXCoresTest, PixelModeZeroShowsOnePixelOfEveryCellAStep) {
  const int32_t sizes[][2] = {{48, 32}, {16, 16}, {16, 64}};
  for (const auto &size : sizes) {
    const int32_t cells = (size[0] / 16) * (size[1] / 16);
    const std::vector<int32_t> counts = PixelsShownPerStep(size[0], size[1], static_cast<uint32_t>(size[0] + size[1]));
    EXPECT_EQ(counts, std::vector<int32_t>(256, cells)) << size[0] << "x" << size[1];
  }
}

TEST(FXCoresTest, EveryBlockOrderVisitsEveryCellOnce) {
  const int32_t grids[][2] = {{3, 5}, {1, 1}, {5, 3}, {1, 7}, {8, 1}, {4, 4}};
  for (int32_t order = 0; order <= 12; ++order) {
    for (const auto &grid : grids) {
      const std::vector<int32_t> cells = BlockCore::RevealOrder(grid[0], grid[1], order);
      const std::set<int32_t> distinct(cells.begin(), cells.end());
      EXPECT_EQ(cells.size(), static_cast<size_t>(grid[0] * grid[1])) << order;
      EXPECT_EQ(distinct.size(), cells.size()) << order;
      EXPECT_EQ(*distinct.begin(), 0);
      EXPECT_EQ(*distinct.rbegin(), grid[0] * grid[1] - 1);
    }
  }
  // Order 0 starts at the top right and sweeps the first row leftwards.
  EXPECT_EQ(BlockCore::RevealOrder(3, 2, 0), (std::vector<int32_t>{2, 1, 0, 3, 4, 5}));
  // The inward spiral goes down the first column first.
  EXPECT_EQ(BlockCore::RevealOrder(3, 3, 8), (std::vector<int32_t>{0, 3, 6, 7, 8, 5, 2, 1, 4}));
  // The outward spiral starts at the centre.
  EXPECT_EQ(BlockCore::RevealOrder(3, 3, 9).front(), 4);
}

TEST(FXCoresTest, HugeBlockGridsAreBoundedAndAOneCellGridTakesOneStep) {
  BlockCore huge(1 << 30, 7, 10);
  EXPECT_EQ(huge.Prepare(5000, 3, false), 1024 * 3);
  BlockCore one(1, 1, 4);
  EXPECT_EQ(one.Prepare(30, 30, false), 1);
}

// Each step of a jigsaw adds exactly one whole piece to the mask and takes
// nothing away; at the end every pixel was added once.
TEST(FXCoresTest, JigsawPiecesCoverTheRectangleOnce) {
  const int32_t sizes[][2] = {{1, 1}, {2, 3}, {17, 5}, {64, 48}, {150, 101}, {3, 40}, {700, 2}};
  const int32_t grids[][2] = {{1, 1}, {3, 5}, {10, 10}, {0, 0}, {7, 1 << 30}, {33, 2}};
  VORRandomGenerator::Seed(11);
  for (const auto &size : sizes) {
    for (const auto &grid : grids) {
      const int32_t w = size[0];
      const int32_t h = size[1];
      const std::string name = std::to_string(w) + "x" + std::to_string(h) + " grid " + std::to_string(grid[0]) + "x" +
                               std::to_string(grid[1]);
      JigsawCore core(grid[0], grid[1], 10);
      const int32_t total = core.Prepare(w, h, false);
      ASSERT_EQ(total, core.GetColumns() * core.GetRows()) << name;
      std::vector<uint8_t> shown(static_cast<size_t>(w) * static_cast<size_t>(h), 0);
      std::set<int32_t> pieces;
      std::vector<VORRect> changed;
      for (int32_t step = 1; step <= total; ++step) {
        core.Step(step, changed);
        int32_t piece = -1;
        for (int32_t y = 0; y < h; ++y) {
          for (int32_t x = 0; x < w; ++x) {
            uint8_t &was = shown[static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x)];
            const bool is = core.GetMask().Get(x, y);
            ASSERT_FALSE(was && !is) << name << " step " << step << " hid " << x << "," << y;
            if (!was && is) {
              if (piece < 0)
                piece = core.PieceAt(x, y);
              ASSERT_EQ(core.PieceAt(x, y), piece) << name << " step " << step;
              ASSERT_TRUE(core.PieceBounds(piece).Contains(x, y)) << name;
              was = 1;
            } else if (!is) {
              ASSERT_NE(core.PieceAt(x, y), piece) << name << " step " << step << " left out " << x << "," << y;
            }
          }
        }
        EXPECT_TRUE(pieces.insert(piece).second) << name << " piece " << piece << " twice";
      }
      EXPECT_EQ(std::count(shown.begin(), shown.end(), 1), static_cast<std::ptrdiff_t>(shown.size())) << name;
    }
  }
}

TEST(FXCoresTest, JigsawPiecesInterlockWithTabsAndNotches) {
  VORRandomGenerator::Seed(3);
  JigsawCore core(4, 3, 0);
  ASSERT_EQ(core.Prepare(200, 150, false), 12);
  int32_t outside = 0;
  for (int32_t y = 0; y < 150; ++y) {
    for (int32_t x = 0; x < 200; ++x) {
      const int32_t own = x / 50 + (y / 50) * 4;
      const int32_t piece = core.PieceAt(x, y);
      if (piece != own) {
        ++outside;
        // Only a neighbour across a side reaches in, never across a corner.
        const int32_t dc = piece % 4 - own % 4;
        const int32_t dr = piece / 4 - own / 4;
        EXPECT_EQ(std::abs(dc) + std::abs(dr), 1) << x << "," << y;
      }
    }
  }
  // 17 inner sides, each with a tab of a few hundred pixels.
  EXPECT_GT(outside, 17 * 200);
  EXPECT_LT(outside, 17 * 50 * 25);
  // The border has no tabs: the outer rows and columns keep their cells.
  for (int32_t x = 0; x < 200; ++x) {
    EXPECT_EQ(core.PieceAt(x, 0), x / 50);
    EXPECT_EQ(core.PieceAt(x, 149), x / 50 + 8);
  }
  // A tab is a narrow neck under a wider head, centred on its side.
  const std::vector<JigsawCore::TabSpan> tab = JigsawCore::TabShape(200, 60);
  ASSERT_EQ(tab.size(), 60u);
  int32_t widest = 0;
  for (const JigsawCore::TabSpan &span : tab) {
    EXPECT_EQ(span.begin + span.end, 200);
    widest = std::max(widest, span.end - span.begin);
  }
  EXPECT_LT(tab.front().end - tab.front().begin, widest / 2 + 10);
  // The side's ends are never part of a tab.
  for (const JigsawCore::TabSpan &span : JigsawCore::TabShape(1, 3))
    EXPECT_GE(span.begin, span.end);
  EXPECT_TRUE(JigsawCore::TabShape(0, 5).empty());
  EXPECT_TRUE(JigsawCore::TabShape(5, 0).empty());
}

TEST(FXCoresTest, FadeNeverShowsTheNewPictureAtLevelZero) {
  for (const uint32_t colour : {FadeCore::kNoColour, 0x00FFFFFFu}) {
    FadeCore core(8, colour);
    Pictures pictures(4, 4);
    core.Prepare(4, 4, false);
    std::vector<VORRect> changed;
    core.Step(0, changed);
    core.Compose(pictures.out, pictures.oldPicture, pictures.newPicture, VORRect(0, 0, 4, 4));
    EXPECT_TRUE(AllAre(pictures.out, kOld));
  }
  EXPECT_EQ(FadeCore::NewOpacity(0, 8), 0);
  EXPECT_EQ(FadeCore::NewOpacity(8, 8), 256);
  // With a colour: solid exactly at the middle level, none at the ends.
  EXPECT_EQ(FadeCore::ColourOpacity(4, 8), 256);
  EXPECT_EQ(FadeCore::ColourOpacity(0, 8), 0);
  EXPECT_LT(FadeCore::ColourOpacity(8, 8), 1);
  EXPECT_EQ(FadeCore::ColourOpacity(1, 1), 0);
  FadeCore middle(8, 0x000000FF);
  Pictures pictures(2, 2);
  middle.Prepare(2, 2, false);
  std::vector<VORRect> changed;
  middle.Step(4, changed);
  middle.Compose(pictures.out, pictures.oldPicture, pictures.newPicture, VORRect(0, 0, 2, 2));
  EXPECT_TRUE(AllAre(pictures.out, FXCompose::PixelOf(0x000000FF)));
}

TEST(FXCoresTest, BlindsOpeningFromTheMiddleOrAlternatingTakeHalfTheSteps) {
  for (int32_t mode = 0; mode < 4; ++mode) {
    BlindCore core(4, mode, true, true);
    EXPECT_EQ(core.Prepare(400, 10, false), mode >= 2 ? 50 : 100) << mode;
  }
}

TEST(FXCoresTest, ShapeSidesAndCellsOutsideTheirRangeFallBack) {
  const struct {
    int32_t sides, columns, rows;
    int32_t wantSides, wantColumns, wantRows;
  } cases[] = {{51, 0, 101, 3, 1, 1}, {0, -2, 100, 3, 1, 100}, {2, 1, 1, 3, 1, 1}, {50, 100, 7, 50, 100, 7}};
  for (const auto &c : cases) {
    ShapeCore core(1, 0, c.sides, c.columns, c.rows, 0);
    EXPECT_EQ(core.GetSides(), c.wantSides);
    EXPECT_EQ(core.GetColumns(), c.wantColumns);
    EXPECT_EQ(core.GetRows(), c.wantRows);
    // Every corner is a finite point.
    for (const double v : core.Corners(10, 10, 8, 6, 33))
      EXPECT_TRUE(v == v && v > -100 && v < 100);
  }
}

TEST(FXCoresTest, ZoomModeZeroGrowsFromTheTopLeftCorner) {
  ZoomCore core(0);
  const int32_t total = core.Prepare(100, 50, false);
  EXPECT_EQ(total, 500);
  EXPECT_EQ(core.ZoomRect(250), VORRect(0, 0, 50, 25));
  ZoomCore centred(5);
  centred.Prepare(100, 50, false);
  EXPECT_EQ(centred.ZoomRect(250), VORRect(25, 12, 75, 37));
}

TEST(FXCoresTest, MaskSpansSetWholeWordsAndEdges) {
  FXMask mask;
  ASSERT_TRUE(mask.Resize(70, 2));
  mask.SetSpan(0, 3, 67, true);
  for (int32_t x = 0; x < 70; ++x)
    EXPECT_EQ(mask.Get(x, 0), x >= 3 && x < 67) << x;
  mask.SetSpan(1, -5, 500, true);
  mask.SetSpan(1, 31, 33, false);
  EXPECT_TRUE(mask.Get(30, 1));
  EXPECT_FALSE(mask.Get(31, 1));
  EXPECT_FALSE(mask.Get(32, 1));
  EXPECT_TRUE(mask.Get(69, 1));
  // Sizes beyond what an effect takes are refused, not allocated.
  EXPECT_FALSE(mask.Resize(1 << 20, 1 << 20));
  FXImage image;
  EXPECT_FALSE(image.Resize(70000, 70000));
}

TEST(FXCoresTest, ThroughMaskTakesEachPixelFromThePictureItsBitNamesInBothLoops) {
  // A ragged mask over pictures of distinct pixels, composed into an area
  // that starts and ends inside words: every pixel is checked against its bit.
  constexpr int32_t kWidth = 100, kHeight = 5;
  Pictures pictures(kWidth, kHeight);
  for (int32_t y = 0; y < kHeight; ++y) {
    for (int32_t x = 0; x < kWidth; ++x) {
      pictures.oldPicture.Row(y)[x] = static_cast<uint32_t>(y * 1000 + x);
      pictures.newPicture.Row(y)[x] = static_cast<uint32_t>(0x800000 + y * 1000 + x);
    }
  }
  FXMask mask;
  ASSERT_TRUE(mask.Resize(kWidth, kHeight));
  VORRandomGenerator::Seed(9);
  for (int32_t y = 0; y < kHeight; ++y)
    for (int32_t x = 0; x < kWidth; ++x)
      mask.Set(x, y, y == 3 || (y != 4 && VORRandomGenerator::Next() % 2 == 0)); // row 3 all set, 4 all clear
  const VORRect area(5, 0, 97, kHeight);
  for (PixelLoops loops : {PixelLoops::kPlain, PixelLoops::kVector}) {
    pictures.out.Fill(0x00FF00FF);
    FXCompose::ThroughMask(pictures.out, pictures.oldPicture, pictures.newPicture, mask, area, loops);
    for (int32_t y = 0; y < kHeight; ++y) {
      for (int32_t x = 0; x < kWidth; ++x) {
        const uint32_t expected = !area.Contains(x, y) ? 0x00FF00FFu
                                  : mask.Get(x, y)     ? pictures.newPicture.Row(y)[x]
                                                       : pictures.oldPicture.Row(y)[x];
        ASSERT_EQ(pictures.out.Row(y)[x], expected) << static_cast<int>(loops) << " at " << x << "," << y;
      }
    }
  }
}

// Pictures may be the top-left corner of larger ones (the effects keep
// pictures for later effects of any size up to theirs): every core then
// composes the same pixels, and nothing beside the corner changes.
TEST(FXCoresTest, EveryCoreComposesTheSameIntoTheCornerOfWiderPictures) {
  constexpr int32_t kWidth = 45, kHeight = 29, kStride = 64, kRows = 33;
  constexpr uint32_t kOutside = 0x00ABCDEF;
  for (const auto &[name, make] : Cores()) {
    for (const bool closing : {false, true}) {
      Pictures plain(kWidth, kHeight);
      std::vector<uint32_t> oldBits(kStride * kRows, kOutside), newBits(kStride * kRows, kOutside),
          outBits(kStride * kRows, kOutside);
      Pictures wide(1, 1);
      wide.oldPicture.Attach(oldBits.data(), kWidth, kHeight, kStride);
      wide.newPicture.Attach(newBits.data(), kWidth, kHeight, kStride);
      wide.out.Attach(outBits.data(), kWidth, kHeight, kStride);
      for (int32_t y = 0; y < kHeight; ++y) {
        for (int32_t x = 0; x < kWidth; ++x) {
          plain.oldPicture.Row(y)[x] = wide.oldPicture.Row(y)[x] = static_cast<uint32_t>(y * 977 + x * 31);
          plain.newPicture.Row(y)[x] = wide.newPicture.Row(y)[x] = static_cast<uint32_t>(0xFF0000 - y * 613 - x);
        }
      }
      wide.out.Fill(0);
      plain.out.Fill(0);
      // The same random cells for both: each runs from the same seed.
      for (Pictures *pictures : {&plain, &wide}) {
        VORRandomGenerator::Seed(5);
        std::unique_ptr<FXCore> core = make();
        const int32_t total = core->Prepare(kWidth, kHeight, closing);
        std::vector<VORRect> changed;
        core->Step(total / 2, changed);
        core->Compose(pictures->out, pictures->oldPicture, pictures->newPicture, VORRect(0, 0, kWidth, kHeight));
      }
      for (int32_t y = 0; y < kHeight; ++y)
        for (int32_t x = 0; x < kWidth; ++x)
          ASSERT_EQ(wide.out.Row(y)[x], plain.out.Row(y)[x])
              << name << (closing ? " closing" : "") << " at " << x << "," << y;
      for (size_t i = 0; i < outBits.size(); ++i) {
        if (static_cast<int32_t>(i % kStride) >= kWidth || static_cast<int32_t>(i / kStride) >= kHeight) {
          ASSERT_EQ(outBits[i], kOutside) << name << " beside the corner at " << i;
        }
      }
    }
  }
}

} // namespace
