#include "expression/VORExpressionEvaluator.h"
#include "expression/VORYACCParser.h"
#include "foundation/VORRandomGenerator.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <string>

#include "ExpressionTestSupport.h"

namespace {

using Kind = ExprValue::Kind;

struct ValueCase {
  const char *text;
  Kind kind;
  const char *result; // the text form
};

void ExpectValues(VORVariableStore *variables, const std::vector<ValueCase> &cases) {
  for (const ValueCase &c : cases) {
    VORExpressionEvaluator evaluator(variables);
    const ExprValue value = evaluator.EvaluateValue(c.text);
    EXPECT_EQ(value.GetKind(), c.kind) << c.text << ": " << ::testing::PrintToString(value);
    EXPECT_EQ(value.ToText(), c.result) << c.text;
    EXPECT_EQ(evaluator.GetErrorText(), "") << c.text;
  }
}

TEST(VORExpressionEvaluatorTest, ValuesOfTheLanguage) {
  FakeVariableStore variables;
  variables.Preset("a", "10");
  variables.Preset("b", "9");
  ExpectValues(&variables, {
                               {"1 / 0", Kind::Integer, "2147483647"},
                               {"1.0 / 0", Kind::Float, "1.79769e+308"},
                               {"7 / 2", Kind::Integer, "3"},
                               {"7.0 / 2", Kind::Float, "3.5"},
                               {"6.0 / 2", Kind::Float, "3.0"},
                               {"true = 1", Kind::Bool, "False"},
                               {"\"1\" = 1", Kind::Bool, "True"},
                               {"\"abc\" < \"abd\"", Kind::Bool, "True"},
                               {"\"B\" < \"a\"", Kind::Bool, "True"},
                               {"<a> < <b>", Kind::Bool, "False"},
                               {"\"10\" < \"9\"", Kind::Bool, "True"},
                               {"a < b", Kind::Bool, "False"},
                               {"mid(\"abcdef\", 2, 3)", Kind::String, "bcd"},
                               {"mid(\"abc\", 0)", Kind::String, "abc"},
                               {"mid(\"abc\", 9)", Kind::String, ""},
                               {"left(\"abc\", -1)", Kind::String, ""},
                               {"right(\"abc\", 5)", Kind::String, "abc"},
                               {"word(\"a  b c\", 2)", Kind::String, "b"},
                               {"word(\"a,b\", 2, \",\")", Kind::String, "b"},
                               {"word(\"a b c\", -1)", Kind::Integer, "3"},
                               {"word(\"\", 1)", Kind::String, ""},
                               {"left(\"abc\")", Kind::Bool, "False"},
                               {"nosuch(1)", Kind::Bool, "False"},
                               {"10000000000.0", Kind::Float, "1e+010"},
                               {"2147483648", Kind::Float, "2.14748e+009"},
                               {"(-2147483647 - 1) / -1", Kind::Integer, "-2147483648"},
                               {"- 1.5", Kind::Float, "-1.5"},
                               {"\"x\" & 1 & 2.0 & true", Kind::String, "x12.0True"},
                               {"\"1.5\" + 1", Kind::Integer, "2"},
                               {"float(\"1.5\") + 1", Kind::Float, "2.5"},
                               {"format(\".2\", 2 / 3.0)", Kind::String, "0.67"},
                               {"toupper(\"abc\") & length(\"abcd\")", Kind::String, "ABC4"},
                               {"contains(\"Roma\", \"om\") and not contains(\"Roma\", \"x\")", Kind::Bool, "True"},
                               {"string(3.0) = \"3.0\"", Kind::Bool, "True"},
                               {"integer(\"  42abc\") + 1", Kind::Integer, "43"},
                           });
}

// Each comparison has its own level, "not" binds looser than comparisons but
// tighter than "and" and "or", and unary minus before everything. Every case
// reads differently under the wrong grouping.
TEST(VORExpressionEvaluatorTest, PrecedenceAndGrouping) {
  ExpectValues(nullptr,
               {
                   {"1 + 2 * 3", Kind::Integer, "7"},        {"(1 + 2) * 3", Kind::Integer, "9"},
                   {"10 - 4 - 3", Kind::Integer, "3"},       {"8 / 4 / 2", Kind::Integer, "1"},
                   {"1 & 2 + 3", Kind::Integer, "15"},       {"1 + 2 & 3", Kind::String, "33"},
                   {"2 * 3 & 4", Kind::String, "64"},        {"1 < 2 >= 1", Kind::Bool, "False"}, // 1 < (2 >= 1)
                   {"1 = 2 != 3", Kind::Bool, "False"},                                           // 1 = (2 != 3)
                   {"1 = 1 = 1", Kind::Bool, "False"},       // (1 = 1) = 1: "True" against "1"
                   {"not 1 = 2", Kind::Bool, "True"},        // not (1 = 2)
                   {"not 1 or 1", Kind::Bool, "True"},       // (not 1) or 1
                   {"not 0 and 0", Kind::Bool, "False"},     // (not 0) and 0
                   {"1 or 0 and 0", Kind::Bool, "True"},     // 1 or (0 and 0)
                   {"- 1 / 0", Kind::Integer, "2147483647"}, // (-1) / 0
                   {"- 1 + 2", Kind::Integer, "1"},          {"- - 3", Kind::Integer, "3"},
                   {"not not 2", Kind::Bool, "True"},        {"- not 0 + 1", Kind::Integer, "0"}, // -(not (0 + 1))
                   {"2 * - 3", Kind::Integer, "-6"},         {"1 + not 0", Kind::Integer, "2"},
               });
}

TEST(VORExpressionEvaluatorTest, StatementsRunInTextOrder) {
  FakeVariableStore variables;
  VORExpressionEvaluator evaluator(&variables);
  EXPECT_EQ(evaluator.Execute("x = 1; y = x + 1"), 0);
  EXPECT_EQ(variables.ValueOf("x"), "1");
  EXPECT_EQ(variables.ValueOf("y"), "2");
  EXPECT_EQ(evaluator.Execute("x = x * 2.5 ;\n y = x & \"!\"; <z> = y = \"5.0!\""), 0);
  EXPECT_EQ(variables.ValueOf("x"), "2.5");
  EXPECT_EQ(variables.ValueOf("y"), "2.5!");
  EXPECT_EQ(variables.ValueOf("z"), "False");
  // a = b = c assigns the comparison.
  EXPECT_EQ(evaluator.Execute("a = x = 2.5"), 0);
  EXPECT_EQ(variables.ValueOf("a"), "True");
  EXPECT_EQ(evaluator.GetErrorText(), "");
}

TEST(VORExpressionEvaluatorTest, EverySetIsPassedOnEvenWithoutAChange) {
  FakeVariableStore variables;
  variables.Preset("x", "1");
  VORExpressionEvaluator evaluator(&variables);
  EXPECT_EQ(evaluator.Execute("x = x; x = 1"), 0);
  ASSERT_EQ(variables.Sets().size(), 2u);
  EXPECT_EQ(variables.Sets()[0].second, "1");
}

TEST(VORExpressionEvaluatorTest, SyntaxErrorsKeepTheStatementsCompletedBefore) {
  struct Case {
    const char *text;
    const char *x; // afterwards
    const char *y;
    const char *errorText;
  } cases[] = {
      {"x = 1;", "1", "<missing>", "syntax error at \r\n"},
      // A statement is complete only once the ";" or the end after it is read.
      {"x = 1 2", "<missing>", "<missing>", "syntax error at 2\r\n"},
      {"x = 1; y = 2 3", "1", "<missing>", "syntax error at 3\r\n"},
      {"x = 1 )", "<missing>", "<missing>", "syntax error at )\r\n"},
      {"x = 1; y = (2", "1", "<missing>", "syntax error at \r\n"},
      {"x = 1; y = \"a\" \"b\"", "1", "<missing>", "syntax error at \"b\"\r\n"},
      {"", "<missing>", "<missing>", "syntax error at \r\n"},
      {";", "<missing>", "<missing>", "syntax error at ;\r\n"},
      {"x", "<missing>", "<missing>", "syntax error at \r\n"},
      {"x = ", "<missing>", "<missing>", "syntax error at \r\n"},
      {"1 = x", "<missing>", "<missing>", "syntax error at 1\r\n"},
      {"x = [1]", "<missing>", "<missing>", "syntax error at [\r\n"},
      {"x = f()", "<missing>", "<missing>", "syntax error at )\r\n"},
      {"x = 1;; y = 2", "1", "<missing>", "syntax error at ;\r\n"},
      {"x = a<b>c", "<missing>", "<missing>", "syntax error at <b>\r\n"},
      {"x = 1 == 1", "<missing>", "<missing>", "syntax error at =\r\n"},
      {"X = 1; y = true TRUE", "1", "<missing>", "syntax error at TRUE\r\n"},
  };
  for (const Case &c : cases) {
    FakeVariableStore variables;
    VORExpressionEvaluator evaluator(&variables);
    EXPECT_EQ(evaluator.Execute(c.text), 1) << c.text;
    EXPECT_EQ(variables.ValueOf("x"), c.x) << c.text;
    EXPECT_EQ(variables.ValueOf("y"), c.y) << c.text;
    EXPECT_EQ(evaluator.GetErrorText(), c.errorText) << c.text;
  }
}

TEST(VORExpressionEvaluatorTest, ErrorTextGrowsByOneLinePerFailedParse) {
  VORExpressionEvaluator evaluator(nullptr);
  EXPECT_EQ(evaluator.Execute("x ="), 1);
  EXPECT_EQ(evaluator.Execute("y = 1"), 0);
  EXPECT_EQ(evaluator.Execute("z = 2 +"), 1);
  EXPECT_EQ(evaluator.GetErrorText(), "syntax error at \r\nsyntax error at \r\n");
}

TEST(VORExpressionEvaluatorTest, MalformedConditionsAreFalse) {
  const char *texts[] = {"1 )", "1 2", "(1", "1 +", "true true", "", "[1]", "x = 1", "1e10 = 1e10", "; 1"};
  for (const char *text : texts) {
    VORExpressionEvaluator evaluator(nullptr);
    const ExprValue value = evaluator.EvaluateValue(text);
    EXPECT_TRUE(value.IsSameAs(ExprValue())) << '"' << text << "\": " << ::testing::PrintToString(value);
    EXPECT_FALSE(evaluator.EvaluateToBool(text)) << text;
    EXPECT_EQ(evaluator.EvaluateToString(text), "False") << text;
  }
}

TEST(VORExpressionEvaluatorTest, EvaluateValueAssignsNothing) {
  FakeVariableStore variables;
  variables.Preset("y", "old");
  VORExpressionEvaluator evaluator(&variables);
  const ExprValue value = evaluator.EvaluateValue("1; y = 2");
  EXPECT_TRUE(value.IsSameAs(ExprValue::FromInteger(1))) << ::testing::PrintToString(value);
  EXPECT_EQ(variables.ValueOf("y"), "old");
  EXPECT_TRUE(variables.Sets().empty());
  // The result name is compared with case; a later statement may set it again.
  EXPECT_TRUE(evaluator.EvaluateValue("1; __bool_result__ = 2").IsSameAs(ExprValue::FromInteger(1)));
  EXPECT_TRUE(evaluator.EvaluateValue("1; __BOOL_RESULT__ = 2").IsSameAs(ExprValue::FromInteger(2)));
  // The first statement completed before the error stands.
  EXPECT_TRUE(evaluator.EvaluateValue("1; y = )").IsSameAs(ExprValue::FromInteger(1)));
  EXPECT_TRUE(variables.Sets().empty());
}

TEST(VORExpressionEvaluatorTest, VariablesAreTypedByTheirText) {
  FakeVariableStore variables;
  const std::pair<const char *, const char *> texts[] = {
      {"exp", "1e3"},
      {"runtimeExp", "1d3"},
      {"spaced", " 7"},
      {"signed", "+7"},
      {"negative", "-12"},
      {"empty", ""},
      {"hex", "0x10"},
      {"inf", "inf"},
      {"nan", "nan"},
      {"trailing", "7 "},
      {"point", ".5"},
      {"pointEnd", "5."},
      {"word", "Roma"},
      {"huge", "99999999999"},
      {"lowest", "-2147483648"},
      {"beyond", "2147483648"},
      {"overflow", "1e999"},
      {"halfExp", "1e"},
      {"hugeNegative", "-99999999999"},
      {"justBeyond", "2147483649"},
  };
  for (const auto &text : texts)
    variables.Preset(text.first, text.second);
  ExpectValues(&variables, {
                               {"exp", Kind::Float, "1000.0"},
                               {"runtimeExp", Kind::Float, "1000.0"},
                               {"spaced", Kind::Integer, "7"},
                               {"signed", Kind::Integer, "7"},
                               {"negative", Kind::Integer, "-12"},
                               {"empty", Kind::String, ""},
                               {"hex", Kind::String, "0x10"},
                               {"inf", Kind::String, "inf"},
                               {"nan", Kind::String, "nan"},
                               {"trailing", Kind::String, "7 "},
                               {"point", Kind::Float, "0.5"},
                               {"pointEnd", Kind::Float, "5.0"},
                               {"word", Kind::String, "Roma"},
                               // Integer texts beyond 32 bits are Integers saturated as strtol
                               // saturates them: they compare and add as the 32-bit limits.
                               {"huge", Kind::Integer, "2147483647"},
                               {"hugeNegative", Kind::Integer, "-2147483648"},
                               {"huge = 99999999999", Kind::Bool, "False"},
                               {"huge > 2147483647", Kind::Bool, "False"},
                               {"huge = beyond", Kind::Bool, "True"},
                               {"beyond < justBeyond", Kind::Bool, "False"},
                               {"huge + 1", Kind::Integer, "-2147483648"},
                               {"hugeNegative - 1", Kind::Integer, "2147483647"},
                               {"huge / 2", Kind::Integer, "1073741823"},
                               {"lowest", Kind::Integer, "-2147483648"},
                               {"beyond", Kind::Integer, "2147483647"},
                               {"overflow", Kind::Float, "1.#INF"},
                               {"halfExp", Kind::String, "1e"},
                               // Upper-case keywords are names.
                               {"TRUE", Kind::String, ""},
                           });
}

TEST(VORExpressionEvaluatorTest, ReadingANameCreatesTheVariable) {
  FakeVariableStore variables;
  VORExpressionEvaluator evaluator(&variables);
  EXPECT_TRUE(evaluator.EvaluateValue("<Unseen> = \"\"").IsSameAs(ExprValue::FromBool(true)));
  EXPECT_TRUE(variables.Has("unseen"));
  EXPECT_EQ(variables.ValueOf("UNSEEN"), "");
  EXPECT_TRUE(variables.Sets().empty());
}

TEST(VORExpressionEvaluatorTest, WithoutVariablesNamesReadTestAndNothingIsStored) {
  VORExpressionEvaluator evaluator(nullptr);
  EXPECT_EQ(evaluator.EvaluateToString("anything & <else>"), "testtest");
  EXPECT_EQ(evaluator.Execute("x = 1; y = x"), 0);
}

TEST(VORExpressionEvaluatorTest, RandomDrawsFromTheSharedGenerator) {
  VORRandomGenerator::Seed(VORRandomGenerator::kInitialSeed);
  FakeVariableStore variables;
  EXPECT_EQ(VORExpressionEvaluator(&variables).Execute("r = random(100); s = random(100)"), 0);
  EXPECT_EQ(variables.ValueOf("r"), "41");
  EXPECT_EQ(variables.ValueOf("s"), "67");
  VORRandomGenerator::Seed(VORRandomGenerator::kInitialSeed);
  EXPECT_EQ(VORExpressionEvaluator(nullptr).EvaluateToString("random(0) + random(1)"), "0");
}

TEST(VORExpressionEvaluatorTest, DeepNestingGrowsTheStacks) {
  constexpr size_t kDepth = 5000;
  const std::string text =
      std::string(kDepth, '(') + "1" + std::string(kDepth, ')') + " + " + std::string(kDepth, '-') + "2";
  VORExpressionEvaluator evaluator(nullptr);
  EXPECT_TRUE(evaluator.EvaluateValue(text.c_str()).IsSameAs(ExprValue::FromInteger(3)));
  EXPECT_EQ(evaluator.GetErrorText(), "");

  // Long argument lists and long literals too: string() of 301 arguments
  // fails, and the length of "False" is 5.
  std::string call = "length(string(1";
  for (int i = 0; i < 300; ++i)
    call += ", 1";
  call += "))";
  EXPECT_TRUE(VORExpressionEvaluator(nullptr).EvaluateValue(call.c_str()).IsSameAs(ExprValue::FromInteger(5)));
  const std::string literal(300, 'x');
  EXPECT_EQ(VORExpressionEvaluator(nullptr).EvaluateToString(("\"" + literal + "\"").c_str()), literal);
}

TEST(VORExpressionEvaluatorTest, NestingBeyondTheStackLimitIsAnOverflow) {
  const std::string text = std::string(VORYACCParser::kMaxStackDepth, '(') + "1";
  FakeVariableStore variables;
  VORExpressionEvaluator evaluator(&variables);
  EXPECT_TRUE(evaluator.EvaluateValue(text.c_str()).IsSameAs(ExprValue()));
  EXPECT_EQ(evaluator.GetErrorText(), "yacc stack overflow at (\r\n");
  EXPECT_EQ(evaluator.Execute(("x = 1; y = " + text).c_str()), 1);
  EXPECT_EQ(variables.ValueOf("x"), "1");
}

// Strings and argument lists left on the stacks, and the lookahead, are freed
// when a parse fails; the leak checker of the host build sees to the rest.
TEST(VORExpressionEvaluatorTest, FailedParsesFreeWhatTheyHeld) {
  const std::string longText(200, 'z');
  const std::string texts[] = {
      "x = \"" + longText + "\" & mid(\"" + longText + "\", 1, \"" + longText + "\" \"" + longText + "\"",
      "x = f(\"" + longText + "\", \"" + longText + "\"; y = 1",
      "x = (\"" + longText + "\" & (\"" + longText + "\"",
      "x = 1; \"" + longText + "\"",
  };
  for (const std::string &text : texts) {
    VORExpressionEvaluator evaluator(nullptr);
    EXPECT_EQ(evaluator.Execute(text.c_str()), 1) << text;
    EXPECT_TRUE(evaluator.EvaluateValue(text.c_str()).IsSameAs(ExprValue())) << text;
  }
}

} // namespace
