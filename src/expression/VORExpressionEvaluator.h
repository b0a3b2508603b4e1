#pragma once

#include <string>

#include "expression/ExprValue.h"
#include "expression/ExpressionLexer.h"
#include "expression/VORVariableStore.h"
#include "expression/VORYACCParser.h"

// Runs texts of the expression language over the publication's variables.
// There is no syntax tree: values are computed as the parser reduces, and a
// statement's assignment happens as soon as the ";" after it or the end of
// the text has been read. One evaluator serves one call.
//
//   VORExpressionEvaluator(&variables).Execute("score = score + 1; tries = 0");
//   if (VORExpressionEvaluator(&variables).EvaluateToBool("<answer> = \"Roma\"")) ...
class VORExpressionEvaluator : public VORYACCParser {
public:
  // The name under which EvaluateValue's result is assigned.
  static constexpr const char *kResultName = "__BOOL_RESULT__";

  // variables may be null: names then read as the String "test" and
  // assignments are dropped.
  explicit VORExpressionEvaluator(VORVariableStore *variables);

  // Runs the text as statements: 0 when all of it was accepted, 1 after a
  // syntax error or a stack overflow (the statements completed before the
  // error have taken effect).
  int Execute(const char *text);
  // The value of an expression, computed as the statement
  // "__BOOL_RESULT__ = <text>"; no variable is assigned. Bool false when the
  // text does not parse up to the end of its first statement.
  ExprValue EvaluateValue(const char *text);
  std::string EvaluateToString(const char *text) { return EvaluateValue(text).ToText(); }
  bool EvaluateToBool(const char *text) { return EvaluateValue(text).ToBool(); }

  // One line per parse error: the message, " at ", the text of the token
  // last read, and "\r\n".
  const std::string &GetErrorText() const { return m_errorText; }

protected:
  void ReportError(const char *message) override;
  ParserValue ReduceRule(int action, ParserValue *symbols, size_t count) override;

  // A variable's value, typed by its text: an integer text gives an Integer,
  // another number a Float, anything else (and the empty text) a String.
  ExprValue GetVariable(const std::string &name);
  void SetVariable(const std::string &name, const ExprValue &value);

private:
  ExprValue ReduceBinary(int action, const ExprValue &left, const ExprValue &right);

  VORVariableStore *m_variables;
  ExpressionLexer m_lexer;
  bool m_booleanResultMode = false;
  ExprValue m_result;
  std::string m_errorText;
};
