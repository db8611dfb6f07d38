#include "modules/EnvironmentEdits.h"

#include <cstdlib>

namespace host::modules {

std::string& EnvironmentEdits::valueOf(const std::string& variable) {
    auto known = values_.find(variable);
    if (known == values_.end()) {
        const char* current = std::getenv(variable.c_str());
        known = values_.emplace(variable, current ? current : "").first;
    }
    return known->second;
}

void EnvironmentEdits::set(const std::string& variable, const std::string& value) {
    valueOf(variable) = value;
}

void EnvironmentEdits::append(const std::string& variable, const std::string& value) {
    std::string& current = valueOf(variable);
    if (!current.empty()) {
        current += ':';
    }
    current += value;
}

void EnvironmentEdits::apply() {
    for (const auto& [variable, value] : values_) {
        setenv(variable.c_str(), value.c_str(), 1);
    }
    values_.clear();
}

}  // namespace host::modules
