#include "expression/VORExpressionEvaluator.h"

#include <cstring>
#include <utility>

#include "expression/ExpressionGrammar.h"
#include "expression/RuntimeNumberParser.h"

namespace {

constexpr const char *kResultPrefix = "__BOOL_RESULT__ = ";
constexpr const char *kNameWithoutVariables = "test";
constexpr const char *kErrorPosition = " at ";
constexpr const char *kErrorLineEnd = "\r\n";

using G = ExpressionGrammar;

// A value of a name token: "<name>" loses its brackets.
std::string NameOf(const ExprValue &token) {
  const std::string &text = token.GetString();
  if (!text.empty() && text[0] == '<')
    return text.substr(1, text.size() - 2);
  return text;
}

ExprValue TypedValueOf(const XQString &text) {
  const char *chars = text.CStr();
  if (text.IsEmpty())
    return ExprValue::FromString(std::string());
  // An integer text beyond 32 bits is still an Integer, saturated at the
  // 32-bit limits as the runtime's strtol gives it.
  const RuntimeNumberParser::Integer integer = RuntimeNumberParser::ParseInteger(chars);
  if (integer.length == text.GetLength())
    return ExprValue::FromInteger(integer.value);
  const RuntimeNumberParser::Double decimal = RuntimeNumberParser::ParseDouble(chars);
  if (decimal.length == text.GetLength())
    return ExprValue::FromFloat(decimal.value);
  return ExprValue::FromString(chars);
}

} // namespace

VORExpressionEvaluator::VORExpressionEvaluator(VORVariableStore *variables)
    : VORYACCParser(ExpressionGrammar::Tables()), m_variables(variables) {
  SetLexer(&m_lexer);
}

int VORExpressionEvaluator::Execute(const char *text) {
  m_booleanResultMode = false;
  return Parse(text);
}

ExprValue VORExpressionEvaluator::EvaluateValue(const char *text) {
  m_booleanResultMode = true;
  m_result = ExprValue();
  const std::string statement = std::string(kResultPrefix) + (text ? text : "");
  Parse(statement.c_str());
  m_booleanResultMode = false;
  return m_result;
}

void VORExpressionEvaluator::ReportError(const char *message) {
  m_errorText += message;
  m_errorText += kErrorPosition;
  m_errorText += m_lexer.GetTokenText();
  m_errorText += kErrorLineEnd;
}

ExprValue VORExpressionEvaluator::GetVariable(const std::string &name) {
  if (!m_variables)
    return ExprValue::FromString(kNameWithoutVariables);
  return TypedValueOf(m_variables->GetVariableValue(XQString(name.c_str())));
}

void VORExpressionEvaluator::SetVariable(const std::string &name, const ExprValue &value) {
  if (m_booleanResultMode) {
    if (name == kResultName)
      m_result = value;
    return;
  }
  if (m_variables)
    m_variables->SetVariableValue(XQString(name.c_str()), XQString(value.ToText().c_str()));
}

ExprValue VORExpressionEvaluator::ReduceBinary(int action, const ExprValue &left, const ExprValue &right) {
  switch (action) {
  case G::kRuleAdd:
    return ExprValue::Add(left, right);
  case G::kRuleSubtract:
    return ExprValue::Subtract(left, right);
  case G::kRuleMultiply:
    return ExprValue::Multiply(left, right);
  case G::kRuleDivide:
    return ExprValue::Divide(left, right);
  case G::kRuleConcat:
    return ExprValue::Concat(left, right);
  case G::kRuleEquals:
    return ExprValue::Equals(left, right);
  case G::kRuleNotEquals:
    return ExprValue::NotEquals(left, right);
  case G::kRuleLess:
    return ExprValue::Less(left, right);
  case G::kRuleLessOrEqual:
    return ExprValue::LessOrEqual(left, right);
  case G::kRuleGreater:
    return ExprValue::Greater(left, right);
  case G::kRuleGreaterOrEqual:
    return ExprValue::GreaterOrEqual(left, right);
  case G::kRuleOr:
    return ExprValue::Or(left, right);
  case G::kRuleAnd:
    return ExprValue::And(left, right);
  default:
    return ExprValue();
  }
}

ParserValue VORExpressionEvaluator::ReduceRule(int action, ParserValue *symbols, size_t count) {
  ParserValue result;
  switch (action) {
  case G::kRuleAssign:
    SetVariable(symbols[0].value.GetString(), symbols[2].value);
    break;
  case G::kRuleNegate:
    result.value = ExprValue::Negate(symbols[1].value);
    break;
  case G::kRuleNot:
    result.value = ExprValue::Not(symbols[1].value);
    break;
  case G::kRuleParenthesised:
    result.value = std::move(symbols[1].value);
    break;
  case G::kRuleCall:
    result.value = ExprValue::CallFunction(symbols[0].value.GetString(), symbols[2].arguments);
    break;
  case G::kRuleVariable:
    result.value = GetVariable(symbols[0].value.GetString());
    break;
  case G::kRuleBool:
  case G::kRuleInteger:
  case G::kRuleFloat:
  case G::kRuleString:
    result.value = std::move(symbols[0].value);
    break;
  case G::kRuleName:
    result.value = ExprValue::FromString(NameOf(symbols[0].value));
    break;
  case G::kRuleMoreArguments:
    result.arguments = std::move(symbols[0].arguments);
    result.arguments.push_back(std::move(symbols[2].value));
    break;
  case G::kRuleFirstArgument:
    result.arguments.push_back(std::move(symbols[0].value));
    break;
  default:
    if (count == 3)
      result.value = ReduceBinary(action, symbols[0].value, symbols[2].value);
    break;
  }
  return result;
}
