#pragma once

#include <string>

// The flags, width and precision of one "%...f" conversion. Only these are
// taken from a text: a conversion letter, "*", a length modifier or a width
// or precision beyond the bounds refuses the whole text, so a text typed by
// a user never reaches a printf.
struct FixedFormatSpec {
  static constexpr int kDefaultPrecision = 6;
  // Bounds that keep every result within the 1024-byte buffer that format
  // results have always fitted in.
  static constexpr int kMaxWidth = 512;
  static constexpr int kMaxPrecision = 512;

  bool leftAlign = false; // '-'
  bool plusSign = false;  // '+'
  bool spaceSign = false; // ' '
  bool alternate = false; // '#': keep the point even without decimals
  bool zeroPad = false;   // '0'
  int width = 0;
  int precision = kDefaultPrecision;

  // Answers false, leaving conversion unspecified, when the text is anything but
  // flags, an optional width and an optional "." with a precision.
  static bool Parse(const char *text, FixedFormatSpec &conversion);
};

// Number texts as the Windows C runtime prints them, produced the same way in
// both builds: halves round away from zero, the exponent has at least three
// digits, and infinities and NaNs read "1.#INF", "-1.#IND" and the like.
class RuntimeNumberFormatter {
public:
  // "%g": six significant digits, trailing zeros dropped.
  static std::string FormatGeneral(double value);
  // "%.<precision>f"
  static std::string FormatFixed(double value, int precision);
  // "%<conversion>f"
  static std::string FormatFixed(double value, const FixedFormatSpec &conversion);
};
