#include "expression/ExpressionLexer.h"

#include <cstring>
#include <string>
#include <utility>

#include "expression/ExpressionTokens.h"
#include "expression/RuntimeNumberParser.h"

// States of the token automaton. Those that accept a token say which rule.
enum class ExpressionLexer::State : uint8_t {
  Start,
  Space,          // accepts: skipped
  Name,           // accepts: a name, or a keyword when the name is one
  Less,           // accepts: "<"
  LessEqual,      // accepts: "<="
  BracketName,    // "<" and a name, waiting for ">"
  BracketNameEnd, // accepts: "<name>"
  Greater,        // accepts: ">"
  GreaterEqual,   // accepts: ">="
  Bang,           // accepts: a lone "!", skipped
  NotEqual,       // accepts: "!="
  Digits,         // accepts: an integer
  Point,          // digits and "."
  Fraction,       // accepts: a decimal number
  Quote,          // accepts: a lone '"', skipped; goes on as a string literal
  StringBody,     // inside a string literal
  StringEscape,   // after a backslash inside a string literal
  StringClosed,   // accepts: a string literal; a second quote goes on inside
  LoneQuote,      // accepts: a '"' known to open no string, skipped
  Punctuation,    // accepts: a one-character token
  Other,          // accepts: any other character, skipped
  Dead,
};

enum class ExpressionLexer::Rule : uint8_t {
  None,
  Skip,
  NameOrKeyword,
  BracketName,
  NotEqual,
  Less,
  LessEqual,
  Greater,
  GreaterEqual,
  Integer,
  Decimal,
  String,
  Character,
};

namespace {

bool IsLetter(unsigned char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; }
bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }
bool IsNameChar(unsigned char c) { return IsLetter(c) || IsDigit(c); }
bool IsBlank(unsigned char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
bool IsPunctuation(unsigned char c) { return c != '\0' && std::strchr("&()*+,-/;=[]{}", c) != nullptr; }

struct Keyword {
  const char *text;
  int token;
};

// Keywords are lower case only: "TRUE" and "And" are names.
constexpr Keyword kKeywords[] = {
    {"true", ExpressionToken::kBool}, {"false", ExpressionToken::kBool}, {"not", ExpressionToken::kNot},
    {"and", ExpressionToken::kAnd},   {"or", ExpressionToken::kOr},
};

// Drops the quotes; inside, a backslash or a quote stands for the character
// after it, except that n gives a line feed and t a tab.
std::string UnescapeStringLiteral(const char *literal, size_t length) {
  std::string text;
  const size_t end = length - 1;
  for (size_t i = 1; i < end; ++i) {
    const char c = literal[i];
    if ((c == '\\' || c == '"') && i + 1 < end) {
      const char escaped = literal[++i];
      text += escaped == 'n' ? '\n' : (escaped == 't' ? '\t' : escaped);
    } else {
      text += c;
    }
  }
  return text;
}

} // namespace

ExpressionLexer::ExpressionLexer(uint32_t maxBufferSize)
    : m_text(kInitialBufferSize, maxBufferSize), m_unput(kInitialBufferSize, maxBufferSize) {}

void ExpressionLexer::SetInput(const char *text) {
  m_input = text ? text : "";
  m_inputEnded = false;
  m_text.Reset();
  m_unput.Reset();
  m_position = 0;
  m_unclosedStringEnd = 0;
  m_tokenValue = ExprValue();
}

int ExpressionLexer::NextChar() {
  if (m_inputEnded || *m_input == '\0') {
    m_inputEnded = true;
    return kEndOfInput;
  }
  return static_cast<unsigned char>(*m_input++);
}

ExprValue ExpressionLexer::TakeTokenValue() { return std::exchange(m_tokenValue, ExprValue()); }

int ExpressionLexer::ReadChar() {
  const int c = m_unput.IsEmpty() ? NextChar() : m_unput.Pop();
  if (c != kEndOfInput)
    ++m_position;
  return c;
}

void ExpressionLexer::PushBack(unsigned char c) {
  m_unput.Push(c);
  --m_position;
}

ExpressionLexer::State ExpressionLexer::Step(State state, unsigned char c) const {
  switch (state) {
  case State::Start:
    if (IsBlank(c))
      return State::Space;
    if (IsLetter(c))
      return State::Name;
    if (IsDigit(c))
      return State::Digits;
    if (IsPunctuation(c))
      return State::Punctuation;
    switch (c) {
    case '<':
      return State::Less;
    case '>':
      return State::Greater;
    case '!':
      return State::Bang;
    case '"':
      return m_tokenStart < m_unclosedStringEnd ? State::LoneQuote : State::Quote;
    default:
      return State::Other;
    }
  case State::Name:
    return IsNameChar(c) ? State::Name : State::Dead;
  case State::Less:
    if (c == '=')
      return State::LessEqual;
    return IsLetter(c) ? State::BracketName : State::Dead;
  case State::BracketName:
    if (c == '>')
      return State::BracketNameEnd;
    return IsNameChar(c) ? State::BracketName : State::Dead;
  case State::Greater:
    return c == '=' ? State::GreaterEqual : State::Dead;
  case State::Bang:
    return c == '=' ? State::NotEqual : State::Dead;
  case State::Digits:
    if (c == '.')
      return State::Point;
    return IsDigit(c) ? State::Digits : State::Dead;
  case State::Point:
  case State::Fraction:
    return IsDigit(c) ? State::Fraction : State::Dead;
  case State::Quote:
  case State::StringBody:
    if (c == '"')
      return State::StringClosed;
    if (c == '\\')
      return State::StringEscape;
    return c == '\n' ? State::Dead : State::StringBody;
  case State::StringEscape:
    return c == '\n' ? State::Dead : State::StringBody;
  case State::StringClosed:
    return c == '"' ? State::StringBody : State::Dead;
  default:
    return State::Dead;
  }
}

