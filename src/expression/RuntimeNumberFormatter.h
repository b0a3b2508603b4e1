#pragma once

#include <string>

// A printf format with one conversion of a double: "%", flags, an optional
// width and "." with a precision, an optional length letter (h, l or L, which
// change nothing for a double), the conversion f, e, E, g or G; then plain
// text, in which "%%" stands for "%". Anything else refuses the whole
// format: "*", "$", other conversions and a second conversion would read
// arguments that are not there, so a text typed by a user never reaches a
// printf.
struct NumberFormat {
  static constexpr int kDefaultPrecision = 6;
  // Bounds on what one format may ask for; the result is built in a string
  // as long as it needs, so every field within them prints whole.
  static constexpr int kMaxWidth = 65535;
  static constexpr int kMaxPrecision = 65535;

  bool leftAlign = false; // '-'
  bool plusSign = false;  // '+'
  bool spaceSign = false; // ' '
  bool alternate = false; // '#': keep the point (and, for g, the trailing zeros)
  bool zeroPad = false;   // '0'
  int width = 0;
  int precision = kDefaultPrecision;
  char conversion = 'f';
  // The text after the conversion, "%%" already made "%".
  std::string trailing;

  // Answers false, leaving numberFormat unspecified, when the format is
  // anything but the above.
  static bool Parse(const char *format, NumberFormat &numberFormat);
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
  // The whole format's text for the value.
  static std::string Format(double value, const NumberFormat &numberFormat);
};
