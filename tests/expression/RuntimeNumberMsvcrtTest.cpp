// The number texts are written out to match the Windows C runtime; here they
// are compared with the runtime itself (msvcrt.dll, called directly: the
// program's own printf and strtod are mingw's, which differ).
#include "expression/RuntimeNumberFormatter.h"
#include "expression/RuntimeNumberParser.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cfloat>
#include <string>

namespace {

using SnprintfFunction = int(__cdecl *)(char *, size_t, const char *, ...);
using StrtodFunction = double(__cdecl *)(const char *, char **);

class RuntimeNumberMsvcrtTest : public ::testing::Test {
protected:
  void SetUp() override {
    m_module = LoadLibraryA("msvcrt.dll");
    ASSERT_NE(m_module, nullptr);
    m_snprintf = reinterpret_cast<SnprintfFunction>(reinterpret_cast<void *>(GetProcAddress(m_module, "_snprintf")));
    m_strtod = reinterpret_cast<StrtodFunction>(reinterpret_cast<void *>(GetProcAddress(m_module, "strtod")));
    ASSERT_NE(m_snprintf, nullptr);
    ASSERT_NE(m_strtod, nullptr);
  }
  void TearDown() override { FreeLibrary(m_module); }

  std::string RuntimeText(const std::string &format, double value) const {
    std::string text(kTextSize, '\0');
    m_snprintf(&text[0], kTextSize - 1, format.c_str(), value);
    return text.c_str();
  }

  static constexpr size_t kTextSize = 8192;

  HMODULE m_module = nullptr;
  SnprintfFunction m_snprintf = nullptr;
  StrtodFunction m_strtod = nullptr;
};

// Finite values only: for infinities and NaNs the runtime's %f rounds the
// text "1.#INF" as if it were digits ("1.$"), which the player does not copy.
const double kValues[] = {0.0,           -0.0,
                          1.0,           0.1,
                          0.25,          0.5,
                          1.5,           2.5,
                          0.125,         0.375,
                          1.005,         0.35,
                          0.45,          1.0625,
                          2.0005,        3.14159265,
                          1.0 / 3,       2.0 / 3,
                          123456.5,      999999.5,
                          9.9999995,     1e-5,
                          1.5e-5,        0.0001,
                          1e-7,          1e-20,
                          1e-300,        5e-324,
                          1e6,           1e10,
                          1e30,          1e100,
                          DBL_MAX,       -DBL_MAX,
                          2147483648.0,  12345650000.0,
                          12345650000.5, 123456789012345678.0,
                          -42.4242,      65536.0078125,
                          7.0 / 1024,    1e15 + 0.3};

TEST_F(RuntimeNumberMsvcrtTest, GeneralFormMatchesTheRuntime) {
  for (double value : kValues)
    EXPECT_EQ(RuntimeNumberFormatter::FormatGeneral(value), RuntimeText("%g", value)) << value;
}

TEST_F(RuntimeNumberMsvcrtTest, FormatsMatchTheRuntime) {
  const char *formats[] = {"%f",      "%.0f",    "%.1f",     "%.2f",   "%.3f",     "%.17f",  "%.25f",  "%#.0f",
                           "%+08.2f", "%-12.4f", "% 10f",    "%e",     "%.0e",     "%#.0e",  "%.3E",   "%+012.4e",
                           "%.20e",   "%g",      "%.1g",     "%.3g",   "%#g",      "%#.2G",  "%.17g",  "%-+12.5g",
                           "%5.2ff",  "%.2lff",  "%5.2f%%f", "%Lf kg", "%2000.3f", "%.600f", "%.600e", "%1100g"};
  for (double value : kValues) {
    for (const char *format : formats) {
      NumberFormat numberFormat;
      ASSERT_TRUE(NumberFormat::Parse(format, numberFormat)) << format;
      EXPECT_EQ(RuntimeNumberFormatter::Format(value, numberFormat), RuntimeText(format, value))
          << value << " with \"" << format << '"';
    }
  }
}

TEST_F(RuntimeNumberMsvcrtTest, DecimalReadingMatchesTheRuntime) {
  const char *texts[] = {"1.5e-3",
                         "+.5e1",
                         ".5",
                         "5.",
                         " \t\n\v\f\r7",
                         "1e5x",
                         "1d3",
                         "1D+3",
                         "1e",
                         "1e+",
                         "0x10",
                         "inf",
                         "nan",
                         "1.#INF",
                         ".",
                         "-",
                         "e5",
                         "1e999",
                         "1e-400",
                         "0.1000000000000000055511151231257827021181583404541015625",
                         "2.2250738585072014e-308"};
  for (const char *text : texts) {
    char *end = nullptr;
    const double expected = m_strtod(text, &end);
    const RuntimeNumberParser::Double parsed = RuntimeNumberParser::ParseDouble(text);
    EXPECT_EQ(parsed.value, expected) << '"' << text << '"';
    EXPECT_EQ(parsed.length, static_cast<size_t>(end - text)) << '"' << text << '"';
  }
}

} // namespace
