#include "expression/ExprValue.h"

#include <cfloat>
#include <cmath>
#include <cstring>
#include <limits>
#include <utility>

#include "expression/ExprFunctionTable.h"
#include "expression/RuntimeNumberFormatter.h"
#include "expression/RuntimeNumberParser.h"

namespace {

constexpr int32_t kIntegerMax = std::numeric_limits<int32_t>::max();
constexpr int32_t kIntegerMin = std::numeric_limits<int32_t>::min();
// Bounds of the doubles whose truncation fits in 32 bits.
constexpr double kTruncationUpperLimit = 2147483648.0;
constexpr double kTruncationLowerLimit = -2147483649.0;
constexpr int kWholeFloatDecimals = 1;

int32_t Wrap(uint32_t bits) { return static_cast<int32_t>(bits); }

bool EitherFloat(const ExprValue &left, const ExprValue &right) { return left.IsFloat() || right.IsFloat(); }

} // namespace

ExprValue ExprValue::FromBool(bool value) {
  ExprValue result;
  result.m_bool = value;
  return result;
}

ExprValue ExprValue::FromInteger(int32_t value) {
  ExprValue result;
  result.m_kind = Kind::Integer;
  result.m_integer = value;
  return result;
}

ExprValue ExprValue::FromFloat(double value) {
  ExprValue result;
  result.m_kind = Kind::Float;
  result.m_float = value;
  return result;
}

ExprValue ExprValue::FromString(std::string text) {
  ExprValue result;
  result.m_kind = Kind::String;
  result.m_text = std::move(text);
  return result;
}

bool ExprValue::IsSameAs(const ExprValue &other) const {
  if (m_kind != other.m_kind)
    return false;
  switch (m_kind) {
  case Kind::Bool:
    return m_bool == other.m_bool;
  case Kind::Integer:
    return m_integer == other.m_integer;
  case Kind::Float:
    // Bit for bit, so that NaNs and signed zeros can be checked too.
    // NOLINTNEXTLINE(bugprone-suspicious-memory-comparison): the bits are what is compared
    return std::memcmp(&m_float, &other.m_float, sizeof m_float) == 0;
  case Kind::String:
    return m_text == other.m_text;
  }
  return false;
}

bool ExprValue::ToBool() const {
  switch (m_kind) {
  case Kind::Bool:
    return m_bool;
  case Kind::Integer:
    return m_integer != 0;
  case Kind::Float:
    return m_float != 0.0;
  case Kind::String:
    return !m_text.empty();
  }
  return false;
}

int32_t ExprValue::ToInteger() const {
  switch (m_kind) {
  case Kind::Bool:
    return m_bool ? 1 : 0;
  case Kind::Integer:
    return m_integer;
  case Kind::Float:
    if (std::isnan(m_float))
      return 0;
    if (m_float >= kTruncationUpperLimit)
      return kIntegerMax;
    if (m_float <= kTruncationLowerLimit)
      return kIntegerMin;
    return static_cast<int32_t>(m_float);
  case Kind::String:
    return RuntimeNumberParser::ToInteger(m_text.c_str());
  }
  return 0;
}

double ExprValue::ToFloat() const {
  switch (m_kind) {
  case Kind::Bool:
    return m_bool ? 1.0 : 0.0;
  case Kind::Integer:
    return m_integer;
  case Kind::Float:
    return m_float;
  case Kind::String:
    return RuntimeNumberParser::ToDouble(m_text.c_str());
  }
  return 0.0;
}

std::string ExprValue::ToText() const {
  switch (m_kind) {
  case Kind::Bool:
    return m_bool ? "True" : "False";
  case Kind::Integer:
    return std::to_string(m_integer);
  case Kind::Float: {
    const bool wholeWithin32Bits =
        m_float > kTruncationLowerLimit && m_float < kTruncationUpperLimit && m_float == std::trunc(m_float);
    return wholeWithin32Bits ? RuntimeNumberFormatter::FormatFixed(m_float, kWholeFloatDecimals)
                             : RuntimeNumberFormatter::FormatGeneral(m_float);
  }
  case Kind::String:
    return m_text;
  }
  return std::string();
}

