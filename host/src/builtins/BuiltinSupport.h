#pragma once

#include <host/Messages.h>
#include <maya/MArgDatabase.h>
#include <maya/MObject.h>
#include <maya/MPxCommand.h>
#include <maya/MStatus.h>
#include <maya/MSyntax.h>

#include <climits>
#include <string>
#include <vector>

// Small helpers shared by the host's own commands.
namespace host::builtins {

template <typename Command>
void* create() {
    return new Command;
}

// Shows the error and gives kFailure, for `return fail("...")`.
MStatus fail(const std::string& message);

// The syntax of a command that takes only positional words, between minimum and maximum of them.
MSyntax wordsSyntax(unsigned int minimum, unsigned int maximum = UINT_MAX);

// The positional words of a parsed call, as written.
std::vector<std::string> objectWords(const MArgDatabase& args);

std::string nameOf(const MObject& node);

// "a", "b c", "-1.5" written as a script word: quoted unless it is a plain number.
std::string scriptWord(const std::string& value, bool forceQuotes);

}  // namespace host::builtins
