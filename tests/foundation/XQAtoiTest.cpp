#include "foundation/XQAtoi.h"

#include <gtest/gtest.h>

namespace {

TEST(XQAtoiTest, ReadsAsAtoiAndClampsBeyond32Bits) {
  struct Case {
    const char *text;
    int32_t expected;
  } cases[] = {
      {"42", 42},
      {"  -17 apples", -17},
      {"+8", 8},
      {"12abc", 12},
      {"abc", 0},
      {"", 0},
      {"2147483647", INT32_MAX},
      {"2147483648", INT32_MAX},
      {"99999999999999999999999", INT32_MAX},
      {"-2147483648", INT32_MIN},
      {"-2147483649", INT32_MIN},
      {"-99999999999999999999999", INT32_MIN},
  };
  for (const Case &c : cases)
    EXPECT_EQ(XQAtoi(c.text), c.expected) << '"' << c.text << '"';
  EXPECT_EQ(XQAtoi(nullptr), 0);
}

} // namespace
