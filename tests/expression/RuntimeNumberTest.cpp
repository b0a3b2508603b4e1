#include "expression/RuntimeNumberFormatter.h"
#include "expression/RuntimeNumberParser.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>
#include <string>

namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

// The NaN that invalid operations make: sign set, quiet, no payload.
double IndefiniteNaN() {
  volatile double infinity = kInfinity;
  return infinity - infinity;
}

TEST(RuntimeNumberParserTest, DecimalReadingTakesWhatTheWindowsRuntimeTakes) {
  struct Case {
    const char *text;
    double value;
    size_t length;
  } cases[] = {
      {"1.5e-3", 0.0015, 6},
      {"+.5e1", 5.0, 5},
      {".5", 0.5, 2},
      {"5.", 5.0, 2},
      {" \t\n\v\f\r7", 7.0, 7},
      {"1e0010", 1e10, 6},
      {"1e5x", 1e5, 3},
      // The runtime's exponent may be introduced by d or D.
      {"1d3", 1000.0, 3},
      {"1D+3", 1000.0, 4},
      // A mark without digits is not an exponent.
      {"1e", 1.0, 1},
      {"1e+", 1.0, 1},
      // No hexadecimal, no words for infinity or NaN.
      {"0x10", 0.0, 1},
      {"0x1p3", 0.0, 1},
      {"inf", 0.0, 0},
      {"INF", 0.0, 0},
      {"infinity", 0.0, 0},
      {"nan", 0.0, 0},
      {"1.#INF", 1.0, 2},
      {".", 0.0, 0},
      {"-", 0.0, 0},
      {"+", 0.0, 0},
      {"e5", 0.0, 0},
      {"", 0.0, 0},
      // Beyond the range: infinity or zero, all characters taken.
      {"1e999", kInfinity, 5},
      {"-1e999", -kInfinity, 6},
      {"1e-400", 0.0, 6},
      {"0e99999999999", 0.0, 13},
      {"0.000000000000000000000000000001e330", 1e300, 36},
      // Correctly rounded, however many digits.
      {"0.1000000000000000055511151231257827021181583404541015625", 0.1, 57},
      {"179769313486231570000000000000000000000000000000000000000000000000000000000000000000000000000000000000"
       "00000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000"
       "00000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000"
       "00000",
       DBL_MAX, 309},
  };
  for (const Case &c : cases) {
    const RuntimeNumberParser::Double parsed = RuntimeNumberParser::ParseDouble(c.text);
    EXPECT_EQ(parsed.value, c.value) << '"' << c.text << '"';
    EXPECT_EQ(parsed.length, c.length) << '"' << c.text << '"';
  }
}

TEST(RuntimeNumberParserTest, IntegerReadingSaturatesAndSaysSo) {
  struct Case {
    const char *text;
    int32_t value;
    size_t length;
    bool outOfRange;
  } cases[] = {
      {"2147483647", 2147483647, 10, false},
      {"-2147483648", std::numeric_limits<int32_t>::min(), 11, false},
      {"2147483648", 2147483647, 10, true},
      {"-2147483649", std::numeric_limits<int32_t>::min(), 11, true},
      {"99999999999", 2147483647, 11, true},
      {"-99999999999999999999999", std::numeric_limits<int32_t>::min(), 24, true},
      {" +7", 7, 3, false},
      {"\v7", 7, 2, false},
      {"007x", 7, 3, false},
      {"0x10", 0, 1, false},
      {"1.5", 1, 1, false},
      {"", 0, 0, false},
      {"-", 0, 0, false},
      {" ", 0, 0, false},
  };
  for (const Case &c : cases) {
    const RuntimeNumberParser::Integer parsed = RuntimeNumberParser::ParseInteger(c.text);
    EXPECT_EQ(parsed.value, c.value) << '"' << c.text << '"';
    EXPECT_EQ(parsed.length, c.length) << '"' << c.text << '"';
    EXPECT_EQ(parsed.outOfRange, c.outOfRange) << '"' << c.text << '"';
  }
}

