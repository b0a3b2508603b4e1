#include "expression/ExprValue.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>

#include "ExpressionTestSupport.h"

namespace {

using Kind = ExprValue::Kind;

constexpr int32_t kIntMin = std::numeric_limits<int32_t>::min();
constexpr int32_t kIntMax = std::numeric_limits<int32_t>::max();
constexpr double kInfinity = std::numeric_limits<double>::infinity();

ExprValue B(bool v) { return ExprValue::FromBool(v); }
ExprValue I(int32_t v) { return ExprValue::FromInteger(v); }
ExprValue F(double v) { return ExprValue::FromFloat(v); }
ExprValue S(const char *v) { return ExprValue::FromString(v); }

TEST(ExprValueTest, ConversionsOfEachKind) {
  struct Case {
    ExprValue value;
    bool asBool;
    int32_t asInteger;
    double asFloat;
    const char *asText;
  } cases[] = {
      {B(true), true, 1, 1.0, "True"},
      {B(false), false, 0, 0.0, "False"},
      {I(0), false, 0, 0.0, "0"},
      {I(-17), true, -17, -17.0, "-17"},
      {F(0.0), false, 0, 0.0, "0.0"},
      {F(3.0), true, 3, 3.0, "3.0"},
      {F(2.5), true, 2, 2.5, "2.5"},
      {F(-2.75), true, -2, -2.75, "-2.75"},
      {F(-2147483648.0), true, kIntMin, -2147483648.0, "-2147483648.0"},
      {F(2147483647.0), true, kIntMax, 2147483647.0, "2147483647.0"},
      // Out of the 32-bit range: %g form, and the integer saturates.
      {F(2147483648.0), true, kIntMax, 2147483648.0, "2.14748e+009"},
      {F(-1e10), true, kIntMin, -1e10, "-1e+010"},
      {F(kInfinity), true, kIntMax, kInfinity, "1.#INF"},
      {S(""), false, 0, 0.0, ""},
      {S("0"), true, 0, 0.0, "0"},
      {S("  12abc"), true, 12, 12.0, "  12abc"},
      {S("1.5e1"), true, 1, 15.0, "1.5e1"},
      {S("99999999999"), true, kIntMax, 99999999999.0, "99999999999"},
      {S("abc"), true, 0, 0.0, "abc"},
  };
  for (const Case &c : cases) {
    EXPECT_EQ(c.value.ToBool(), c.asBool) << ::testing::PrintToString(c.value);
    EXPECT_EQ(c.value.ToInteger(), c.asInteger) << ::testing::PrintToString(c.value);
    EXPECT_EQ(c.value.ToFloat(), c.asFloat) << ::testing::PrintToString(c.value);
    EXPECT_EQ(c.value.ToText(), c.asText) << ::testing::PrintToString(c.value);
  }
}

TEST(ExprValueTest, NaNIsTrueConvertsToZeroAndPrintsAsTheRuntimeDoes) {
  const ExprValue infinity = F(kInfinity);
  const ExprValue nan = ExprValue::Subtract(infinity, infinity);
  ASSERT_TRUE(std::isnan(nan.ToFloat()));
  EXPECT_TRUE(nan.ToBool());
  EXPECT_EQ(nan.ToInteger(), 0);
  EXPECT_EQ(nan.ToText(), "-1.#IND");
  // Every ordering with a NaN is false, so their negations are true.
  EXPECT_FALSE(ExprValue::Less(nan, I(1)).ToBool());
  EXPECT_FALSE(ExprValue::Greater(nan, I(1)).ToBool());
  EXPECT_TRUE(ExprValue::LessOrEqual(nan, I(1)).ToBool());
  EXPECT_TRUE(ExprValue::GreaterOrEqual(nan, I(1)).ToBool());
  EXPECT_FALSE(ExprValue::Equals(nan, nan).ToBool());
}

TEST(ExprValueTest, ArithmeticTakesFloatsOnlyFromFloatOperands) {
  using Operator = ExprValue (*)(const ExprValue &, const ExprValue &);
  struct Case {
    const char *name;
    Operator op;
    ExprValue left;
    ExprValue right;
    ExprValue result;
  } cases[] = {
      {"int + int", ExprValue::Add, I(2), I(3), I(5)},
      {"int + float", ExprValue::Add, I(2), F(0.5), F(2.5)},
      // A String operand counts by its integer, even when it reads as a decimal.
      {"string + int", ExprValue::Add, S("1.5"), I(1), I(2)},
      {"string + float", ExprValue::Add, S("1.5"), F(1.0), F(2.5)},
      {"bool + bool", ExprValue::Add, B(true), B(true), I(2)},
      {"sum wraps", ExprValue::Add, I(kIntMax), I(1), I(kIntMin)},
      {"difference wraps", ExprValue::Subtract, I(kIntMin), I(1), I(kIntMax)},
      {"product wraps", ExprValue::Multiply, I(65536), I(65536), I(0)},
      {"product wraps to negative", ExprValue::Multiply, I(kIntMax), I(2), I(-2)},
      {"float product", ExprValue::Multiply, F(1.5), I(2), F(3.0)},
      {"division truncates", ExprValue::Divide, I(7), I(2), I(3)},
      {"negative division truncates toward zero", ExprValue::Divide, I(-7), I(2), I(-3)},
      {"float division", ExprValue::Divide, F(7.0), I(2), F(3.5)},
      {"integer division by zero", ExprValue::Divide, I(1), I(0), I(kIntMax)},
      {"negative dividend by zero", ExprValue::Divide, I(-5), I(0), I(kIntMax)},
      {"division by a zero text", ExprValue::Divide, I(1), S("abc"), I(kIntMax)},
      {"lowest by -1 wraps", ExprValue::Divide, I(kIntMin), I(-1), I(kIntMin)},
      {"float division by zero", ExprValue::Divide, F(1.0), I(0), F(DBL_MAX)},
      {"float division of a negative by zero", ExprValue::Divide, F(-1.0), F(0.0), F(DBL_MAX)},
      {"float division by negative zero", ExprValue::Divide, F(1.0), F(-0.0), F(DBL_MAX)},
      {"concatenation of texts", ExprValue::Concat, F(3.0), B(false), S("3.0False")},
  };
  for (const Case &c : cases) {
    const ExprValue result = c.op(c.left, c.right);
    EXPECT_TRUE(result.IsSameAs(c.result)) << c.name << ": " << ::testing::PrintToString(result);
  }
}

TEST(ExprValueTest, NegationKeepsFloatsAndMakesIntegersOfTheRest) {
  EXPECT_TRUE(ExprValue::Negate(F(2.5)).IsSameAs(F(-2.5)));
  EXPECT_TRUE(ExprValue::Negate(F(0.0)).IsSameAs(F(-0.0)));
  EXPECT_TRUE(ExprValue::Negate(S("2.5")).IsSameAs(I(-2)));
  EXPECT_TRUE(ExprValue::Negate(B(true)).IsSameAs(I(-1)));
  EXPECT_TRUE(ExprValue::Negate(I(kIntMin)).IsSameAs(I(kIntMin)));
}

TEST(ExprValueTest, ComparisonsPickTheirFormFromTheKinds) {
  using Operator = ExprValue (*)(const ExprValue &, const ExprValue &);
  struct Case {
    const char *name;
    Operator op;
    ExprValue left;
    ExprValue right;
    bool result;
  } cases[] = {
      {"floats compared as doubles", ExprValue::Equals, F(1.0), I(1), true},
      {"float against text", ExprValue::Equals, F(1.5), S("1.5"), true},
      {"integers", ExprValue::Equals, I(2), I(2), true},
      {"integer against text compares texts", ExprValue::Equals, S("1"), I(1), true},
      {"texts with leading zero differ", ExprValue::Equals, S("01"), I(1), false},
      {"bool against integer compares texts", ExprValue::Equals, B(true), I(1), false},
      {"bool against its text", ExprValue::Equals, B(true), S("True"), true},
      {"case matters", ExprValue::Equals, S("abc"), S("ABC"), false},
      {"lengths must match", ExprValue::Equals, S("ab"), S("abc"), false},
      {"not equals", ExprValue::NotEquals, S("a"), S("b"), true},
      {"ordering of texts", ExprValue::Less, S("abc"), S("abd"), true},
      {"upper case sorts first", ExprValue::Less, S("B"), S("a"), true},
      {"bytes are unsigned", ExprValue::Less, S("z"), S("\xE0"), true},
      {"texts 10 and 9", ExprValue::Less, S("10"), S("9"), true},
      {"integers 10 and 9", ExprValue::Less, I(10), I(9), false},
      {"text against integer orders integers", ExprValue::Less, S("10"), I(9), false},
      {"bool against integer orders integers", ExprValue::Less, B(false), I(1), true},
      {"bool against text orders texts", ExprValue::Less, B(true), S("Z"), true},
      {"float against text orders doubles", ExprValue::Greater, F(2.5), S("10"), false},
      {"less or equal is not greater", ExprValue::LessOrEqual, I(2), I(2), true},
      {"greater or equal is not less", ExprValue::GreaterOrEqual, S("b"), S("a"), true},
  };
  for (const Case &c : cases) {
    const ExprValue result = c.op(c.left, c.right);
    EXPECT_TRUE(result.IsSameAs(B(c.result))) << c.name << ": " << ::testing::PrintToString(result);
  }
}

TEST(ExprValueTest, LogicTakesBooleansOfBothOperands) {
  EXPECT_TRUE(ExprValue::And(S("x"), F(0.5)).IsSameAs(B(true)));
  EXPECT_TRUE(ExprValue::And(I(1), S("")).IsSameAs(B(false)));
  EXPECT_TRUE(ExprValue::Or(I(0), S("0")).IsSameAs(B(true)));
  EXPECT_TRUE(ExprValue::Or(F(0.0), B(false)).IsSameAs(B(false)));
  EXPECT_TRUE(ExprValue::Not(S("")).IsSameAs(B(true)));
}

} // namespace
