#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

enum class ParserActionType : uint8_t { Shift = 0, Reduce = 1, Error = 2, Accept = 3 };

// Shift: value is the next state. Reduce: value is the rule.
struct ParserAction {
  ParserActionType type = ParserActionType::Error;
  int16_t value = 0;
};

struct ParserRule {
  int16_t lhs;    // nonterminal index
  int16_t length; // symbols on the right-hand side
  int16_t action; // rule action number, -1 for none (the first symbol's value is kept)
};

// The LR automaton of one grammar, as the parse driver reads it. A state
// that needs no lookahead reduces by its default action without reading a
// token; every other state acts only on the tokens listed for it, so a rule
// is never reduced on a token that cannot follow it.
struct ParserTables {
  int stateCount = 0;
  int columnCount = 0;
  int nonterminalCount = 0;
  std::vector<int16_t> columnOfToken;       // token number -> column; -1 for tokens no rule uses
  std::vector<ParserAction> actions;        // [state * columnCount + column]
  std::vector<uint8_t> needsLookahead;      // per state
  std::vector<ParserAction> defaultActions; // per state
  std::vector<int16_t> gotos;               // [state * nonterminalCount + nonterminal]; -1 none
  std::vector<ParserRule> rules;
  // Shift/reduce conflicts that precedence did not settle and reduce/reduce
  // conflicts; a grammar meant for this engine has none.
  int unresolvedConflicts = 0;

  ParserAction ActionFor(int state, int token) const;
  int GotoFor(int state, int nonterminal) const {
    return gotos[static_cast<size_t>(state) * static_cast<size_t>(nonterminalCount) + static_cast<size_t>(nonterminal)];
  }
};
