#include "display/PageExtent.h"

#include <gtest/gtest.h>

namespace {

PageExtent::Input Client(int32_t width, int32_t height, VORRect page, VORRect chapter = VORRect::NotSet()) {
  PageExtent::Input input;
  input.clientWidth = width;
  input.clientHeight = height;
  input.pageRect = page;
  input.chapterPageRect = chapter;
  return input;
}

TEST(PageExtentTest, PagesAreCentredScrolledCutToTheChapterOrKeptInAspect) {
  struct Case {
    const char *what;
    PageExtent::Input input;
    PageExtent expected; // width, height, origin x, y, scroll x, y
  } cases[] = {
      {"smaller than the window: centred",
       Client(800, 600, {0, 0, 640, 480}, {0, 0, 640, 480}),
       {640, 480, 80, 60, 0, 0}},
      {"larger than the window: from the top-left",
       Client(800, 600, {0, 0, 1000, 800}, {0, 0, 1000, 800}),
       {1000, 800, 0, 0, 0, 0}},
      {"cut to the chapter's page size",
       Client(800, 600, {0, 0, 320, 200}, {0, 0, 640, 480}),
       {640, 480, 80, 60, 0, 0}},
      {"no chapter size: the window's size", Client(800, 600, {0, 0, 320, 200}), {800, 600, 0, 0, 0, 0}},
      {"keep aspect", Client(800, 700, {0, 0, 400, 300}), {800, 600, 0, 50, 0, 0}},
      {"keep aspect of a page without width", Client(800, 700, {0, 0, 0, 300}), {800, 700, 0, 0, 0, 0}},
  };
  cases[4].input.keepAspect = true;
  cases[5].input.keepAspect = true;
  for (const Case &c : cases) {
    const PageExtent extent = PageExtent::Compute(c.input);
    EXPECT_EQ(extent.width, c.expected.width) << c.what;
    EXPECT_EQ(extent.height, c.expected.height) << c.what;
    EXPECT_EQ(extent.originX, c.expected.originX) << c.what;
    EXPECT_EQ(extent.originY, c.expected.originY) << c.what;
    EXPECT_EQ(extent.scrollX, c.expected.scrollX) << c.what;
    EXPECT_EQ(extent.scrollY, c.expected.scrollY) << c.what;
  }
}

TEST(PageExtentTest, AScrolledOriginStaysWithinThePageAndACentringOneGoesBack) {
  PageExtent::Input input = Client(800, 600, {0, 0, 1000, 800});
  input.originX = -100;
  input.originY = -500; // past the end: the page got shorter
  PageExtent extent = PageExtent::Compute(input);
  EXPECT_EQ(extent.originX, -100);
  EXPECT_EQ(extent.originY, -200);
  EXPECT_EQ(extent.scrollX, 100);
  EXPECT_EQ(extent.scrollY, 200);

  input.originX = 80; // centred before, larger now
  input.originY = 60;
  extent = PageExtent::Compute(input);
  EXPECT_EQ(extent.originX, 0);
  EXPECT_EQ(extent.originY, 0);
}

TEST(PageExtentTest, WithoutPropertiesAPageThatDoesNotStretchKeepsItsOwnSize) {
  struct Case {
    const char *what;
    bool horizontally, vertically;
    PageExtent expected;
  } cases[] = {
      {"no stretch", false, false, {300, 200, 250, 200, 0, 0}},
      {"stretches across", true, false, {800, 200, 0, 200, 0, 0}},
      {"stretches down", false, true, {300, 600, 250, 0, 0, 0}},
  };
  for (const Case &c : cases) {
    PageExtent::Input input = Client(800, 600, {0, 0, 300, 200});
    input.hasProperties = false;
    input.stretchesHorizontally = c.horizontally;
    input.stretchesVertically = c.vertically;
    const PageExtent extent = PageExtent::Compute(input);
    EXPECT_EQ(extent.width, c.expected.width) << c.what;
    EXPECT_EQ(extent.height, c.expected.height) << c.what;
    EXPECT_EQ(extent.originX, c.expected.originX) << c.what;
    EXPECT_EQ(extent.originY, c.expected.originY) << c.what;
  }
}

TEST(PageExtentTest, ContentThatGrowsWithItsWidthMakesThePageTaller) {
  PageExtent::Input input = Client(800, 600, {0, 0, 640, 480});
  int32_t askedWidth = 0;
  input.neededHeight = [&](int32_t width) {
    askedWidth = width;
    return 900;
  };
  const PageExtent extent = PageExtent::Compute(input);
  EXPECT_EQ(askedWidth, 800);
  EXPECT_EQ(extent.height, 900);
  EXPECT_EQ(extent.originY, 0);
}

} // namespace
