#pragma once

#include <host/Commands.h>
#include <maya/MArgList.h>
#include <maya/MTypes.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "commands/CommandResult.h"

namespace host {

struct CommandEntry {
    std::string name;
    MCreatorFunction creator = nullptr;
    MCreateSyntaxFunction syntax = nullptr;
    std::string plugin;    // the plug-in that registered it
    bool builtin = false;  // the host's own; no plug-in can take it away
};

// Every command the scripts can call, the host's and the plug-ins'.
class CommandTable {
public:
    static CommandTable& instance();

    // False when the name is taken.
    bool add(const CommandEntry& entry);
    bool remove(const std::string& name);
    std::optional<CommandEntry> find(const std::string& name) const;
    std::vector<std::string> namesOf(const std::string& plugin) const;

private:
    std::map<std::string, CommandEntry> entries_;
};

// Runs one command: checks the words against its syntax, calls doIt, and keeps an undoable
// command on the undo queue when recordUndo. A failure is shown as an error message.
// `result`, when given, receives the result itself.
CommandOutcome invokeCommand(const std::string& name, const MArgList& args, const std::string& text,
                             bool recordUndo, CommandResult* result = nullptr);

}  // namespace host
