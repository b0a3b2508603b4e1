#include "model/VOREventCondition.h"

#include <cstring>
#include <string>

#include "expression/VORExpressionEvaluator.h"
#include "expression/VORVariableStore.h"
#include "foundation/XQAtoi.h"
#include "model/VORApp.h"
#include "model/VORClassRegistry.h"
#include "vorfile/SectionGuard.h"
#include "vorfile/VORRecordFields.h"

namespace {

VORCodedObject *CreateCondition(uint32_t /*classKey*/, int32_t id) { return new VOREventCondition(id); }

const ClassRegistration kRegistration(VOREventCondition::kCategory, VOREventCondition::kCode, CreateCondition);

// The application's variables as the expression language reads them.
class AppVariables : public VORVariableStore {
public:
  explicit AppVariables(VORApp &app) : m_app(app) {}
  XQString GetVariableValue(const XQString &name) override { return m_app.GetVariableValue(name); }
  void SetVariableValue(const XQString &name, const XQString &value) override { m_app.SetVariableValue(name, value); }

private:
  VORApp &m_app;
};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

char FoldLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

char FoldUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// The first kCompareLength characters of a text, as the comparison sees it.
std::string Limited(const char *text) {
  const size_t length = text ? std::strlen(text) : 0;
  return std::string(text ? text : "",
                     length < VOREventCondition::kCompareLength ? length : VOREventCondition::kCompareLength);
}

int Sign(int64_t difference) { return difference < 0 ? -1 : difference > 0 ? 1 : 0; }

} // namespace

VOREventCondition::VOREventCondition(int32_t id) : VORFileDataObject(kClassKey, id) {}

VOREventCondition::VOREventCondition(uint8_t op, uint8_t flags, const char *variableName, const char *operand)
    : VORFileDataObject(kClassKey, 0), m_operator(op), m_flags(flags), m_variableName(variableName),
      m_operand(operand) {}

VOREventCondition::~VOREventCondition() = default;

void VOREventCondition::Read(VORFile &file) {
  using namespace VORRecordFields;
  SectionGuard section(file);
  section.Open(GetObjectCode().ToKey(), VORObjectCode::kSize, false, false, true);
  m_flags = 0;
  // Each byte takes its default on its own: a record that ends after the
  // operator keeps it.
  ReadOptional(m_operator, uint8_t{kAlways}, [&] { m_operator = ReadByte(file); });
  if (file.GetVersion() > kFlagsVersion)
    ReadOptional(m_flags, uint8_t{0}, [&] { m_flags = ReadByte(file); });
  m_variableName.Read(file);
  m_operand.Read(file);
}

bool VOREventCondition::Evaluate() {
  if (m_flags & kExpression)
    return EvaluateExpression();
  const bool result = EvaluateComparison();
  return (m_flags & kNegate) ? !result : result;
}

bool VOREventCondition::EvaluateExpression() const {
  VORApp *app = VORApp::Get();
  if (m_variableName.IsEmpty() || !app)
    return false;
  AppVariables variables(*app);
  return VORExpressionEvaluator(&variables).EvaluateToBool(m_variableName.CStr());
}

bool VOREventCondition::EvaluateComparison() const {
  VORApp *app = VORApp::Get();
  const XQString value = app ? app->GetVariableValue(m_variableName) : XQString();
  switch (m_operator) {
  case kAlways:
    return true;
  case kNever:
    return false;
  case kEqual:
    return Compare(value.CStr(), m_operand.CStr()) == 0;
  case kNotEqual:
    return Compare(value.CStr(), m_operand.CStr()) != 0;
  case kLess:
    return Compare(value.CStr(), m_operand.CStr()) < 0;
  case kLessOrEqual:
    return Compare(value.CStr(), m_operand.CStr()) <= 0;
  case kGreater:
    return Compare(value.CStr(), m_operand.CStr()) > 0;
  case kGreaterOrEqual:
    return Compare(value.CStr(), m_operand.CStr()) >= 0;
  case kContains:
    return Contains(value.CStr(), m_operand.CStr());
  default:
    return true;
  }
}

int VOREventCondition::Compare(const char *value, const char *operand) {
  const std::string left = Limited(value);
  const std::string right = Limited(operand);
  if (!left.empty() && !right.empty() && IsDigit(left[0]) && IsDigit(right[0]))
    return Sign(static_cast<int64_t>(XQAtoi(left.c_str())) - XQAtoi(right.c_str()));
  for (size_t i = 0;; ++i) {
    const auto a = static_cast<unsigned char>(FoldLower(i < left.size() ? left[i] : '\0'));
    const auto b = static_cast<unsigned char>(FoldLower(i < right.size() ? right[i] : '\0'));
    if (a != b)
      return a < b ? -1 : 1;
    if (a == '\0')
      return 0;
  }
}

bool VOREventCondition::Contains(const char *value, const char *operand) {
  std::string haystack = Limited(value);
  std::string needle = Limited(operand);
  for (char &c : haystack)
    c = FoldUpper(c);
  for (char &c : needle)
    c = FoldUpper(c);
  return haystack.find(needle) != std::string::npos;
}
