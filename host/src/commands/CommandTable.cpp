#include "commands/CommandTable.h"

namespace host {

CommandTable& CommandTable::instance() {
    static CommandTable table;
    return table;
}

bool CommandTable::add(const CommandEntry& entry) {
    if (entry.name.empty() || !entry.creator) {
        return false;
    }
    return entries_.emplace(entry.name, entry).second;
}

bool CommandTable::remove(const std::string& name) {
    return entries_.erase(name) != 0;
}

std::optional<CommandEntry> CommandTable::find(const std::string& name) const {
    auto found = entries_.find(name);
    if (found == entries_.end()) {
        return std::nullopt;
    }
    return found->second;
}

std::vector<std::string> CommandTable::namesOf(const std::string& plugin) const {
    std::vector<std::string> names;
    for (const auto& [name, entry] : entries_) {
        if (entry.plugin == plugin) {
            names.push_back(name);
        }
    }
    return names;
}

BuiltinCommandRegistrar::BuiltinCommandRegistrar(const char* name, MCreatorFunction creator,
                                                 MCreateSyntaxFunction syntax) {
    CommandTable::instance().add({name, creator, syntax, "", true});
}

bool commandExists(const std::string& name) {
    return CommandTable::instance().find(name).has_value();
}

}  // namespace host