// The expected texts are those of the Windows runtime's printf.
TEST(RuntimeNumberFormatterTest, GeneralFormHasThreeExponentDigitsAndRoundsHalvesUp) {
  struct Case {
    double value;
    const char *text;
  } cases[] = {
      {0.0, "0"},
      {-0.0, "-0"},
      {0.5, "0.5"},
      {2.5, "2.5"},
      {100000.0, "100000"},
      {1e6, "1e+006"},
      {1e10, "1e+010"},
      {1e100, "1e+100"},
      {DBL_MAX, "1.79769e+308"},
      {2147483648.0, "2.14748e+009"},
      {0.0001, "0.0001"},
      {0.000123456789, "0.000123457"},
      {1e-5, "1e-005"},
      {1.5e-5, "1.5e-005"},
      {1e-300, "1e-300"},
      {5e-324, "4.94066e-324"},
      {-1234567.5, "-1.23457e+006"},
      // Exact halves round away from zero (glibc would round to even).
      {123456.5, "123457"},
      {12345650000.0, "1.23457e+010"},
      // A carry into a new digit can move the number into exponent form.
      {999999.5, "1e+006"},
      {9.9999995, "10"},
      // Below the half, however close the decimal literal looks.
      {1.0000005, "1"},
      {kInfinity, "1.#INF"},
      {-kInfinity, "-1.#INF"},
      {IndefiniteNaN(), "-1.#IND"},
      {-IndefiniteNaN(), "1.#QNAN"},
  };
  for (const Case &c : cases)
    EXPECT_EQ(RuntimeNumberFormatter::FormatGeneral(c.value), c.text) << c.value;
}

TEST(RuntimeNumberFormatterTest, FixedFormFollowsFlagsWidthAndPrecision) {
  struct Case {
    double value;
    const char *conversion;
    const char *text;
  } cases[] = {
      {3.0, "", "3.000000"},
      {3.0, "#.0", "3."},
      {3.0, ".0", "3"},
      {3.0, " ", " 3.000000"},
      {3.0, "+05.1", "+03.0"},
      {3.0, "+ .1", "+3.0"},
      {3.0, "-8.2", "3.00    "},
      {3.0, "-08.2", "3.00    "},
      {-3.0, "08.2", "-0003.00"},
      {-3.0, "8.2", "   -3.00"},
      {-0.0, ".1", "-0.0"},
      {1e-7, "5.1", "  0.0"},
      {0.25, ".1", "0.3"},
      {0.125, ".2", "0.13"},
      {2.5, ".0", "3"},
      {0.5, ".0", "1"},
      {0.05, ".1", "0.1"},
      {1.0625, ".3", "1.063"},
      {1.005, ".2", "1.00"},
      {0.35, ".1", "0.3"},
      {2.0005, ".3", "2.001"},
      {12345650000.5, ".0", "12345650001"},
      // Every digit is exact, however many are asked for.
      {0.1, ".20", "0.10000000000000000555"},
      {1.0 / 3, ".30", "0.333333333333333314829616256247"},
      {1e-20, ".25", "0.0000000000000000000100000"},
      {1e30, "", "1000000000000000019884624838656.000000"},
      {123456789012345678.0, "", "123456789012345680.000000"},
      {kInfinity, "8", "  1.#INF"},
      {-kInfinity, "-8.2", "-1.#INF "},
  };
  for (const Case &c : cases) {
    NumberFormat numberFormat;
    const std::string format = std::string("%") + c.conversion + "f";
    ASSERT_TRUE(NumberFormat::Parse(format.c_str(), numberFormat)) << c.conversion;
    EXPECT_EQ(RuntimeNumberFormatter::Format(c.value, numberFormat), c.text)
        << c.value << " with \"" << c.conversion << '"';
  }
}

