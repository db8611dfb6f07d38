#include "script/ScriptFunctions.h"

#include <host/Commands.h>

#include "script/ScriptPath.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <map>
#include <regex>

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

// The part of the text the regular expression matches first, "" when none.
Value match(Evaluator&, const std::vector<Value>& arguments, int line) {
    needCount(arguments, 2, "match", line);
    try {
        std::smatch found;
        const std::string text = arguments[1].asString();
        std::regex_search(text, found, std::regex(arguments[0].asString()));
        return Value::ofString(found.empty() ? "" : found.str(0));
    } catch (const std::regex_error&) {
        throw ScriptError("match: bad regular expression " + arguments[0].asString(), line);
    }
}

// Characters start to end of the text, counted from 1, both included.
Value substring(Evaluator&, const std::vector<Value>& arguments, int line) {
    needCount(arguments, 3, "substring", line);
    const std::string text = arguments[0].asString();
    const long long start = arguments[1].asInt();
    const long long end = std::min<long long>(arguments[2].asInt(), text.size());
    if (start < 1 || end < start) {
        return Value::ofString("");
    }
    return Value::ofString(text.substr(start - 1, end - start + 1));
}

Value tolower(Evaluator&, const std::vector<Value>& arguments, int line) {
    needCount(arguments, 1, "tolower", line);
    std::string text = arguments[0].asString();
    for (char& c : text) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return Value::ofString(text);
}

Value getenv(Evaluator&, const std::vector<Value>& arguments, int line) {
    needCount(arguments, 1, "getenv", line);
    const char* value = std::getenv(arguments.front().asString().c_str());
    return Value::ofString(value ? value : "");
}

}  // namespace

ScriptFunction findScriptFunction(const std::string& name) {
    static const std::map<std::string, ScriptFunction> functions = {
        {"size", size},     {"eval", eval},   {"source", source},       {"exists", exists},
        {"getenv", getenv}, {"match", match}, {"substring", substring}, {"tolower", tolower}};
    auto found = functions.find(name);
    return found == functions.end() ? nullptr : found->second;
}

}  // namespace host::script
