// An event condition read from any record bytes and evaluated over a
// variable of any value, as the action it guards falls due; then the same
// variable and operand asked with every operator, plain, negated and as an
// expression, and the comparison helpers on their own. A file exception
// ends the read; anything else that escapes, or a sanitizer report, is a
// fault.
//   byte 0: bit 0 the file's version carries the flags byte
//   16-bit length, then the variable's value; the rest: the record
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "FuzzBytes.h"
#include "model/VOREventCondition.h"
#include "support/FakeApp.h"
#include "support/FakeRecordFile.h"
#include "vorfile/VORFileException.h"

namespace {

constexpr uint8_t kLastOperator = VOREventCondition::kContains + 1; // one past: an unknown operator

void AskEveryOperator(const VOREventCondition &read) {
  const char *name = read.GetVariableName().CStr();
  const char *operand = read.GetOperand().CStr();
  for (uint8_t op = 0; op <= kLastOperator; ++op) {
    const bool plain = VOREventCondition(op, 0, name, operand).Evaluate();
    const bool negated = VOREventCondition(op, VOREventCondition::kNegate, name, operand).Evaluate();
    if (plain == negated)
      std::abort(); // negation must turn every comparison over
    VOREventCondition(op, VOREventCondition::kExpression, name, operand).Evaluate();
  }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  FuzzBytes input(data, size);
  const uint8_t flags = input.Take<uint8_t>();
  const std::vector<uint8_t> value = input.Take(input.Take<uint16_t>());
  const uint32_t version = (flags & 1) != 0 ? VOREventCondition::kFlagsVersion + 1 : VOREventCondition::kFlagsVersion;
  FakeApp app;
  FakeRecordFile file(input.Rest(), version);
  VOREventCondition condition(1);
  try {
    condition.Read(file);
  } catch (const VORFileException &) {
    return 0;
  }
  const std::string variable = condition.GetVariableName().CStr();
  // A missing variable first, then one holding the value.
  condition.Evaluate();
  app.Variables()[variable] = std::string(value.begin(), value.end());
  std::unique_ptr<VOREventCondition>(condition.Clone())->Evaluate();
  condition.EvaluateExpression();
  AskEveryOperator(condition);
  const std::string text(value.begin(), value.end());
  VOREventCondition::Compare(text.c_str(), condition.GetOperand().CStr());
  VOREventCondition::Contains(text.c_str(), condition.GetOperand().CStr());
  return 0;
}
