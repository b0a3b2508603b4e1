#include "expression/ExprFunctionTable.h"
#include "foundation/VORRandomGenerator.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "ExpressionTestSupport.h"

namespace {

ExprValue B(bool v) { return ExprValue::FromBool(v); }
ExprValue I(int32_t v) { return ExprValue::FromInteger(v); }
ExprValue F(double v) { return ExprValue::FromFloat(v); }
ExprValue S(const char *v) { return ExprValue::FromString(v); }

ExprValue Call(const char *name, std::vector<ExprValue> arguments) { return ExprFunctionTable::Call(name, arguments); }

TEST(ExprFunctionTableTest, FunctionsByNameAndCount) {
  struct Case {
    const char *name;
    std::vector<ExprValue> arguments;
    ExprValue result;
  } cases[] = {
      {"left", {S("abc"), I(2)}, S("ab")},
      {"left", {S("abc"), I(-1)}, S("")},
      {"left", {S("abc"), I(9)}, S("abc")},
      {"left", {I(12345), S("3")}, S("123")},
      {"right", {S("abc"), I(2)}, S("bc")},
      {"right", {S("abc"), I(5)}, S("abc")},
      {"right", {S("abc"), I(-3)}, S("")},
      {"mid", {S("abcdef"), I(2), I(3)}, S("bcd")},
      {"mid", {S("abcdef"), I(5), I(9)}, S("ef")},
      {"mid", {S("abcdef"), I(2), I(-1)}, S("")},
      {"mid", {S("abcdef"), I(std::numeric_limits<int32_t>::min()), I(2)}, S("ab")},
      {"mid", {S("abc"), I(0)}, S("abc")},
      {"mid", {S("abc"), I(3)}, S("c")},
      {"mid", {S("abc"), I(4)}, S("")},
      {"mid", {S("abc"), I(9)}, S("")},
      {"mid", {S("abc"), I(std::numeric_limits<int32_t>::max())}, S("")},
      {"toupper", {S("Roma, citta")}, S("ROMA, CITTA")},
      {"tolower", {S("ABC-xyz")}, S("abc-xyz")},
      // Accented letters of the Latin-1 code page pass through the C
      // locale's rule untouched (and without indexing a table with a
      // negative char).
      {"toupper", {S("citt\xE0 \xFF")}, S("CITT\xE0 \xFF")},
      {"tolower", {S("\xC0\xC8\xCC\xD2\xD9")}, S("\xC0\xC8\xCC\xD2\xD9")},
      {"length", {S("abc")}, I(3)},
      {"length", {F(2.5)}, I(3)},
      {"length", {S("")}, I(0)},
      {"contains", {S("abcdef"), S("cd")}, B(true)},
      {"contains", {S("abcdef"), S("CD")}, B(false)},
      {"contains", {S("abc"), S("")}, B(true)},
      {"contains", {S(""), S("a")}, B(false)},
      {"word", {S("a  b c"), I(2)}, S("b")},
      {"word", {S("  a  b c  "), I(1)}, S("a")},
      {"word", {S("a b c"), I(3)}, S("c")},
      {"word", {S("a b c"), I(-1)}, I(3)},
      {"word", {S("   "), I(-1)}, I(0)},
      {"word", {S("a b c"), I(4)}, S("")},
      {"word", {S("a b c"), I(0)}, S("")},
      {"word", {S("a b c"), I(-2)}, S("")},
      {"word", {S(""), I(1)}, S("")},
      {"word", {S("a,b"), I(2), S(",")}, S("b")},
      {"word", {S("a, b;;c"), I(-1), S(",; ")}, I(3)},
      {"word", {S("a b"), I(1), S("")}, S("a b")},
      {"bool", {S("x")}, B(true)},
      {"integer", {F(-2.9)}, I(-2)},
      {"integer", {F(1e10)}, I(std::numeric_limits<int32_t>::max())},
      {"float", {S("2.5x")}, F(2.5)},
      {"string", {F(3.0)}, S("3.0")},
      // Names ignore letter case.
      {"LEFT", {S("abc"), I(1)}, S("a")},
      {"ToUpper", {S("a")}, S("A")},
  };
  for (const Case &c : cases) {
    const ExprValue result = ExprFunctionTable::Call(c.name, c.arguments);
    EXPECT_TRUE(result.IsSameAs(c.result))
        << c.name << " with " << c.arguments.size() << " arguments: " << ::testing::PrintToString(result);
  }
}

TEST(ExprFunctionTableTest, UnknownNamesAndWrongCountsGiveFalse) {
  EXPECT_TRUE(Call("left", {S("abc")}).IsSameAs(B(false)));
  EXPECT_TRUE(Call("mid", {S("abc"), I(1), I(1), I(1)}).IsSameAs(B(false)));
  EXPECT_TRUE(Call("length", {S("a"), S("b")}).IsSameAs(B(false)));
  EXPECT_TRUE(Call("nosuch", {I(1)}).IsSameAs(B(false)));
  EXPECT_TRUE(Call("lef", {S("abc"), I(1)}).IsSameAs(B(false)));
}

TEST(ExprFunctionTableTest, RandomFollowsTheRuntimeGeneratorFromSeedOne) {
  VORRandomGenerator::Seed(VORRandomGenerator::kInitialSeed);
  const int32_t expected[] = {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358, 26962, 24464};
  for (int32_t number : expected)
    EXPECT_TRUE(Call("random", {I(VORRandomGenerator::kMaxNumber + 1)}).IsSameAs(I(number)));

  VORRandomGenerator::Seed(VORRandomGenerator::kInitialSeed);
  EXPECT_TRUE(Call("random", {I(10)}).IsSameAs(I(1)));    // 41
  EXPECT_TRUE(Call("random", {I(-100)}).IsSameAs(I(67))); // 18467: the remainder is never negative
  EXPECT_TRUE(Call("random", {I(0)}).IsSameAs(I(0)));     // 6334, no remainder by 0
  EXPECT_TRUE(Call("random", {S("x")}).IsSameAs(I(0)));   // 26500, by 0 again
  EXPECT_TRUE(Call("random", {I(std::numeric_limits<int32_t>::min())}).IsSameAs(I(19169)));
  EXPECT_TRUE(Call("random", {I(1000)}).IsSameAs(I(724))); // 15724: the draws above all counted
}

TEST(ExprFunctionTableTest, FormatPrintsTheValueAsASingle) {
  struct Case {
    ExprValue conversion;
    ExprValue value;
    const char *text;
  } cases[] = {
      {S(".2"), F(3.14159), "3.14"},
      {S("8.3"), S("2.5"), "   2.500"},
      {S("-6.1"), I(7), "7.0   "},
      {S(""), B(true), "1.000000"},
      {S(".0"), F(0.5), "1"},
      {I(5), F(1.0), "1.000000"},
      // Narrowed to single precision before printing.
      {S(".0"), I(16777217), "16777216"},
      {S(".10"), F(0.1), "0.1000000015"},
      {S(".0"), F(3.4028234e38), "340282346638528859811704183484516925440"},
      // Beyond the largest single, but closer to it than to the next power of two.
      {S(".0"), F(3.4028235e38), "340282346638528859811704183484516925440"},
      {S(""), F(1e300), "1.#INF"},
      {S(""), F(-1e300), "-1.#INF"},
      // The text given goes into "%...f" as it stands: a conversion of its own
      // leaves the "f" as text, a length letter before it changes nothing.
      {S("5.2f"), F(3.14159), " 3.14f"},
      {S(".2f"), F(1.5), "1.50f"},
      {S(".2l"), F(3.14159), "3.14"},
      {S("l"), F(1.5), "1.500000"},
      {S("L"), F(1.5), "1.500000"},
      {S("lf"), F(1.5), "1.500000f"},
      {S("5e"), F(1.5), "1.500000e+000f"},
      {S(".3g"), F(2.0 / 3), "0.667f"},
      {S(".1f%%"), F(50), "50.0%f"},
  };
  for (const Case &c : cases) {
    const ExprValue result = Call("format", {c.conversion, c.value});
    EXPECT_TRUE(result.IsSameAs(S(c.text)))
        << ::testing::PrintToString(c.conversion) << ", " << ::testing::PrintToString(c.value) << ": "
        << ::testing::PrintToString(result);
  }
  // Fields wider than the runtime's 1024-byte result buffer print whole.
  EXPECT_TRUE(Call("format", {S("1100"), F(1.5)}).IsSameAs(S((std::string(1092, ' ') + "1.500000").c_str())));
  EXPECT_TRUE(Call("format", {S("1.1030"), F(0.5)}).IsSameAs(S(("0.5" + std::string(1029, '0')).c_str())));
}

// The conversion can come from an input field: whatever is not flags, width and
// precision within bounds is refused, never handed to a printf.
TEST(ExprFunctionTableTest, FormatRefusesHostileSpecs) {
  const char *conversions[] = {"s%",           "%s",    "s",   "%n", "n",      "*",      ".*",    "-*.*", "99999999",
                               "100000",       "66000", "I64", "5$", "x",      "5.2f%s", "5.2f%", "%",    "\n",
                               "2147483648.2", "0x10",  "ll",  "d",  "5.2f%d", "5.2f%f", "%%"};
  for (const char *conversion : conversions)
    EXPECT_TRUE(Call("format", {S(conversion), F(1.5)}).IsSameAs(B(false))) << '"' << conversion << '"';
}

} // namespace
