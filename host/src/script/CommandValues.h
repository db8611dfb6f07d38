#pragma once

#include <maya/MArgList.h>

#include "commands/CommandResult.h"
#include "script/Value.h"

#include <string>

// Where the language meets commands: the words a call gives a command, and its result as a
// value of the language.
namespace host::script {

// An evaluated call argument: a value, or a bare word or flag as written in command syntax.
struct ArgumentValue {
    enum Kind { kValue, kWord, kFlag };
    Kind kind = kValue;
    Value value;  // for words and flags, the text as a string ("-flag" with its dash)
};

// Appends the argument's words, and adds them to the call's text as a script would write them.
// A word that reads as a number is a number; a string value is a quoted word; an array gives
// one word per element.
void appendCommandWords(const ArgumentValue& argument, MArgList& args, std::string& text);

Value valueOfResult(const CommandResult& result);
CommandResult resultOfValue(const Value& value);

}  // namespace host::script
