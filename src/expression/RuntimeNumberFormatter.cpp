#include "expression/RuntimeNumberFormatter.h"

#include <cmath>
#include <cstdint>
#include <cstring>

#include "expression/ExactDecimal.h"

namespace {

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

std::string ExponentText(int exponent, char mark) {
  std::string digits = std::to_string(exponent < 0 ? -exponent : exponent);
  if (digits.size() < kMinimumExponentDigits)
    digits.insert(0, kMinimumExponentDigits - digits.size(), '0');
  return std::string(1, mark) + (exponent < 0 ? "-" : "+") + digits;
}

// The decimal exponent of the first digit of |value| rounded to `significant`
// digits (0 for zero).
int LeadingExponent(double value, int significant) {
  const ExactDecimal rounded = ExactDecimal::Of(value).RoundedToSignificant(significant);
  return rounded.IsZero() ? 0 : rounded.GetExponent() - 1;
}

// |value| as d.ddd with `precision` decimals and the exponent, without sign.
std::string ExponentDigits(double value, int precision, bool keepPoint, char mark) {
  const size_t count = static_cast<size_t>(precision) + 1;
  const ExactDecimal rounded = ExactDecimal::Of(value).RoundedToSignificant(static_cast<int>(count));
  std::string digits = rounded.GetDigits();
  digits.resize(count, '0');
  const int exponent = rounded.IsZero() ? 0 : rounded.GetExponent() - 1;
  std::string mantissa = digits.substr(0, 1);
  if (precision > 0 || keepPoint)
    mantissa += ".";
  return mantissa + digits.substr(1) + ExponentText(exponent, mark);
}

// Drops the zeros that end a fraction, and the point when nothing is left
// after it; an exponent after the fraction stays.
std::string WithoutTrailingZeros(const std::string &text) {
  const size_t point = text.find('.');
  if (point == std::string::npos)
    return text;
  const size_t exponent = text.find_first_of("eE", point);
  const size_t fractionEnd = exponent == std::string::npos ? text.size() : exponent;
  size_t kept = fractionEnd;
  while (kept > point + 1 && text[kept - 1] == '0')
    --kept;
  if (kept == point + 1)
    kept = point;
  return text.substr(0, kept) + text.substr(fractionEnd);
}

// %g: the shorter of the fixed and the exponent form by the C rule on the
// exponent of the value rounded to the precision's significant digits.
std::string GeneralDigits(double value, int precision, bool alternate, char mark) {
  const int significant = precision == 0 ? 1 : precision;
  const int exponent = LeadingExponent(value, significant);
  const std::string text = exponent < kSmallestPlainExponent || exponent >= significant
                               ? ExponentDigits(value, significant - 1, alternate, mark)
                               : FixedDigits(value, significant - 1 - exponent, alternate);
  return alternate ? text : WithoutTrailingZeros(text);
}

std::string SignText(double value, const NumberFormat &numberFormat) {
  if (std::signbit(value))
    return "-";
  if (numberFormat.plusSign)
    return "+";
  return numberFormat.spaceSign ? " " : "";
}

// The value's text for the conversion, without sign.
std::string ConvertedDigits(double value, const NumberFormat &numberFormat) {
  switch (numberFormat.conversion) {
  case 'e':
  case 'E':
    return ExponentDigits(value, numberFormat.precision, numberFormat.alternate, numberFormat.conversion);
  case 'g':
  case 'G':
    return GeneralDigits(value, numberFormat.precision, numberFormat.alternate,
                         numberFormat.conversion == 'G' ? 'E' : 'e');
  default:
    return FixedDigits(value, numberFormat.precision, numberFormat.alternate);
  }
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
bool IsLengthLetter(char c) { return c == 'h' || c == 'l' || c == 'L'; }
bool IsConversion(char c) { return c == 'f' || c == 'e' || c == 'E' || c == 'g' || c == 'G'; }

// The plain text after the conversion: false at a "%" that does not stand
// for itself, which would begin a second conversion.
bool ReadTrailingText(const char *p, std::string &text) {
  text.clear();
  for (; *p; ++p) {
    if (*p == '%') {
      if (p[1] != '%')
        return false;
      ++p;
    }
    text += *p;
  }
  return true;
}

} // namespace

bool NumberFormat::Parse(const char *format, NumberFormat &numberFormat) {
  numberFormat = NumberFormat();
  const char *p = format;
  if (*p++ != '%')
    return false;
  for (; IsFlag(*p); ++p) {
    numberFormat.leftAlign |= *p == '-';
    numberFormat.plusSign |= *p == '+';
    numberFormat.spaceSign |= *p == ' ';
    numberFormat.alternate |= *p == '#';
    numberFormat.zeroPad |= *p == '0';
  }
  if (!ReadBoundedNumber(p, kMaxWidth, numberFormat.width))
    return false;
  if (*p == '.') {
    ++p;
    if (!ReadBoundedNumber(p, kMaxPrecision, numberFormat.precision))
      return false;
  }
  if (IsLengthLetter(*p))
    ++p;
  if (!IsConversion(*p))
    return false;
  numberFormat.conversion = *p++;
  return ReadTrailingText(p, numberFormat.trailing);
}

std::string RuntimeNumberFormatter::FormatGeneral(double value) {
  NumberFormat numberFormat;
  numberFormat.conversion = 'g';
  return Format(value, numberFormat);
}

std::string RuntimeNumberFormatter::FormatFixed(double value, int precision) {
  NumberFormat numberFormat;
  numberFormat.precision = precision;
  return Format(value, numberFormat);
}

std::string RuntimeNumberFormatter::Format(double value, const NumberFormat &numberFormat) {
  const bool finite = std::isfinite(value);
  const std::string sign = finite ? SignText(value, numberFormat) : "";
  const std::string body = finite ? ConvertedDigits(value, numberFormat) : NonFiniteText(value);
  const size_t width = static_cast<size_t>(numberFormat.width);
  const size_t length = sign.size() + body.size();
  if (length >= width)
    return sign + body + numberFormat.trailing;
  const size_t padding = width - length;
  if (numberFormat.leftAlign)
    return sign + body + std::string(padding, ' ') + numberFormat.trailing;
  if (numberFormat.zeroPad && finite)
    return sign + std::string(padding, '0') + body + numberFormat.trailing;
  return std::string(padding, ' ') + sign + body + numberFormat.trailing;
}