// The exponent and the general forms with their flags, and the plain text
// after the conversion, as the Windows runtime's printf prints them.
TEST(RuntimeNumberFormatterTest, ExponentAndGeneralFormsAndTheTextAfterThem) {
  struct Case {
    double value;
    const char *format;
    const char *text;
  } cases[] = {
      {3.14159, "%e", "3.141590e+000"},
      {3.14159, "%E", "3.141590E+000"},
      {3.14159, "%.2e", "3.14e+000"},
      {3.14159, "%#.0e", "3.e+000"},
      {3.14159, "%.0e", "3e+000"},
      {-3.14159, "%12.3e", " -3.142e+000"},
      {3.14159, "%-+ 012.3e", "+3.142e+000 "},
      {3.14159, "%012.3e", "003.142e+000"},
      {0.0, "%e", "0.000000e+000"},
      {9.9996, "%.3e", "1.000e+001"},
      {0.00012345, "%.1e", "1.2e-004"},
      {1e-300, "%.2E", "1.00E-300"},
      {3.14159, "%g", "3.14159"},
      {3.14159, "%.3g", "3.14"},
      {3.14159, "%.0g", "3"},
      {3.0, "%#g", "3.00000"},
      {3.0, "%#.3g", "3.00"},
      {0.0, "%g", "0"},
      {0.0, "%#g", "0.00000"},
      {123456789.0, "%G", "1.23457E+008"},
      {123456789.0, "%.10g", "123456789"},
      {0.0001, "%.2g", "0.0001"},
      {0.00001, "%.2g", "1e-005"},
      {99.5, "%.2g", "1e+002"},
      {1e6, "%#g", "1.00000e+006"},
      {-2.5, "%+10.2g", "      -2.5"},
      {kInfinity, "%e", "1.#INF"},
      // A length letter changes nothing for a double.
      {3.14159, "%.2lf", "3.14"},
      {3.14159, "%.2Lf", "3.14"},
      {3.14159, "%.2he", "3.14e+000"},
      // What follows the conversion is printed as it stands, "%%" as "%".
      {3.14159, "%5.2ff", " 3.14f"},
      {3.14159, "%.2lff", "3.14f"},
      {3.14159, "%5.2f%%f", " 3.14%f"},
      {3.14159, "%gf", "3.14159f"},
      {3.14159, "%.1f kg\nf", "3.1 kg\nf"},
  };
  for (const Case &c : cases) {
    NumberFormat numberFormat;
    ASSERT_TRUE(NumberFormat::Parse(c.format, numberFormat)) << c.format;
    EXPECT_EQ(RuntimeNumberFormatter::Format(c.value, numberFormat), c.text)
        << c.value << " with \"" << c.format << '"';
  }
}

// A format is one conversion of a double with plain text after it; whatever
// would read another argument, or one of another type, is refused.
TEST(RuntimeNumberFormatterTest, FormatTakesOneConversionOfADoubleWithinBounds) {
  const char *accepted[] = {"%f",     "%5f",     "%.2f",     "%5.f",          "%.f",  "%-+ #0f", "%512f", "%.512f",
                            "%0005f", "%65535f", "%.65535f", "%65535.65535e", "%lf",  "%Lf",     "%hf",   "%e",
                            "%E",     "%g",      "%G",       "%5.2ff",        "%f%%", "%f%%%%x", "%f kg", "%.2lg\t"};
  for (const char *format : accepted) {
    NumberFormat numberFormat;
    EXPECT_TRUE(NumberFormat::Parse(format, numberFormat)) << '"' << format << '"';
  }
  const char *refused[] = {"",
                           "f",
                           "%s",
                           "%sf",
                           "%nf",
                           "%*f",
                           "%*.*f",
                           "%.*f",
                           "%65536f",
                           "%.65536f",
                           "%99999999999999999999f",
                           "%5.2.1f",
                           "%%f",
                           "%f%s",
                           "%f%f",
                           "%f%",
                           "%f%n",
                           "%f%5d",
                           "%llf",
                           "%lLf",
                           "%I64f",
                           "%1$f",
                           "%2$f",
                           "%df",
                           "%xf",
                           "%cf",
                           "%af",
                           "%Ff",
                           "%5 f",
                           "%-5-f",
                           "%qf",
                           "%wf",
                           "%zf",
                           "% .2hhf"};
  for (const char *format : refused) {
    NumberFormat numberFormat;
    EXPECT_FALSE(NumberFormat::Parse(format, numberFormat)) << '"' << format << '"';
  }
}

// The widest field and the longest precision print whole: the result is as
// long as they make it, not cut to a buffer.
TEST(RuntimeNumberFormatterTest, WideFieldsPrintWhole) {
  NumberFormat numberFormat;
  ASSERT_TRUE(NumberFormat::Parse("%+65535.65535f", numberFormat));
  const std::string widest = RuntimeNumberFormatter::Format(-static_cast<double>(FLT_MAX), numberFormat);
  EXPECT_EQ(widest.size(), 1u + 39u + 1u + 65535u);
  EXPECT_EQ(widest.substr(0, 8), "-3402823");
  ASSERT_TRUE(NumberFormat::Parse("%2000.1f", numberFormat));
  const std::string wide = RuntimeNumberFormatter::Format(2.5, numberFormat);
  EXPECT_EQ(wide.size(), 2000u);
  EXPECT_EQ(wide.substr(1995), "  2.5");
}

} // namespace
