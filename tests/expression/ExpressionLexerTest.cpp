#include "expression/ExpressionLexer.h"
#include "expression/ExpressionTokens.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ExpressionTestSupport.h"
#include "foundation/VORException.h"

namespace {

namespace T = ExpressionToken;

struct Token {
  int number;
  std::string text;
  bool operator==(const Token &other) const { return number == other.number && text == other.text; }
};

void PrintTo(const Token &token, std::ostream *out) { *out << token.number << " \"" << token.text << '"'; }

std::vector<Token> Tokens(const std::string &input) {
  ExpressionLexer lexer;
  lexer.SetInput(input.c_str());
  std::vector<Token> tokens;
  for (int number = lexer.RunLexer(); number != T::kEnd; number = lexer.RunLexer())
    tokens.push_back({number, lexer.GetTokenText()});
  return tokens;
}

TEST(ExpressionLexerTest, LongestMatchAndTheEarlierPatternBetweenEquals) {
  struct Case {
    const char *input;
    std::vector<Token> tokens;
  } cases[] = {
      {"true false not and or",
       {{T::kBool, "true"}, {T::kBool, "false"}, {T::kNot, "not"}, {T::kAnd, "and"}, {T::kOr, "or"}}},
      {"trueish notx TRUE And _a1",
       {{T::kName, "trueish"}, {T::kName, "notx"}, {T::kName, "TRUE"}, {T::kName, "And"}, {T::kName, "_a1"}}},
      {"<= < >= > !=",
       {{T::kLessEqual, "<="}, {T::kLess, "<"}, {T::kGreaterEqual, ">="}, {T::kGreater, ">"}, {T::kNotEqual, "!="}}},
      {"<a_1>", {{T::kName, "<a_1>"}}},
      {"<true>", {{T::kName, "<true>"}}},
      {"a<b>c", {{T::kName, "a"}, {T::kName, "<b>"}, {T::kName, "c"}}},
      {"a < b", {{T::kName, "a"}, {T::kLess, "<"}, {T::kName, "b"}}},
      {"<ab", {{T::kLess, "<"}, {T::kName, "ab"}}},
      {"<a b>", {{T::kLess, "<"}, {T::kName, "a"}, {T::kName, "b"}, {T::kGreater, ">"}}},
      {"<1>", {{T::kLess, "<"}, {T::kInteger, "1"}, {T::kGreater, ">"}}},
      {"<>", {{T::kLess, "<"}, {T::kGreater, ">"}}},
      {"==", {{'=', "="}, {'=', "="}}},
      {"! = !", {{'=', "="}}},
      {"12 1.5 007", {{T::kInteger, "12"}, {T::kFloat, "1.5"}, {T::kInteger, "007"}}},
      // No literal without digits on both sides of the point, no exponent, no sign.
      {".5", {{T::kInteger, "5"}}},
      {"1.", {{T::kInteger, "1"}}},
      {"1.2.3", {{T::kFloat, "1.2"}, {T::kInteger, "3"}}},
      {"1e3", {{T::kInteger, "1"}, {T::kName, "e3"}}},
      {"-1", {{'-', "-"}, {T::kInteger, "1"}}},
      {"&()*+,-/;=[]{}",
       {{'&', "&"},
        {'(', "("},
        {')', ")"},
        {'*', "*"},
        {'+', "+"},
        {',', ","},
        {'-', "-"},
        {'/', "/"},
        {';', ";"},
        {'=', "="},
        {'[', "["},
        {']', "]"},
        {'{', "{"},
        {'}', "}"}}},
      // Everything else is skipped without a word.
      {" \t\r\n@#$%^~`?:'|\\.\x01\x7F\x80\xE0\xFF", {}},
      {"", {}},
  };
  for (const Case &c : cases)
    EXPECT_EQ(Tokens(c.input), c.tokens) << '"' << c.input << '"';
}

TEST(ExpressionLexerTest, StringLiterals) {
  struct Case {
    const char *input;
    std::vector<Token> tokens;
    std::vector<std::string> values; // of the STRING tokens, in order
  } cases[] = {
      {R"("abc")", {{T::kString, R"("abc")"}}, {"abc"}},
      {R"("")", {{T::kString, R"("")"}}, {""}},
      {R"("a""b")", {{T::kString, R"("a""b")"}}, {"a\"b"}},
      {R"("a\"b")", {{T::kString, R"("a\"b")"}}, {"a\"b"}},
      {R"("a\\b")", {{T::kString, R"("a\\b")"}}, {"a\\b"}},
      {R"("a\nb\tc\qd")",
       {{T::kString, R"("a\nb\tc\qd")"}},
       {"a\nb\tc"
        "qd"}},
      {R"("a" "b")", {{T::kString, R"("a")"}, {T::kString, R"("b")"}}, {"a", "b"}},
      {"\"\xE0\xFF\"", {{T::kString, "\"\xE0\xFF\""}}, {"\xE0\xFF"}},
      // Unterminated: the quote is skipped and the rest read again as tokens.
      {R"("abc)", {{T::kName, "abc"}}, {}},
      {R"("a"")", {{T::kString, R"("a")"}}, {"a"}},
      {"\"ab\ncd\"", {{T::kName, "ab"}, {T::kName, "cd"}}, {}},
      {"\"a\\\nb\"", {{T::kName, "a"}, {T::kName, "b"}}, {}},
      // A quote on the next line can still open a string of its own.
      {"\"a\n\"b\"", {{T::kName, "a"}, {T::kString, R"("b")"}}, {"b"}},
      {R"("\"\"\")", {}, {}},
      {R"("\"\"\"x")", {{T::kString, R"("\"\"\"x")"}}, {"\"\"\"x"}},
  };
  for (const Case &c : cases) {
    ExpressionLexer lexer;
    lexer.SetInput(c.input);
    std::vector<Token> tokens;
    std::vector<std::string> values;
    for (int number = lexer.RunLexer(); number != T::kEnd; number = lexer.RunLexer()) {
      tokens.push_back({number, lexer.GetTokenText()});
      if (number == T::kString)
        values.push_back(lexer.TakeTokenValue().GetString());
    }
    EXPECT_EQ(tokens, c.tokens) << c.input;
    EXPECT_EQ(values, c.values) << c.input;
  }
}

