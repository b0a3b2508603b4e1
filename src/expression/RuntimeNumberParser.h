#pragma once

#include <cstddef>
#include <cstdint>

// The C runtime's rules for reading numbers from the front of a text, written
// out so that both builds read alike: the Windows runtime takes decimal
// digits only (no hexadecimal, no "inf" or "nan"), and its exponent may be
// introduced by d or D as well as e or E.
class RuntimeNumberParser {
public:
  struct Integer {
    int32_t value;   // saturated when out of range
    size_t length;   // characters taken; 0 when there is no number
    bool outOfRange; // the digits do not fit in 32 bits
  };
  struct Double {
    double value; // infinite when too large, 0 when too small
    size_t length;
  };

  // The strtol rule, base 10: white space, an optional sign, digits.
  static Integer ParseInteger(const char *text);
  // The strtod rule: white space, an optional sign, digits with an optional
  // point and fraction (at least one digit in all), an optional exponent.
  static Double ParseDouble(const char *text);

  // atoi and atof: whatever the rules above take, 0 when nothing.
  static int32_t ToInteger(const char *text) { return ParseInteger(text).value; }
  static double ToDouble(const char *text) { return ParseDouble(text).value; }

  // The C locale's white space: space, tab, line feed, vertical tab, form feed, carriage return.
  static bool IsSpace(char c);
  static bool IsDigit(char c) { return c >= '0' && c <= '9'; }
};
