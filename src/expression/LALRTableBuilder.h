#pragma once

#include <vector>

#include "expression/ParserTables.h"

// A context-free grammar with yacc-style operator precedence, from which
// LALRTableBuilder makes the parse tables.
struct Grammar {
  // Right-hand-side symbols: a token number (0 or more) or Nonterminal(i).
  static constexpr int Nonterminal(int index) { return -(index + 1); }
  static constexpr bool IsNonterminal(int symbol) { return symbol < 0; }
  static constexpr int NonterminalIndex(int symbol) { return -symbol - 1; }

  struct Rule {
    int lhs; // nonterminal index
    std::vector<int> rhs;
    int action;     // -1 for none
    int precedence; // 0: that of the last token of rhs
  };
  // A higher level binds tighter; every level groups from the left.
  struct TokenPrecedence {
    int token;
    int level;
  };

  int tokenCount = 0; // token numbers are below this
  int nonterminalCount = 0;
  // Rule 0 is the start rule: reducing it at the end of the input accepts.
  std::vector<Rule> rules;
  std::vector<TokenPrecedence> precedences;
};

// Builds LALR(1) tables: the LR(0) automaton with lookaheads propagated to a
// fixpoint, shift/reduce conflicts settled by precedence as yacc does (a
// tighter token shifts, a tighter or equal rule reduces), reduce/reduce
// conflicts in favour of the earlier rule.
class LALRTableBuilder {
public:
  static ParserTables Build(const Grammar &grammar);
};
