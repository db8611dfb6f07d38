#include "script/ScriptFunctions.h"

#include <host/Commands.h>

#include "script/ScriptPath.h"

#include <cstdlib>
#include <map>

namespace host::script {
namespace {

std::string joined(const std::vector<Value>& arguments) {
    std::string text;
    for (const Value& argument : arguments) {
        text += (text.empty() ? "" : " ") + argument.asString();
    }
    return text;
}

void needCount(const std::vector<Value>& arguments, std::size_t count, const char* name, int line) {
    if (arguments.size() != count) {
        throw ScriptError(std::string("Wrong number of arguments on call to ") + name, line);
    }
}

// The number of elements of an array, the number of characters of a string.
Value size(Evaluator&, const std::vector<Value>& arguments, int line) {
    needCount(arguments, 1, "size", line);
    const Value& value = arguments.front();
    return Value::ofInt(
        static_cast<long long>(value.isArray() ? value.size() : value.asString().size()));
}

// Runs the text as a script and gives the value of its last statement.
Value eval(Evaluator& evaluator, const std::vector<Value>& arguments, int line) {
    return evaluator.evaluateText(joined(arguments), line);
}

Value source(Evaluator& evaluator, const std::vector<Value>& arguments, int line) {
    needCount(arguments, 1, "source", line);
    evaluator.sourceFile(arguments.front().asString(), line);
    return Value();
}

// True for a procedure, a function of the language, a command, or a script on the path that
// would define the procedure.
Value exists(Evaluator& evaluator, const std::vector<Value>& arguments, int line) {
    needCount(arguments, 1, "exists", line);
    const std::string name = arguments.front().asString();
    bool known = evaluator.procedureExists(name) || findScriptFunction(name) != nullptr ||
                 commandExists(name) || !findScriptFile(name + ".mel").empty();
    return Value::ofInt(known ? 1 : 0);
}

Value getenv(Evaluator&, const std::vector<Value>& arguments, int line) {
    needCount(arguments, 1, "getenv", line);
    const char* value = std::getenv(arguments.front().asString().c_str());
    return Value::ofString(value ? value : "");
}

}  // namespace

ScriptFunction findScriptFunction(const std::string& name) {
    static const std::map<std::string, ScriptFunction> functions = {
        {"size", size}, {"eval", eval}, {"source", source}, {"exists", exists}, {"getenv", getenv}};
    auto found = functions.find(name);
    return found == functions.end() ? nullptr : found->second;
}

}  // namespace host::script
