#include "engine/VORExceptionHandlers.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "foundation/VORException.h"

namespace {

// A request no heap can satisfy, in either target's address space: just
// under half of it (2 GiB on the 32-bit target).
constexpr size_t kImpossibleSize = std::numeric_limits<size_t>::max() / 2 - 15;

void *volatile g_keep = nullptr; // stops the compiler from eliding the allocation

TEST(VORExceptionHandlersTest, AllocationFailureThrowsWithTheRequestedSize) {
  VORNewFailureHandler previous = VORSetNewFailureHandler(OnNewFailure);
  bool thrown = false;
  try {
    g_keep = new char[kImpossibleSize];
  } catch (const VORNewFailException &failure) {
    thrown = true;
    EXPECT_EQ(failure.GetRequestedSize(), kImpossibleSize);
    EXPECT_EQ(failure.Text(), "New failed : " + std::to_string(kImpossibleSize) + " bytes");
  }
  VORSetNewFailureHandler(previous);
  EXPECT_TRUE(thrown);
  delete[] static_cast<char *>(g_keep);
}

TEST(VORExceptionHandlersTest, WithoutTheHandlerAllocationFailureIsBadAlloc) {
  VORNewFailureHandler previous = VORSetNewFailureHandler(nullptr);
  EXPECT_THROW(g_keep = new char[kImpossibleSize], std::bad_alloc);
  VORSetNewFailureHandler(previous);
}

TEST(VORExceptionHandlersTest, ZeroByteRequestsGetDistinctBlocks) {
  char *first = new char[0];
  char *second = new char[0];
  EXPECT_NE(first, nullptr);
  EXPECT_NE(first, second);
  delete[] first;
  delete[] second;
}

TEST(VORExceptionHandlersTest, StructuredExceptionIsFormattedAndEndsTheProcess) {
  EXCEPTION_RECORD record = {};
  record.ExceptionCode = EXCEPTION_ACCESS_VIOLATION;
  EXCEPTION_POINTERS pointers = {&record, nullptr};
  testing::internal::CaptureStderr();
  const LONG answer = TranslateStructuredException(&pointers);
  const std::string printed = testing::internal::GetCapturedStderr();
  EXPECT_EQ(answer, EXCEPTION_EXECUTE_HANDLER);
  EXPECT_EQ(printed, "Structured exception : c0000005\n");
}

} // namespace
