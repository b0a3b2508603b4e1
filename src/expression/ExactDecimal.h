#pragma once

#include <string>
#include <utility>

// The exact decimal expansion of a finite double's magnitude, from which the
// runtime-compatible text forms round. A binary fraction always has a finite
// decimal expansion, so no digit here is an approximation.
class ExactDecimal {
public:
  // |value| = 0.digits x 10^exponent. Zero has no digits.
  static ExactDecimal Of(double value);

  const std::string &GetDigits() const { return m_digits; }
  int GetExponent() const { return m_exponent; }
  bool IsZero() const { return m_digits.empty(); }

  // The digits of |value| x 10^decimals rounded to an integer, halves away
  // from zero (the Windows runtime's rounding of printed numbers); "0" when
  // it rounds to zero.
  std::string RoundedToDecimals(int decimals) const;

  // The first count significant digits, halves rounded away from zero. When
  // the rounding carries into a new leading digit, the exponent grows by one.
  ExactDecimal RoundedToSignificant(int count) const;

private:
  ExactDecimal(std::string digits, int exponent) : m_digits(std::move(digits)), m_exponent(exponent) {}

  std::string m_digits;
  int m_exponent = 0;
};

// Adds one to a string of decimal digits; "99" becomes "100".
void IncrementDecimalDigits(std::string &digits);
