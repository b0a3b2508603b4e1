#include "expression/ExpressionGrammar.h"

#include <utility>
#include <vector>

#include "expression/ExpressionTokens.h"

namespace {

constexpr int kNoAction = -1;
constexpr int kOwnPrecedence = 0;

// Binding levels, loosest first; each comparison has a level of its own.
enum Level {
  kLevelOr = 1,
  kLevelAnd,
  kLevelNot,
  kLevelEquals,
  kLevelNotEquals,
  kLevelLess,
  kLevelGreater,
  kLevelLessEqual,
  kLevelGreaterEqual,
  kLevelSum,
  kLevelProduct,
  kLevelUnaryMinus,
};

constexpr int Symbol(ExpressionGrammar::Nonterminal nonterminal) { return Grammar::Nonterminal(nonterminal); }

} // namespace

Grammar ExpressionGrammar::Describe() {
  namespace T = ExpressionToken;
  const int statements = Symbol(kStatements);
  const int statement = Symbol(kStatement);
  const int expr = Symbol(kExpr);
  const int name = Symbol(kName);
  const int args = Symbol(kArgs);

  Grammar grammar;
  grammar.tokenCount = T::kCount;
  grammar.nonterminalCount = kNonterminalCount;
  auto rule = [&grammar](int lhs, std::vector<int> rhs, int action, int precedence = kOwnPrecedence) {
    grammar.rules.push_back(Grammar::Rule{lhs, std::move(rhs), action, precedence});
  };
  rule(kProgram, {statements}, kNoAction);
  rule(kStatements, {statements, ';', statement}, kNoAction);
  rule(kStatements, {statement}, kNoAction);
  rule(kStatement, {name, '=', expr}, kRuleAssign);
  rule(kExpr, {expr, '+', expr}, kRuleAdd);
  rule(kExpr, {expr, '-', expr}, kRuleSubtract);
  rule(kExpr, {expr, '*', expr}, kRuleMultiply);
  rule(kExpr, {expr, '/', expr}, kRuleDivide);
  rule(kExpr, {'-', expr}, kRuleNegate, kLevelUnaryMinus);
  rule(kExpr, {expr, '&', expr}, kRuleConcat);
  rule(kExpr, {expr, '=', expr}, kRuleEquals);
  rule(kExpr, {expr, T::kNotEqual, expr}, kRuleNotEquals);
  rule(kExpr, {expr, T::kLess, expr}, kRuleLess);
  rule(kExpr, {expr, T::kLessEqual, expr}, kRuleLessOrEqual);
  rule(kExpr, {expr, T::kGreater, expr}, kRuleGreater);
  rule(kExpr, {expr, T::kGreaterEqual, expr}, kRuleGreaterOrEqual);
  rule(kExpr, {expr, T::kOr, expr}, kRuleOr);
  rule(kExpr, {expr, T::kAnd, expr}, kRuleAnd);
  rule(kExpr, {T::kNot, expr}, kRuleNot);
  rule(kExpr, {'(', expr, ')'}, kRuleParenthesised);
  rule(kExpr, {name, '(', args, ')'}, kRuleCall);
  rule(kExpr, {name}, kRuleVariable);
  rule(kExpr, {T::kBool}, kRuleBool);
  rule(kExpr, {T::kInteger}, kRuleInteger);
  rule(kExpr, {T::kFloat}, kRuleFloat);
  rule(kExpr, {T::kString}, kRuleString);
  rule(kName, {T::kName}, kRuleName);
  rule(kArgs, {args, ',', expr}, kRuleMoreArguments);
  rule(kArgs, {expr}, kRuleFirstArgument);

  grammar.precedences = {
      {T::kOr, kLevelOr},
      {T::kAnd, kLevelAnd},
      {T::kNot, kLevelNot},
      {'=', kLevelEquals},
      {T::kNotEqual, kLevelNotEquals},
      {T::kLess, kLevelLess},
      {T::kGreater, kLevelGreater},
      {T::kLessEqual, kLevelLessEqual},
      {T::kGreaterEqual, kLevelGreaterEqual},
      {'+', kLevelSum},
      {'-', kLevelSum},
      {'&', kLevelSum},
      {'*', kLevelProduct},
      {'/', kLevelProduct},
  };
  return grammar;
}

const ParserTables &ExpressionGrammar::Tables() {
  static const ParserTables tables = LALRTableBuilder::Build(Describe());
  return tables;
}
