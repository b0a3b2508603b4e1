#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "expression/ExprValue.h"
#include "expression/ExpressionLexer.h"
#include "expression/ParserTables.h"

// One slot of the parser's value stack: the value of a token or of a reduced
// symbol. Only an argument list holds more than the one value.
struct ParserValue {
  ExprValue value;
  std::vector<ExprValue> arguments;
};

// The LR parse driver: shifts the lexer's tokens and reduces rules by the
// tables, calling the rule action of each reduction. Values live on the
// value stack until a reduction consumes them; whatever a failed parse
// leaves there, and an unused lookahead, is freed with the stacks.
class VORYACCParser {
public:
  static constexpr size_t kInitialStackDepth = 100;
  // Nesting beyond this is refused as a stack overflow rather than left to
  // run the process out of memory.
  static constexpr size_t kMaxStackDepth = size_t{1} << 16;

  explicit VORYACCParser(const ParserTables &tables);
  virtual ~VORYACCParser();
  VORYACCParser(const VORYACCParser &) = delete;
  VORYACCParser &operator=(const VORYACCParser &) = delete;

  void SetLexer(ExpressionLexer *lexer) { m_lexer = lexer; }
  // Parses a zero-terminated text: 0 when it was accepted, 1 after a syntax
  // error or a stack overflow (the rule actions of everything reduced before
  // have run).
  int Parse(const char *text);

protected:
  // Receives "syntax error" and "yacc stack overflow"; the base does nothing.
  virtual void ReportError(const char *message);
  // Runs the lexer and answers its token.
  virtual int NextToken();
  // The value of a reduced rule from the values of its symbols (the first at
  // symbols[0]); called only for rules with an action number.
  virtual ParserValue ReduceRule(int action, ParserValue *symbols, size_t count) = 0;

  ExpressionLexer *GetLexer() const { return m_lexer; }

private:
  int RunParser();
  bool Push(int16_t state, ParserValue value);
  void Reduce(int rule);
  void ResetParser();

  const ParserTables &m_tables;
  ExpressionLexer *m_lexer = nullptr;
  std::vector<int16_t> m_states;
  std::vector<ParserValue> m_values;
};
