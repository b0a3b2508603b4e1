#pragma once

#include <cstdint>

#include "expression/ExprValue.h"
#include "expression/LexerBuffer.h"

// Turns the text of an expression into tokens, one call at a time. At each
// call it reads characters as long as the token patterns allow and takes the
// longest prefix that one of them accepts; between equally long matches the
// pattern listed first wins (so "true" is a keyword and "trueish" a name).
// Characters read beyond the token are pushed back and read again by the
// next call.
class ExpressionLexer {
public:
  static constexpr uint32_t kInitialBufferSize = 100;
  // Beyond this a buffer does not grow: a token or a backtrack of a
  // gigabyte is an allocation failure.
  static constexpr uint32_t kMaxBufferSize = 0x40000000u;
  static constexpr int kEndOfInput = -1;

  explicit ExpressionLexer(uint32_t maxBufferSize = kMaxBufferSize);

  // Starts over on a new zero-terminated text, which must outlive the scan.
  void SetInput(const char *text);
  // The next token number (ExpressionToken); 0 at the end of the input.
  int RunLexer();
  // The text of the token last read; empty at the end of the input.
  const char *GetTokenText() { return m_text.TerminatedText(); }
  // The value of the token last read (literals and names); taken once.
  ExprValue TakeTokenValue();
  // The next character of the input as 0 to 255, kEndOfInput at the
  // terminating zero and from then on.
  int NextChar();

private:
  enum class State : uint8_t;
  enum class Rule : uint8_t;

  int ReadChar();
  void PushBack(unsigned char c);
  State Step(State state, unsigned char c) const;
  static Rule RuleOf(State state);
  // The token of an accepted text, or -1 when the text is skipped.
  int TokenOf(Rule rule);

  const char *m_input = "";
  bool m_inputEnded = false;
  LexerBuffer m_text;
  LexerBuffer m_unput;
  // Where the characters read next stand in the input.
  uint64_t m_position = 0;
  // A string literal that starts before this position cannot be closed on
  // its line (an earlier scan found so): its quote is skipped at once
  // instead of being scanned again.
  uint64_t m_unclosedStringEnd = 0;
  // Where the quote that opens the token being scanned stands.
  uint64_t m_tokenStart = 0;
  ExprValue m_tokenValue;
};
