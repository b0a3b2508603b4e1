#include "transitions/FXPictureStore.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "transitions/FXPicture.h"

namespace {

// The smallest kept picture that holds the size serves it, its image the
// top-left corner at that size with the picture's own rows; a size no kept
// picture holds gets a new picture.
TEST(FXPictureStoreTest, ATakenPictureIsTheSmallestKeptOneThatHoldsTheSize) {
  FXPictureStore::Clear();
  std::unique_ptr<FXPicture> wide = FXPictureStore::Take(100, 50);
  std::unique_ptr<FXPicture> square = FXPictureStore::Take(40, 40);
  ASSERT_NE(wide, nullptr);
  ASSERT_NE(square, nullptr);
  const FXPicture *wideAt = wide.get(), *squareAt = square.get();
  FXPictureStore::Keep(std::move(wide));
  FXPictureStore::Keep(std::move(square));
  EXPECT_EQ(FXPictureStore::KeptCount(), 2u);

  std::unique_ptr<FXPicture> small = FXPictureStore::Take(30, 25);
  EXPECT_EQ(small.get(), squareAt);
  EXPECT_EQ(small->image.width, 30);
  EXPECT_EQ(small->image.height, 25);
  EXPECT_EQ(small->image.Row(1) - small->image.Row(0), 40); // the picture's own rows
  std::unique_ptr<FXPicture> large = FXPictureStore::Take(90, 45);
  EXPECT_EQ(large.get(), wideAt);
  EXPECT_EQ(FXPictureStore::KeptCount(), 0u);
  std::unique_ptr<FXPicture> tall = FXPictureStore::Take(20, 60);
  ASSERT_NE(tall, nullptr);
  EXPECT_EQ(tall->image.height, 60);
  // Nothing is made for a size beyond what an effect takes.
  EXPECT_EQ(FXPictureStore::Take(70000, 70000), nullptr);
  FXPictureStore::Clear();
}

TEST(FXPictureStoreTest, TheLargestPicturesAreKept) {
  FXPictureStore::Clear();
  std::vector<std::unique_ptr<FXPicture>> pictures;
  for (int32_t side = 10; side <= 50; side += 10)
    pictures.push_back(FXPictureStore::Take(side, side));
  for (auto &picture : pictures)
    FXPictureStore::Keep(std::move(picture));
  ASSERT_EQ(FXPictureStore::KeptCount(), FXPictureStore::kKept);
  // 30, 40 and 50 stayed: three pictures of 30 x 30 are served from them.
  for (size_t i = 0; i < FXPictureStore::kKept; ++i) {
    std::unique_ptr<FXPicture> taken = FXPictureStore::Take(30, 30);
    EXPECT_EQ(FXPictureStore::KeptCount(), FXPictureStore::kKept - 1 - i);
    pictures.push_back(std::move(taken));
  }
  FXPictureStore::Clear();
}

// Warming leaves a whole effect's pictures of the size ready, their memory
// written (black); a second warming for a size they hold makes nothing.
TEST(FXPictureStoreTest, WarmingKeepsAnEffectsPicturesReadyForTheSize) {
  FXPictureStore::Clear();
  FXPictureStore::Warm(64, 48);
  EXPECT_EQ(FXPictureStore::KeptCount(), FXPictureStore::kKept);
  std::vector<std::unique_ptr<FXPicture>> taken;
  for (size_t i = 0; i < FXPictureStore::kKept; ++i) {
    taken.push_back(FXPictureStore::Take(64, 48));
    const FXImage &image = taken.back()->image;
    ASSERT_EQ(image.width, 64);
    for (int32_t y = 0; y < image.height; ++y)
      for (int32_t x = 0; x < image.width; ++x)
        ASSERT_EQ(image.Row(y)[x], 0u) << i << " at " << x << "," << y;
  }
  EXPECT_EQ(FXPictureStore::KeptCount(), 0u);
  std::vector<const FXPicture *> warmed;
  for (auto &picture : taken) {
    warmed.push_back(picture.get());
    FXPictureStore::Keep(std::move(picture));
  }
  FXPictureStore::Warm(32, 32);
  ASSERT_EQ(FXPictureStore::KeptCount(), FXPictureStore::kKept);
  for (size_t i = 0; i < FXPictureStore::kKept; ++i) {
    std::unique_ptr<FXPicture> again = FXPictureStore::Take(32, 32);
    EXPECT_NE(std::find(warmed.begin(), warmed.end(), again.get()), warmed.end()) << i;
  }
  FXPictureStore::Clear();
}

} // namespace
