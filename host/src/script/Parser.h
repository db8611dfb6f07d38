#pragma once

#include "script/Syntax.h"

#include <string>
#include <vector>

// Turns a script into its tree of statements.
namespace host::script {

struct ParseResult {
    std::vector<StatementPtr> statements;
    std::string error;  // empty when the script parsed
    int errorLine = 0;
};

ParseResult parseScript(const std::string& text);

}  // namespace host::script
