#pragma once

#include <maya/MSyntax.h>

#include <string>
#include <vector>

namespace host {

// One flag a command declares.
struct SyntaxFlag {
    std::string shortName;  // without '-'
    std::string longName;   // without '-'
    std::vector<MSyntax::MArgType> argTypes;
    bool multiUse = false;
    bool queryWithArgs = false;
};

// The host's way to read what a command's syntax declares.
struct SyntaxAccess {
    static const std::vector<SyntaxFlag>& flags(const MSyntax& syntax) { return syntax.flags_; }
    static const std::vector<MSyntax::MArgType>& commandArgs(const MSyntax& syntax) {
        return syntax.commandArgs_;
    }
    static MSyntax::MObjectFormat objectFormat(const MSyntax& syntax) {
        return syntax.objectFormat_;
    }
    static bool selectionAsDefault(const MSyntax& syntax) { return syntax.useSelection_; }
    // The declared flag matching a short or long name (with or without '-'), or null.
    static const SyntaxFlag* findFlag(const MSyntax& syntax, const std::string& name) {
        return syntax.findFlag(name);
    }
};

}  // namespace host