ExprValue ExprValue::Add(const ExprValue &left, const ExprValue &right) {
  if (EitherFloat(left, right))
    return FromFloat(left.ToFloat() + right.ToFloat());
  return FromInteger(Wrap(static_cast<uint32_t>(left.ToInteger()) + static_cast<uint32_t>(right.ToInteger())));
}

ExprValue ExprValue::Subtract(const ExprValue &left, const ExprValue &right) {
  if (EitherFloat(left, right))
    return FromFloat(left.ToFloat() - right.ToFloat());
  return FromInteger(Wrap(static_cast<uint32_t>(left.ToInteger()) - static_cast<uint32_t>(right.ToInteger())));
}

ExprValue ExprValue::Multiply(const ExprValue &left, const ExprValue &right) {
  if (EitherFloat(left, right))
    return FromFloat(left.ToFloat() * right.ToFloat());
  return FromInteger(Wrap(static_cast<uint32_t>(left.ToInteger()) * static_cast<uint32_t>(right.ToInteger())));
}

ExprValue ExprValue::Divide(const ExprValue &left, const ExprValue &right) {
  if (EitherFloat(left, right)) {
    const double divisor = right.ToFloat();
    return FromFloat(divisor == 0.0 ? DBL_MAX : left.ToFloat() / divisor);
  }
  const int32_t dividend = left.ToInteger();
  const int32_t divisor = right.ToInteger();
  if (divisor == 0)
    return FromInteger(kIntegerMax);
  if (dividend == kIntegerMin && divisor == -1)
    return FromInteger(kIntegerMin); // the quotient 2^31 wraps, as sums and products do
  return FromInteger(dividend / divisor);
}

ExprValue ExprValue::Negate(const ExprValue &operand) {
  if (operand.IsFloat())
    return FromFloat(-operand.m_float);
  return FromInteger(Wrap(0u - static_cast<uint32_t>(operand.ToInteger())));
}

ExprValue ExprValue::Concat(const ExprValue &left, const ExprValue &right) {
  return FromString(left.ToText() + right.ToText());
}

ExprValue ExprValue::Equals(const ExprValue &left, const ExprValue &right) {
  if (EitherFloat(left, right))
    return FromBool(left.ToFloat() == right.ToFloat());
  if (left.IsInteger() && right.IsInteger())
    return FromBool(left.m_integer == right.m_integer);
  return FromBool(left.ToText() == right.ToText());
}

ExprValue ExprValue::NotEquals(const ExprValue &left, const ExprValue &right) {
  return FromBool(!Equals(left, right).m_bool);
}

int ExprValue::Order(const ExprValue &left, const ExprValue &right) {
  if (EitherFloat(left, right)) {
    const double a = left.ToFloat();
    const double b = right.ToFloat();
    return a < b ? -1 : (b < a ? 1 : 0);
  }
  if (left.IsInteger() || right.IsInteger()) {
    const int32_t a = left.ToInteger();
    const int32_t b = right.ToInteger();
    return a < b ? -1 : (b < a ? 1 : 0);
  }
  // strcmp compares as unsigned bytes; the texts hold no NUL.
  return std::strcmp(left.ToText().c_str(), right.ToText().c_str());
}

ExprValue ExprValue::Less(const ExprValue &left, const ExprValue &right) { return FromBool(Order(left, right) < 0); }

ExprValue ExprValue::Greater(const ExprValue &left, const ExprValue &right) { return FromBool(Order(left, right) > 0); }

// "<=" and ">=" are the negations of ">" and "<": with a NaN operand both
// orderings are false, so both of these are true.
ExprValue ExprValue::LessOrEqual(const ExprValue &left, const ExprValue &right) {
  return FromBool(!Greater(left, right).m_bool);
}

ExprValue ExprValue::GreaterOrEqual(const ExprValue &left, const ExprValue &right) {
  return FromBool(!Less(left, right).m_bool);
}

ExprValue ExprValue::Or(const ExprValue &left, const ExprValue &right) {
  return FromBool(left.ToBool() || right.ToBool());
}

ExprValue ExprValue::And(const ExprValue &left, const ExprValue &right) {
  return FromBool(left.ToBool() && right.ToBool());
}

ExprValue ExprValue::Not(const ExprValue &operand) { return FromBool(!operand.ToBool()); }

ExprValue ExprValue::CallFunction(const std::string &name, const std::vector<ExprValue> &arguments) {
  return ExprFunctionTable::Call(name, arguments);
}
