#pragma once

#include <cstdint>

#include "model/VORActionCondition.h"
#include "model/VORFileDataObject.h"
#include "vorfile/VORString.h"

class VORFile;

// The condition of an event, asked when each of its actions falls due:
// either a comparison of a variable's value with an operand, or an
// expression of the expression language over the variables.
class VOREventCondition : public VORFileDataObject, public VORActionCondition {
public:
  static constexpr uint16_t kCategory = 3;
  static constexpr uint16_t kCode = 23;
  static constexpr uint32_t kClassKey = VORObjectCode::MakeClassKey(kCategory, kCode);
  // Files of later versions carry the flags byte.
  static constexpr uint32_t kFlagsVersion = 0x4000002;

  enum Operator : uint8_t {
    kAlways = 0,
    kNever = 1,
    kEqual = 2,
    kNotEqual = 3,
    kLess = 4,
    kLessOrEqual = 5,
    kGreater = 6,
    kGreaterOrEqual = 7,
    kContains = 8,
  };

  enum Flag : uint8_t {
    kNegate = 1,
    kExpression = 2,
  };

  // Each text is compared up to this many characters.
  static constexpr uint32_t kCompareLength = 499;

  explicit VOREventCondition(int32_t id = 0);
  VOREventCondition(uint8_t op, uint8_t flags, const char *variableName, const char *operand);
  VOREventCondition(const VOREventCondition &) = default;
  VOREventCondition &operator=(const VOREventCondition &) = delete;
  ~VOREventCondition() override;

  // Opens the condition's folder: the operator, the flags (later versions),
  // the variable name (or the expression) and the operand.
  void Read(VORFile &file) override;
  virtual VOREventCondition *Clone() const { return new VOREventCondition(*this); }

  // Expression mode: the expression's value (the negate flag does not
  // apply). Otherwise the comparison of the variable's value (a missing
  // variable is made, empty) with the operand, negated when asked.
  bool Evaluate() override;
  // The variable-name text as a boolean expression; false when empty.
  bool EvaluateExpression() const;

  uint8_t GetOperator() const { return m_operator; }
  uint8_t GetFlags() const { return m_flags; }
  const VORString &GetVariableName() const { return m_variableName; }
  const VORString &GetOperand() const { return m_operand; }

  // How value compares with operand: as numbers when both begin with a
  // decimal digit, else as texts without regard to case (the runtime's
  // _stricmp, which folds to lower case). Below, equal or above 0.
  static int Compare(const char *value, const char *operand);
  // Whether value holds operand, without regard to case; an empty operand
  // is in every value.
  static bool Contains(const char *value, const char *operand);

private:
  bool EvaluateComparison() const;

  uint8_t m_operator = kAlways;
  uint8_t m_flags = 0;
  VORString m_variableName;
  VORString m_operand;
};
