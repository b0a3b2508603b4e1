#include "expression/RuntimeNumberFormatter.h"

#include <cmath>
#include <cstdint>
#include <cstring>

#include "expression/ExactDecimal.h"

namespace {

constexpr int kGeneralPrecision = 6;
constexpr int kSmallestPlainExponent = -4;
constexpr size_t kMinimumExponentDigits = 3;
constexpr int kMantissaBits = 52;
constexpr uint64_t kQuietBit = uint64_t{1} << (kMantissaBits - 1);
constexpr uint64_t kPayloadMask = kQuietBit - 1;

// The runtime's words for the values that have no digits. The "indefinite"
// NaN is the one the processor makes from invalid operations such as
// infinity minus infinity: quiet, sign set, no payload.
std::string NonFiniteText(double value) {
  const char *sign = std::signbit(value) ? "-" : "";
  if (std::isinf(value))
    return std::string(sign) + "1.#INF";
  uint64_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  if (!(bits & kQuietBit))
    return std::string(sign) + "1.#SNAN";
  if (std::signbit(value) && !(bits & kPayloadMask))
    return "-1.#IND";
  return std::string(sign) + "1.#QNAN";
}

// The digits of |value| with `precision` decimals, without sign.
std::string FixedDigits(double value, int precision, bool keepPoint) {
  std::string integer = ExactDecimal::Of(value).RoundedToDecimals(precision);
  if (precision == 0)
    return keepPoint ? integer + "." : integer;
  const size_t decimals = static_cast<size_t>(precision);
  if (integer.size() <= decimals)
    integer.insert(0, decimals + 1 - integer.size(), '0');
  integer.insert(integer.size() - decimals, ".");
  return integer;
}

std::string ExponentText(int exponent) {
  std::string digits = std::to_string(exponent < 0 ? -exponent : exponent);
  if (digits.size() < kMinimumExponentDigits)
    digits.insert(0, kMinimumExponentDigits - digits.size(), '0');
  return std::string(exponent < 0 ? "e-" : "e+") + digits;
}

std::string SignText(double value, const FixedFormatSpec &conversion) {
  if (std::signbit(value))
    return "-";
  if (conversion.plusSign)
    return "+";
  return conversion.spaceSign ? " " : "";
}

// Reads a run of digits as a bounded number; false when it passes the bound.
bool ReadBoundedNumber(const char *&p, int bound, int &number) {
  number = 0;
  for (; *p >= '0' && *p <= '9'; ++p) {
    number = number * 10 + (*p - '0');
    if (number > bound)
      return false;
  }
  return true;
}

bool IsFlag(char c) { return c == '-' || c == '+' || c == ' ' || c == '#' || c == '0'; }

} // namespace

bool FixedFormatSpec::Parse(const char *text, FixedFormatSpec &conversion) {
  conversion = FixedFormatSpec();
  const char *p = text;
  for (; IsFlag(*p); ++p) {
    conversion.leftAlign |= *p == '-';
    conversion.plusSign |= *p == '+';
    conversion.spaceSign |= *p == ' ';
    conversion.alternate |= *p == '#';
    conversion.zeroPad |= *p == '0';
  }
  if (!ReadBoundedNumber(p, kMaxWidth, conversion.width))
    return false;
  if (*p == '.') {
    ++p;
    if (!ReadBoundedNumber(p, kMaxPrecision, conversion.precision))
      return false;
  }
  return *p == '\0';
}

std::string RuntimeNumberFormatter::FormatGeneral(double value) {
  if (!std::isfinite(value))
    return NonFiniteText(value);
  const std::string sign = std::signbit(value) ? "-" : "";
  const ExactDecimal rounded = ExactDecimal::Of(value).RoundedToSignificant(kGeneralPrecision);
  if (rounded.IsZero())
    return sign + "0";
  // The rounded digits carry no trailing zeros, which %g drops anyway.
  const std::string &digits = rounded.GetDigits();
  const int exponent = rounded.GetExponent() - 1; // of the first digit
  if (exponent < kSmallestPlainExponent || exponent >= kGeneralPrecision) {
    std::string mantissa = digits.substr(0, 1);
    if (digits.size() > 1)
      mantissa += "." + digits.substr(1);
    return sign + mantissa + ExponentText(exponent);
  }
  if (exponent < 0)
    return sign + "0." + std::string(static_cast<size_t>(-exponent - 1), '0') + digits;
  const size_t integerLength = static_cast<size_t>(exponent) + 1;
  if (digits.size() <= integerLength)
    return sign + digits + std::string(integerLength - digits.size(), '0');
  return sign + digits.substr(0, integerLength) + "." + digits.substr(integerLength);
}

std::string RuntimeNumberFormatter::FormatFixed(double value, int precision) {
  FixedFormatSpec conversion;
  conversion.precision = precision;
  return FormatFixed(value, conversion);
}

std::string RuntimeNumberFormatter::FormatFixed(double value, const FixedFormatSpec &conversion) {
  const bool finite = std::isfinite(value);
  std::string sign = finite ? SignText(value, conversion) : "";
  std::string body = finite ? FixedDigits(value, conversion.precision, conversion.alternate) : NonFiniteText(value);
  const size_t width = static_cast<size_t>(conversion.width);
  const size_t length = sign.size() + body.size();
  if (length >= width)
    return sign + body;
  const size_t padding = width - length;
  if (conversion.leftAlign)
    return sign + body + std::string(padding, ' ');
  if (conversion.zeroPad && finite)
    return sign + std::string(padding, '0') + body;
  return std::string(padding, ' ') + sign + body;
}
