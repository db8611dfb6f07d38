#pragma once

#include <maya/MPxCommand.h>

namespace host {

// The host's way into the parts of a command object that only it sets.
struct CommandAccess {
    static void prepare(MPxCommand& command, const MSyntax& syntax, const MString& text) {
        command.syntax_ = syntax;
        command.commandString_ = text;
    }
};

}  // namespace host
