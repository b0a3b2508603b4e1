#pragma once

#include "expression/LALRTableBuilder.h"
#include "expression/ParserTables.h"

// The grammar of the expression language. A program is one or more
// statements separated by ";", each an assignment "name = expr".
class ExpressionGrammar {
public:
  enum Nonterminal { kProgram, kStatements, kStatement, kExpr, kName, kArgs, kNonterminalCount };

  // Rule numbers; each rule with an action uses its number as the action.
  enum Rule {
    kRuleProgram,        // program -> statements (accepts)
    kRuleStatementList,  // statements -> statements ";" statement
    kRuleFirstStatement, // statements -> statement
    kRuleAssign,         // statement -> name "=" expr
    kRuleAdd,            // expr -> expr "+" expr
    kRuleSubtract,       // expr -> expr "-" expr
    kRuleMultiply,       // expr -> expr "*" expr
    kRuleDivide,         // expr -> expr "/" expr
    kRuleNegate,         // expr -> "-" expr
    kRuleConcat,         // expr -> expr "&" expr
    kRuleEquals,         // expr -> expr "=" expr
    kRuleNotEquals,      // expr -> expr NE expr
    kRuleLess,           // expr -> expr LT expr
    kRuleLessOrEqual,    // expr -> expr LE expr
    kRuleGreater,        // expr -> expr GT expr
    kRuleGreaterOrEqual, // expr -> expr GE expr
    kRuleOr,             // expr -> expr OR expr
    kRuleAnd,            // expr -> expr AND expr
    kRuleNot,            // expr -> NOT expr
    kRuleParenthesised,  // expr -> "(" expr ")"
    kRuleCall,           // expr -> name "(" args ")"
    kRuleVariable,       // expr -> name
    kRuleBool,           // expr -> BOOL
    kRuleInteger,        // expr -> INTEGER
    kRuleFloat,          // expr -> FLOAT
    kRuleString,         // expr -> STRING
    kRuleName,           // name -> NAME
    kRuleMoreArguments,  // args -> args "," expr
    kRuleFirstArgument,  // args -> expr
    kRuleCount
  };

  static Grammar Describe();
  // Built once, on first use.
  static const ParserTables &Tables();
};
