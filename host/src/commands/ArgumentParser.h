#pragma once

#include <maya/MArgList.h>
#include <maya/MSyntax.h>

#include <memory>
#include <string>
#include <vector>

namespace host {

// A command call checked against its syntax.
struct ParsedArguments {
    struct FlagUse {
        const host::SyntaxFlag* flag = nullptr;  // points into `syntax`
        std::vector<host::ArgItem> values;
    };

    MSyntax syntax;
    std::string error;  // empty when the call fits the syntax
    bool query = false;
    bool edit = false;
    std::vector<FlagUse> uses;
    std::vector<host::ArgItem> positional;  // objects or command arguments

    bool ok() const { return error.empty(); }
    // Uses of the flag named by its short or long name (with or without '-').
    std::vector<const FlagUse*> usesOf(const char* flagName) const;
};

std::shared_ptr<ParsedArguments> parseArguments(const MSyntax& syntax, const MArgList& args);

}  // namespace host
