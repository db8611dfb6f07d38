#pragma once

#include "script/Value.h"

#include <string>

// The language's binary operators on scalars (all but the short-circuit && and ||): "+" joins
// when either side is a string; arithmetic on two ints stays whole (7 / 2 is 3); comparisons
// give 1 or 0. Throws ScriptError for arrays and for a whole division by zero.
namespace host::script {

Value binaryOperation(const std::string& op, const Value& left, const Value& right, int line);

}  // namespace host::script
