#include "images/ImageFit.h"

#include <gtest/gtest.h>

#include <vector>

#include "display/DibImage.h"
#include "images/ImageLayout.h"

namespace {

using ImageFit::Placement;
using ImageFit::PointMapping;

constexpr VORRect kNoClip = VORRect::NotSet();

std::string Text(const VORRect &r) {
  return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
         std::to_string(r.bottom) + ")";
}

TEST(ImageFitTest, PlacesTheSourceByFitMode) {
  struct Case {
    const char *name;
    VORRect source;
    VORRect destination;
    int32_t mode;
    bool keepAspect;
    std::vector<Placement> expected;
  };
  const VORRect picture(0, 0, 40, 20);
  const std::vector<Case> cases = {
      {"corner: the part that fits",
       picture,
       VORRect(100, 50, 130, 60),
       ImageLayout::kCorner,
       false,
       {{VORRect(100, 50, 130, 60), VORRect(0, 0, 30, 10)}}},
      {"corner: pixels keep their place",
       VORRect(10, 5, 40, 20),
       VORRect(100, 50, 200, 100),
       ImageLayout::kCorner,
       false,
       {{VORRect(110, 55, 140, 70), VORRect(10, 5, 40, 20)}}},
      {"stretch", picture, VORRect(0, 0, 80, 80), ImageLayout::kStretch, false, {{VORRect(0, 0, 80, 80), picture}}},
      {"stretch keeping the aspect",
       picture,
       VORRect(0, 0, 80, 80),
       ImageLayout::kStretch,
       true,
       {{VORRect(0, 0, 80, 40), picture}}},
      {"stretch onto nothing", picture, VORRect(5, 5, 5, 40), ImageLayout::kStretch, false, {}},
      {"tile 2.5 columns wide: three columns",
       picture,
       VORRect(0, 0, 100, 20),
       ImageLayout::kTile,
       false,
       {{VORRect(0, 0, 40, 20), picture}, {VORRect(40, 0, 80, 20), picture}, {VORRect(80, 0, 120, 20), picture}}},
      {"tile without height", picture, VORRect(0, 0, 100, 0), ImageLayout::kTile, false, {}},
      {"tile from an empty source", VORRect(3, 3, 3, 9), VORRect(0, 0, 100, 100), ImageLayout::kTile, false, {}},
      {"centre", picture, VORRect(0, 0, 100, 41), ImageLayout::kCentre, false, {{VORRect(30, 10, 70, 30), picture}}},
      {"centre in a smaller destination: negative offset",
       picture,
       VORRect(0, 0, 10, 10),
       ImageLayout::kCentre,
       false,
       {{VORRect(-15, -5, 25, 15), picture}}},
      {"centre, odd negative difference truncates toward zero",
       picture,
       VORRect(0, 0, 11, 20),
       ImageLayout::kCentre,
       false,
       {{VORRect(-14, 0, 26, 20), picture}}},
      {"unknown mode", picture, VORRect(0, 0, 100, 100), 7, false, {}},
  };
  for (const Case &c : cases) {
    const std::vector<Placement> placed = ImageFit::Place(c.source, c.destination, kNoClip, c.mode, c.keepAspect);
    ASSERT_EQ(placed.size(), c.expected.size()) << c.name;
    for (size_t i = 0; i < placed.size(); ++i) {
      EXPECT_EQ(placed[i].destination, c.expected[i].destination) << c.name << " " << Text(placed[i].destination);
      EXPECT_EQ(placed[i].source, c.expected[i].source) << c.name << " " << Text(placed[i].source);
    }
  }
}

TEST(ImageFitTest, TilesOnlyWhereTheClipReaches) {
  const VORRect tile(0, 0, 1, 1);
  const std::vector<Placement> placed =
      ImageFit::Place(tile, VORRect(0, 0, 100000, 100000), VORRect(500, 700, 502, 701), ImageLayout::kTile, false);
  ASSERT_EQ(placed.size(), 2u);
  EXPECT_EQ(placed[0].destination, VORRect(500, 700, 501, 701));
  EXPECT_EQ(placed[1].destination, VORRect(501, 700, 502, 701));
}

TEST(ImageFitTest, MapsPointsToPicturePixels) {
  struct Case {
    const char *name;
    int32_t x, y;
    VORRect destination;
    int32_t mode;
    bool keepAspect;
    PointMapping mapping;
    int32_t pictureX, pictureY;
  };
  const VORRect picture(0, 0, 40, 20);
  const std::vector<Case> cases = {
      {"corner", 105, 52, VORRect(100, 50, 200, 100), ImageLayout::kCorner, false, PointMapping::kPixel, 5, 2},
      {"stretch halves", 30, 30, VORRect(0, 0, 80, 40), ImageLayout::kStretch, false, PointMapping::kPixel, 15, 15},
      {"stretch with aspect", 79, 39, VORRect(0, 0, 80, 80), ImageLayout::kStretch, true, PointMapping::kPixel, 39, 19},
      {"stretch with aspect, below the picture", 10, 50, VORRect(0, 0, 80, 80), ImageLayout::kStretch, true,
       PointMapping::kPixel, 5, 25},
      {"stretch left of the destination", -1, 0, VORRect(0, 0, 80, 40), ImageLayout::kStretch, false,
       PointMapping::kPixel, -1, 0},
      {"stretch onto a zero-wide destination", 5, 5, VORRect(5, 0, 5, 40), ImageLayout::kStretch, false,
       PointMapping::kOutside, 0, 0},
      {"stretch onto a zero-high destination", 5, 5, VORRect(0, 5, 40, 5), ImageLayout::kStretch, false,
       PointMapping::kOutside, 0, 0},
      {"tile", 95, 25, VORRect(0, 0, 100, 100), ImageLayout::kTile, false, PointMapping::kPixel, 15, 5},
      {"tile outside the destination", 150, 5, VORRect(0, 0, 100, 100), ImageLayout::kTile, false,
       PointMapping::kAnywhere, 0, 0},
      {"centre", 31, 11, VORRect(0, 0, 100, 41), ImageLayout::kCentre, false, PointMapping::kPixel, 1, 1},
      {"centre, outside the picture", 5, 5, VORRect(0, 0, 100, 41), ImageLayout::kCentre, false, PointMapping::kPixel,
       -25, -5},
      {"unknown mode", 5, 5, VORRect(0, 0, 10, 10), 9, false, PointMapping::kAnywhere, 0, 0},
  };
  for (const Case &c : cases) {
    int32_t x = 0, y = 0;
    EXPECT_EQ(ImageFit::MapPoint(c.x, c.y, picture, c.destination, c.mode, c.keepAspect, x, y), c.mapping) << c.name;
    if (c.mapping == PointMapping::kPixel) {
      EXPECT_EQ(x, c.pictureX) << c.name;
      EXPECT_EQ(y, c.pictureY) << c.name;
    }
  }
}

TEST(ImageFitTest, MaskPixelsHitWhereCoveredAndInsideThePicture) {
  BitmapInfoHeader info{kBitmapInfoHeaderSize, 8, 2, 1, 24, kCompressionRgb, 0, 0, 0, 0, 0};
  DibImage mask;
  ASSERT_TRUE(mask.CreateMask(&info));
  mask.GetRowAddress(1)[0] = 0x40; // pixel (1, 1)
  EXPECT_TRUE(ImageFit::TestMaskPixel(&mask, 8, 2, 1, 1));
  EXPECT_FALSE(ImageFit::TestMaskPixel(&mask, 8, 2, 0, 1));
  EXPECT_TRUE(ImageFit::TestMaskPixel(nullptr, 8, 2, 7, 1)) << "no mask: the whole picture";
  EXPECT_FALSE(ImageFit::TestMaskPixel(nullptr, 8, 2, 8, 1));
  EXPECT_FALSE(ImageFit::TestMaskPixel(nullptr, 8, 2, -1, 0));
  EXPECT_FALSE(ImageFit::TestMaskPixel(nullptr, 8, 2, 0, 2));
}

} // namespace
