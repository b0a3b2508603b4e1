#pragma once

#include <string>
#include <vector>

#include "expression/ExprValue.h"

// The built-in functions of the expression language, looked up in table
// order by name (letter case ignored) and exact argument count.
class ExprFunctionTable {
public:
  static ExprValue Call(const std::string &name, const std::vector<ExprValue> &arguments);
};
