#pragma once

#include <maya/MArgList.h>

#include <string>
#include <vector>

// Turns a command script into statements: a command name and its words.
namespace host::script {

struct Statement {
    std::string command;
    MArgList args;
    int line = 1;
    // The statement written back as one line, for messages and the undo queue.
    std::string text;
};

struct ParseResult {
    std::vector<Statement> statements;
    std::string error;  // empty when the script parsed
    int errorLine = 0;
};

ParseResult parseScript(const std::string& text);

}  // namespace host::script
