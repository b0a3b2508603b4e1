#include "foundation/VORRandomGenerator.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// The well-known first numbers of the Windows runtime's rand() after
// srand(1): publications that pick pages at random see the same order.
TEST(VORRandomGeneratorTest, MatchesTheRuntimeSequence) {
  VORRandomGenerator::Seed(VORRandomGenerator::kInitialSeed);
  for (int32_t expected : {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358})
    EXPECT_EQ(VORRandomGenerator::Next(), expected);
}

// A block fill gives what the same number of single draws gives, and leaves
// the generator where they would: every block length, the short ones included.
TEST(VORRandomGeneratorTest, FillDrawsWhatNextDraws) {
  for (size_t count : {0u, 1u, 3u, 4u, 5u, 8u, 11u, 31u, 32u, 33u, 63u, 64u, 67u, 1000u}) {
    VORRandomGenerator::Seed(12345);
    std::vector<int32_t> single(count + 3);
    for (int32_t &number : single)
      number = VORRandomGenerator::Next();
    VORRandomGenerator::Seed(12345);
    std::vector<int32_t> block(count + 3);
    VORRandomGenerator::Fill(block.data(), count);
    for (size_t i = count; i < block.size(); ++i)
      block[i] = VORRandomGenerator::Next();
    EXPECT_EQ(block, single) << count;
  }
}

} // namespace
