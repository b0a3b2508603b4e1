// libFuzzer target: any text run as statements and evaluated as a condition
// must end without a crash, a leak or a sanitizer report.
#include <cstddef>
#include <cstdint>
#include <string>

#include "expression/ExpressionTestSupport.h" // from tests/: the in-memory variable store
#include "expression/VORExpressionEvaluator.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  // The language reads zero-terminated texts: a NUL ends the input early.
  const std::string text(reinterpret_cast<const char *>(data), size);
  FakeVariableStore variables;
  variables.Preset("n", "12");
  variables.Preset("f", "2.5");
  variables.Preset("s", "Roma");
  {
    VORExpressionEvaluator evaluator(&variables);
    evaluator.Execute(text.c_str());
  }
  {
    VORExpressionEvaluator evaluator(&variables);
    evaluator.EvaluateValue(text.c_str()).ToText();
  }
  return 0;
}
