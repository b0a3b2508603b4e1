#include "expression/RuntimeNumberParser.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <limits>
#include <string>

namespace {

constexpr int64_t kMagnitudeCap = int64_t{1} << 32; // beyond every 32-bit magnitude
// Exponents beyond this overflow or underflow every double whatever the
// digits; capping them keeps the arithmetic on them small.
constexpr long kExponentCap = 100000;

const char *SkipSpace(const char *p) {
  while (RuntimeNumberParser::IsSpace(*p))
    ++p;
  return p;
}

const char *SkipDigits(const char *p) {
  while (RuntimeNumberParser::IsDigit(*p))
    ++p;
  return p;
}

bool IsExponentMark(char c) { return c == 'e' || c == 'E' || c == 'd' || c == 'D'; }

// Reads an exponent ("e-12", "D+3") at p; answers where it ends, or p itself
// when there is none (a lone "e" is not part of the number).
const char *ScanExponent(const char *p, long &exponent) {
  exponent = 0;
  if (!IsExponentMark(*p))
    return p;
  const char *q = p + 1;
  const bool negative = *q == '-';
  if (*q == '+' || *q == '-')
    ++q;
  if (!RuntimeNumberParser::IsDigit(*q))
    return p;
  for (; RuntimeNumberParser::IsDigit(*q); ++q) {
    if (exponent < kExponentCap)
      exponent = exponent * 10 + (*q - '0');
  }
  if (negative)
    exponent = -exponent;
  return q;
}

// Where the first non-zero digit of the mantissa stands relative to the
// point: positive inside the integer part. Only the sign is needed, to tell
// an overflow from an underflow.
long LeadingDigitPosition(const std::string &integerDigits, const std::string &fractionDigits) {
  const size_t integerLead = integerDigits.find_first_not_of('0');
  if (integerLead != std::string::npos)
    return static_cast<long>(integerDigits.size() - integerLead);
  const size_t fractionLead = fractionDigits.find_first_not_of('0');
  return fractionLead == std::string::npos ? 0 : -static_cast<long>(fractionLead);
}

} // namespace

bool RuntimeNumberParser::IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

RuntimeNumberParser::Integer RuntimeNumberParser::ParseInteger(const char *text) {
  const char *p = SkipSpace(text);
  const bool negative = *p == '-';
  if (*p == '+' || *p == '-')
    ++p;
  if (!IsDigit(*p))
    return {0, 0, false};
  // Past the limit the digits go on being taken, but the magnitude stops.
  int64_t magnitude = 0;
  for (; IsDigit(*p); ++p)
    magnitude = std::min(magnitude * 10 + (*p - '0'), kMagnitudeCap);
  const size_t length = static_cast<size_t>(p - text);
  const int64_t limit = negative ? -int64_t{std::numeric_limits<int32_t>::min()} : std::numeric_limits<int32_t>::max();
  if (magnitude > limit)
    return {negative ? std::numeric_limits<int32_t>::min() : std::numeric_limits<int32_t>::max(), length, true};
  return {static_cast<int32_t>(negative ? -magnitude : magnitude), length, false};
}

RuntimeNumberParser::Double RuntimeNumberParser::ParseDouble(const char *text) {
  const char *p = SkipSpace(text);
  const bool negative = *p == '-';
  if (*p == '+' || *p == '-')
    ++p;
  const char *integerEnd = SkipDigits(p);
  std::string integerDigits(p, integerEnd);
  std::string fractionDigits;
  p = integerEnd;
  if (*p == '.') {
    const char *fractionEnd = SkipDigits(p + 1);
    fractionDigits.assign(p + 1, fractionEnd);
    p = fractionEnd;
  }
  if (integerDigits.empty() && fractionDigits.empty())
    return {0.0, 0};
  long exponent = 0;
  p = ScanExponent(p, exponent);

  // Rewritten in the one form that the locale-free reader takes.
  const std::string normal =
      (integerDigits.empty() ? "0" : integerDigits) + "." + fractionDigits + "e" + std::to_string(exponent);
  double magnitude = 0.0;
  const std::from_chars_result result =
      std::from_chars(normal.data(), normal.data() + normal.size(), magnitude, std::chars_format::scientific);
  if (result.ec == std::errc::result_out_of_range) {
    const bool overflow = LeadingDigitPosition(integerDigits, fractionDigits) + exponent > 0;
    magnitude = overflow ? std::numeric_limits<double>::infinity() : 0.0;
  }
  return {negative ? -magnitude : magnitude, static_cast<size_t>(p - text)};
}
