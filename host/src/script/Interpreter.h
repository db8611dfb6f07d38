#pragma once

#include <host/Commands.h>

#include "commands/CommandResult.h"

#include <string>

namespace host::script {

// Runs every statement of a script in order. The status is kFailure when the script does not
// parse or any command failed. `last`/`lastResult` receive the last command's outcome.
MStatus run(const std::string& text, const ScriptOptions& options, CommandOutcome* last,
            CommandResult* lastResult);

}  // namespace host::script
