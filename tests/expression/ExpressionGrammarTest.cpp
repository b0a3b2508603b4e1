#include "expression/ExpressionGrammar.h"
#include "expression/ExpressionTokens.h"

#include <gtest/gtest.h>

namespace {

// The language's automaton has always had 53 states; a different count means
// the grammar or the precedence table changed.
constexpr int kExpectedStates = 53;

TEST(ExpressionGrammarTest, TablesHaveTheLanguagesStatesAndNoConflicts) {
  const ParserTables &tables = ExpressionGrammar::Tables();
  EXPECT_EQ(tables.stateCount, kExpectedStates);
  EXPECT_EQ(tables.unresolvedConflicts, 0);
  EXPECT_EQ(tables.rules.size(), static_cast<size_t>(ExpressionGrammar::kRuleCount));
  EXPECT_EQ(tables.nonterminalCount, ExpressionGrammar::kNonterminalCount);
}

TEST(ExpressionGrammarTest, TokensNoRuleTakesAreErrorsEverywhere) {
  const ParserTables &tables = ExpressionGrammar::Tables();
  const int unused[] = {'[', ']', '{', '}', '!', ExpressionToken::kUnused, ExpressionToken::kError, 999, -5};
  for (int state = 0; state < tables.stateCount; ++state) {
    for (int token : unused)
      EXPECT_EQ(tables.ActionFor(state, token).type, ParserActionType::Error)
          << "state " << state << " token " << token;
  }
}

// Only a state whose single move is one reduction may act without reading a
// token; the statement's reduction is not among them, so an assignment waits
// for the token after it.
TEST(ExpressionGrammarTest, OnlyStatesWithOneReductionSkipTheLookahead) {
  const ParserTables &tables = ExpressionGrammar::Tables();
  for (int state = 0; state < tables.stateCount; ++state) {
    if (tables.needsLookahead[static_cast<size_t>(state)])
      continue;
    const ParserAction action = tables.defaultActions[static_cast<size_t>(state)];
    ASSERT_EQ(action.type, ParserActionType::Reduce) << "state " << state;
    EXPECT_NE(action.value, ExpressionGrammar::kRuleAssign) << "state " << state;
  }
}

} // namespace
