#pragma once

#include <stdexcept>
#include <string>

namespace host::script {

// Ends the running script. `shown` when the message was already shown (a failed command).
struct ScriptError : std::runtime_error {
    ScriptError(const std::string& message, int line, bool shown = false)
        : std::runtime_error(message), line(line), shown(shown) {}
    int line;
    bool shown;
};

}  // namespace host::script
