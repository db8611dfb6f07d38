#include "script/Operators.h"

#include "script/ScriptError.h"

#include <cmath>

namespace host::script {

Value binaryOperation(const std::string& op, const Value& left, const Value& right, int line) {
    if (left.isArray() || right.isArray()) {
        throw ScriptError("Operator " + op + " does not take arrays", line);
    }
    bool text = left.type() == Value::kString || right.type() == Value::kString;
    if (text && op == "+") {
        return Value::ofString(left.asString() + right.asString());
    }
    if (text && (op == "==" || op == "!=")) {
        bool equal = left.asString() == right.asString();
        return Value::ofInt(equal == (op == "==") ? 1 : 0);
    }
    bool whole = left.type() != Value::kFloat && right.type() != Value::kFloat && !text;
    double a = left.asFloat();
    double b = right.asFloat();
    if (op == "==" || op == "!=" || op == "<" || op == ">" || op == "<=" || op == ">=") {
        bool holds = op == "=="   ? a == b
                     : op == "!=" ? a != b
                     : op == "<"  ? a < b
                     : op == ">"  ? a > b
                     : op == "<=" ? a <= b
                                  : a >= b;
        return Value::ofInt(holds ? 1 : 0);
    }
    if (whole && (op == "/" || op == "%") && right.asInt() == 0) {
        throw ScriptError("Division by zero", line);
    }
    if (whole) {
        long long x = left.asInt();
        long long y = right.asInt();
        return Value::ofInt(op == "+"   ? x + y
                            : op == "-" ? x - y
                            : op == "*" ? x * y
                            : op == "/" ? x / y
                                        : x % y);
    }
    return Value::ofFloat(op == "+"   ? a + b
                          : op == "-" ? a - b
                          : op == "*" ? a * b
                          : op == "/" ? a / b
                                      : std::fmod(a, b));
}

}  // namespace host::script
