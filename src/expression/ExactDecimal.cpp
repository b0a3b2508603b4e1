#include "expression/ExactDecimal.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

// A non-negative integer as base 10^9 limbs, least significant first: the
// base makes printing it in decimal a matter of padding each limb.
using DecimalLimbs = std::vector<uint32_t>;

constexpr uint32_t kLimbBase = 1000000000u;
constexpr int kLimbDigits = 9;
// The largest powers of 2 and 5 whose product with a limb fits in 64 bits.
constexpr int kBinaryStep = 30;
constexpr int kQuinaryStep = 13;
constexpr uint32_t kFivePowerStep = 1220703125u; // 5^13
constexpr int kMantissaBits = 52;
constexpr uint64_t kExponentMask = 0x7FF;
constexpr int kExponentBias = 1075; // bias 1023 plus the 52 fraction bits

void MultiplyLimbs(DecimalLimbs &limbs, uint64_t factor) {
  uint64_t carry = 0;
  for (uint32_t &limb : limbs) {
    const uint64_t product = limb * factor + carry;
    limb = static_cast<uint32_t>(product % kLimbBase);
    carry = product / kLimbBase;
  }
  while (carry) {
    limbs.push_back(static_cast<uint32_t>(carry % kLimbBase));
    carry /= kLimbBase;
  }
}

void MultiplyByPowerOfTwo(DecimalLimbs &limbs, int power) {
  for (; power >= kBinaryStep; power -= kBinaryStep)
    MultiplyLimbs(limbs, uint64_t{1} << kBinaryStep);
  if (power > 0)
    MultiplyLimbs(limbs, uint64_t{1} << power);
}

void MultiplyByPowerOfFive(DecimalLimbs &limbs, int power) {
  for (; power >= kQuinaryStep; power -= kQuinaryStep)
    MultiplyLimbs(limbs, kFivePowerStep);
  uint64_t factor = 1;
  for (; power > 0; --power)
    factor *= 5;
  MultiplyLimbs(limbs, factor);
}

std::string LimbsToDigits(const DecimalLimbs &limbs) {
  std::string digits = std::to_string(limbs.back());
  for (size_t i = limbs.size() - 1; i-- > 0;) {
    const std::string limb = std::to_string(limbs[i]);
    digits.append(kLimbDigits - limb.size(), '0');
    digits += limb;
  }
  return digits;
}

} // namespace

void IncrementDecimalDigits(std::string &digits) {
  for (size_t i = digits.size(); i-- > 0;) {
    if (digits[i] != '9') {
      ++digits[i];
      return;
    }
    digits[i] = '0';
  }
  digits.insert(digits.begin(), '1');
}

ExactDecimal ExactDecimal::Of(double value) {
  uint64_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  const int biasedExponent = static_cast<int>((bits >> kMantissaBits) & kExponentMask);
  uint64_t mantissa = bits & ((uint64_t{1} << kMantissaBits) - 1);
  if (biasedExponent == 0 && mantissa == 0)
    return ExactDecimal(std::string(), 0);
  // |value| = mantissa x 2^binaryExponent (subnormals have no implicit bit).
  int binaryExponent = 1 - kExponentBias;
  if (biasedExponent != 0) {
    mantissa |= uint64_t{1} << kMantissaBits;
    binaryExponent = biasedExponent - kExponentBias;
  }

  DecimalLimbs limbs;
  for (uint64_t rest = mantissa; rest; rest /= kLimbBase)
    limbs.push_back(static_cast<uint32_t>(rest % kLimbBase));
  int decimalPoint = 0; // digits after the point in the integer built below
  if (binaryExponent >= 0) {
    MultiplyByPowerOfTwo(limbs, binaryExponent);
  } else {
    // m / 2^k = m x 5^k / 10^k
    MultiplyByPowerOfFive(limbs, -binaryExponent);
    decimalPoint = -binaryExponent;
  }
  std::string digits = LimbsToDigits(limbs);
  const int exponent = static_cast<int>(digits.size()) - decimalPoint;
  digits.erase(digits.find_last_not_of('0') + 1);
  return ExactDecimal(std::move(digits), exponent);
}

std::string ExactDecimal::RoundedToDecimals(int decimals) const {
  // |value| x 10^decimals = 0.digits x 10^kept: its integer part is the first
  // `kept` digits, and the digit after them decides the rounding.
  const long kept = static_cast<long>(m_exponent) + decimals;
  if (IsZero() || kept < 0)
    return "0";
  const size_t keptDigits = static_cast<size_t>(kept);
  std::string integer = m_digits.substr(0, std::min(keptDigits, m_digits.size()));
  if (integer.size() < keptDigits)
    integer.append(keptDigits - integer.size(), '0');
  const bool roundUp = keptDigits < m_digits.size() && m_digits[keptDigits] >= '5';
  if (integer.empty())
    integer = "0";
  if (roundUp)
    IncrementDecimalDigits(integer);
  return integer;
}

ExactDecimal ExactDecimal::RoundedToSignificant(int count) const {
  const size_t kept = static_cast<size_t>(std::max(count, 1));
  if (m_digits.size() <= kept)
    return *this;
  std::string digits = m_digits.substr(0, kept);
  int exponent = m_exponent;
  if (m_digits[kept] >= '5') {
    IncrementDecimalDigits(digits);
    if (digits.size() > kept) {
      digits.pop_back();
      ++exponent;
    }
  }
  digits.erase(digits.find_last_not_of('0') + 1);
  return ExactDecimal(std::move(digits), exponent);
}