ExpressionLexer::Rule ExpressionLexer::RuleOf(State state) {
  switch (state) {
  case State::Space:
  case State::Bang:
  case State::Quote:
  case State::LoneQuote:
  case State::Other:
    return Rule::Skip;
  case State::Name:
    return Rule::NameOrKeyword;
  case State::BracketNameEnd:
    return Rule::BracketName;
  case State::Less:
    return Rule::Less;
  case State::LessEqual:
    return Rule::LessEqual;
  case State::Greater:
    return Rule::Greater;
  case State::GreaterEqual:
    return Rule::GreaterEqual;
  case State::NotEqual:
    return Rule::NotEqual;
  case State::Digits:
    return Rule::Integer;
  case State::Fraction:
    return Rule::Decimal;
  case State::StringClosed:
    return Rule::String;
  case State::Punctuation:
    return Rule::Character;
  default:
    return Rule::None;
  }
}

int ExpressionLexer::TokenOf(Rule rule) {
  const char *text = m_text.TerminatedText();
  const uint32_t length = m_text.GetSize();
  switch (rule) {
  case Rule::NameOrKeyword:
    for (const Keyword &keyword : kKeywords) {
      if (std::strcmp(text, keyword.text) == 0) {
        if (keyword.token == ExpressionToken::kBool)
          m_tokenValue = ExprValue::FromBool(text[0] == 't');
        return keyword.token;
      }
    }
    m_tokenValue = ExprValue::FromString(std::string(text, length));
    return ExpressionToken::kName;
  case Rule::BracketName:
    // The brackets stay in the token text; making a name of it drops them.
    m_tokenValue = ExprValue::FromString(std::string(text, length));
    return ExpressionToken::kName;
  case Rule::NotEqual:
    return ExpressionToken::kNotEqual;
  case Rule::Less:
    return ExpressionToken::kLess;
  case Rule::LessEqual:
    return ExpressionToken::kLessEqual;
  case Rule::Greater:
    return ExpressionToken::kGreater;
  case Rule::GreaterEqual:
    return ExpressionToken::kGreaterEqual;
  case Rule::Integer: {
    // Digits beyond the 32-bit range keep their value as a Float rather
    // than wrapping or saturating.
    const RuntimeNumberParser::Integer integer = RuntimeNumberParser::ParseInteger(text);
    m_tokenValue = integer.outOfRange ? ExprValue::FromFloat(RuntimeNumberParser::ToDouble(text))
                                      : ExprValue::FromInteger(integer.value);
    return ExpressionToken::kInteger;
  }
  case Rule::Decimal:
    m_tokenValue = ExprValue::FromFloat(RuntimeNumberParser::ToDouble(text));
    return ExpressionToken::kFloat;
  case Rule::String:
    m_tokenValue = ExprValue::FromString(UnescapeStringLiteral(text, length));
    return ExpressionToken::kString;
  case Rule::Character:
    return static_cast<unsigned char>(text[0]);
  case Rule::Skip:
  case Rule::None:
    break;
  }
  return -1;
}

int ExpressionLexer::RunLexer() {
  for (;;) {
    m_text.Truncate(0);
    m_tokenValue = ExprValue();
    m_tokenStart = m_position;
    State state = State::Start;
    uint32_t acceptedLength = 0;
    Rule acceptedRule = Rule::None;
    for (;;) {
      const int c = ReadChar();
      if (c == kEndOfInput)
        break;
      const State next = Step(state, static_cast<unsigned char>(c));
      if (next == State::Dead) {
        PushBack(static_cast<unsigned char>(c));
        break;
      }
      m_text.Push(static_cast<unsigned char>(c));
      state = next;
      const Rule rule = RuleOf(state);
      if (rule != Rule::None) {
        acceptedLength = m_text.GetSize();
        acceptedRule = rule;
      }
    }
    if (m_text.IsEmpty())
      return ExpressionToken::kEnd;
    if (acceptedRule == Rule::Skip && m_text.At(0) == '"' && m_text.GetSize() > acceptedLength)
      m_unclosedStringEnd = m_position;
    // Every first character is accepted on its own, so something always is.
    while (m_text.GetSize() > acceptedLength)
      PushBack(m_text.Pop());
    const int token = TokenOf(acceptedRule);
    if (token >= 0)
      return token;
  }
}
