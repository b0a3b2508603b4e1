#include "foundation/XQAtoi.h"

#include <climits>
#include <cstdlib>

int32_t XQAtoi(const char *text) {
  if (!text)
    return 0;
  // strtoll stops at the first character that is not a digit, as atoi does,
  // and reports an overflow instead of wrapping.
  const long long value = std::strtoll(text, nullptr, 10);
  if (value > INT32_MAX)
    return INT32_MAX;
  if (value < INT32_MIN)
    return INT32_MIN;
  return static_cast<int32_t>(value);
}