TEST(ExpressionLexerTest, TokenValues) {
  struct Case {
    const char *input;
    ExprValue value;
  } cases[] = {
      {"true", ExprValue::FromBool(true)},
      {"false", ExprValue::FromBool(false)},
      {"007", ExprValue::FromInteger(7)},
      {"2147483647", ExprValue::FromInteger(2147483647)},
      // Beyond 32 bits an integer literal keeps its value as a Float.
      {"2147483648", ExprValue::FromFloat(2147483648.0)},
      {"99999999999999999999", ExprValue::FromFloat(1e20)},
      {"2.50", ExprValue::FromFloat(2.5)},
      {"<Score>", ExprValue::FromString("<Score>")},
      {"Score", ExprValue::FromString("Score")},
      {"+", ExprValue()},
  };
  for (const Case &c : cases) {
    ExpressionLexer lexer;
    lexer.SetInput(c.input);
    lexer.RunLexer();
    const ExprValue value = lexer.TakeTokenValue();
    EXPECT_TRUE(value.IsSameAs(c.value)) << c.input << ": " << ::testing::PrintToString(value);
  }
}

TEST(ExpressionLexerTest, NextCharHandsOutBytesAndThenTheEndForEver) {
  ExpressionLexer lexer;
  lexer.SetInput("a\xFF\x80");
  EXPECT_EQ(lexer.NextChar(), 'a');
  EXPECT_EQ(lexer.NextChar(), 0xFF);
  EXPECT_EQ(lexer.NextChar(), 0x80);
  EXPECT_EQ(lexer.NextChar(), ExpressionLexer::kEndOfInput);
  EXPECT_EQ(lexer.NextChar(), ExpressionLexer::kEndOfInput);
}

TEST(ExpressionLexerTest, EndOfInputLeavesAnEmptyTokenText) {
  ExpressionLexer lexer;
  lexer.SetInput("x !");
  EXPECT_EQ(lexer.RunLexer(), T::kName);
  EXPECT_EQ(lexer.RunLexer(), T::kEnd);
  EXPECT_STREQ(lexer.GetTokenText(), "");
  EXPECT_EQ(lexer.RunLexer(), T::kEnd);
}

TEST(ExpressionLexerTest, BuffersGrowPastTheirFirstHundredBytes) {
  const std::string longName(1000, 'n');
  EXPECT_EQ(Tokens(longName + " x"), (std::vector<Token>{{T::kName, longName}, {T::kName, "x"}}));

  const std::string content(5000, 'a');
  EXPECT_EQ(Tokens("\"" + content + "\""), (std::vector<Token>{{T::kString, "\"" + content + "\""}}));
  // An unterminated literal pushes everything after its quote back.
  EXPECT_EQ(Tokens("\"" + content + " 1"), (std::vector<Token>{{T::kName, content}, {T::kInteger, "1"}}));
}

TEST(ExpressionLexerTest, ABufferThatCannotGrowIsAnAllocationFailure) {
  constexpr uint32_t kLimit = 128;
  ExpressionLexer lexer(kLimit);
  const std::string fits(kLimit, 'n');
  lexer.SetInput(fits.c_str());
  EXPECT_EQ(lexer.RunLexer(), T::kName);

  const std::string tooLong(kLimit + 1, 'n');
  lexer.SetInput(tooLong.c_str());
  try {
    lexer.RunLexer();
    ADD_FAILURE() << "no exception";
  } catch (const VORNewFailException &failure) {
    EXPECT_EQ(failure.GetRequestedSize(), 2 * kLimit);
  }
}

} // namespace
