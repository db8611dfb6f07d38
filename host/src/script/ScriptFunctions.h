#pragma once

#include "script/Evaluator.h"
#include "script/Value.h"

#include <string>
#include <vector>

// Functions of the language itself, which work on values rather than command words: size,
// eval, source, exists, getenv, match, substring, tolower.
namespace host::script {

using ScriptFunction = Value (*)(Evaluator& evaluator, const std::vector<Value>& arguments,
                                 int line);

// Null when no function has the name.
ScriptFunction findScriptFunction(const std::string& name);

}  // namespace host::script
