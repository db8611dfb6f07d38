#pragma once

#include <string>
#include <unordered_map>

namespace host::modules {

// Changes to this process's environment, gathered and then made with one setenv per variable.
// Made one by one they would take time and memory growing with the square of their number: an
// append through the environment copies the variable's whole value, and the C library keeps
// every value it was ever given.
class EnvironmentEdits {
public:
    void set(const std::string& variable, const std::string& value);
    // After a ':' when the variable holds something already.
    void append(const std::string& variable, const std::string& value);
    void apply();

private:
    std::string& valueOf(const std::string& variable);

    std::unordered_map<std::string, std::string> values_;
};

}  // namespace host::modules
