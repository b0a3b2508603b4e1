#pragma once

#include <cstdint>
#include <string>
#include <vector>

// One value of the expression language. Variables hold text; values take a
// kind as they are read, and every operator converts its operands by the
// rules below.
class ExprValue {
public:
  enum class Kind : int32_t { Bool = 0, Integer = 1, Float = 2, String = 3 };

  ExprValue() = default; // Bool false
  static ExprValue FromBool(bool value);
  static ExprValue FromInteger(int32_t value);
  static ExprValue FromFloat(double value);
  static ExprValue FromString(std::string text);

  Kind GetKind() const { return m_kind; }
  bool IsFloat() const { return m_kind == Kind::Float; }
  bool IsInteger() const { return m_kind == Kind::Integer; }
  // The text of a String value as it is held (empty for the other kinds).
  const std::string &GetString() const { return m_text; }
  // Same kind and same payload: for checks, not the language's "=".
  bool IsSameAs(const ExprValue &other) const;

  // Bool as is; Integer not 0; Float not 0.0; String not empty.
  bool ToBool() const;
  // Float truncated toward zero and saturated (NaN gives 0); String by atoi.
  int32_t ToInteger() const;
  // String by atof.
  double ToFloat() const;
  // "True"/"False"; "%d"; "%.1f" for a whole Float within 32 bits, else "%g".
  std::string ToText() const;

  // Float arithmetic when either operand is a Float, else wrapping 32-bit
  // integer arithmetic. A String is never taken as a Float here.
  static ExprValue Add(const ExprValue &left, const ExprValue &right);
  static ExprValue Subtract(const ExprValue &left, const ExprValue &right);
  static ExprValue Multiply(const ExprValue &left, const ExprValue &right);
  // Division by zero gives the largest double (Float) or 2147483647
  // (Integer); -2147483648 / -1 wraps to -2147483648.
  static ExprValue Divide(const ExprValue &left, const ExprValue &right);
  static ExprValue Negate(const ExprValue &operand);
  static ExprValue Concat(const ExprValue &left, const ExprValue &right);

  static ExprValue Equals(const ExprValue &left, const ExprValue &right);
  static ExprValue NotEquals(const ExprValue &left, const ExprValue &right);
  static ExprValue Less(const ExprValue &left, const ExprValue &right);
  static ExprValue LessOrEqual(const ExprValue &left, const ExprValue &right);
  static ExprValue Greater(const ExprValue &left, const ExprValue &right);
  static ExprValue GreaterOrEqual(const ExprValue &left, const ExprValue &right);

  static ExprValue Or(const ExprValue &left, const ExprValue &right);
  static ExprValue And(const ExprValue &left, const ExprValue &right);
  static ExprValue Not(const ExprValue &operand);

  // A built-in function by name (letter case ignored) and argument count;
  // Bool false for an unknown name or a wrong count.
  static ExprValue CallFunction(const std::string &name, const std::vector<ExprValue> &arguments);

private:
  // <0, 0, >0 as for the ordering comparisons: doubles when either is a
  // Float, integers when either is an Integer, else texts by unsigned bytes.
  static int Order(const ExprValue &left, const ExprValue &right);

  Kind m_kind = Kind::Bool;
  bool m_bool = false;
  int32_t m_integer = 0;
  double m_float = 0.0;
  std::string m_text;
};
