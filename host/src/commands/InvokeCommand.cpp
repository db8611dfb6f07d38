#include <host/Messages.h>
#include <host/UndoQueue.h>
#include <maya/MPxCommand.h>

#include "commands/ArgumentParser.h"
#include "commands/CommandAccess.h"
#include "commands/CommandResult.h"
#include "commands/CommandTable.h"

#include <exception>
#include <memory>

namespace host {
namespace {

// An undoable command kept by the undo queue; the object goes when it leaves the queue.
class CommandUndoAction : public UndoableAction {
public:
    CommandUndoAction(std::unique_ptr<MPxCommand> command, std::string text)
        : command_(std::move(command)), text_(std::move(text)) {}

    MStatus undo() override {
        ResultScope scope;
        return command_->undoIt();
    }
    MStatus redo() override {
        ResultScope scope;
        return command_->redoIt();
    }
    std::string description() const override { return text_; }

private:
    std::unique_ptr<MPxCommand> command_;
    std::string text_;
};

CommandOutcome failure(const std::string& message) {
    showMessage(MessageKind::kError, message);
    return {MStatus::kFailure, ""};
}

}  // namespace

CommandOutcome invokeCommand(const std::string& name, const MArgList& args, const std::string& text,
                             bool recordUndo, CommandResult* result) {
    std::optional<CommandEntry> entry = CommandTable::instance().find(name);
    if (!entry) {
        return failure("Cannot find procedure \"" + name + "\".");
    }
    std::unique_ptr<MPxCommand> command(static_cast<MPxCommand*>(entry->creator()));
    if (!command) {
        return failure(name + ": the command could not be created");
    }
    MSyntax syntax = entry->syntax ? entry->syntax() : MSyntax();
    CommandAccess::prepare(*command, syntax, MString(text.c_str()));
    if (entry->syntax && command->hasSyntax()) {
        std::shared_ptr<ParsedArguments> parsed = parseArguments(syntax, args);
        if (!parsed->ok()) {
            return failure(name + ": " + parsed->error);
        }
    }

    CommandOutcome outcome;
    int errorsBefore = messageCounts().errors;
    {
        ResultScope scope;
        try {
            outcome.status = command->doIt(args);
        } catch (const std::exception& error) {
            outcome.status = MStatus::kFailure;
            showMessage(MessageKind::kError, name + ": " + error.what());
        }
        outcome.resultText = scope.result().text();
        if (result) {
            *result = scope.result();
        }
    }
    if (!outcome.status) {
        if (messageCounts().errors == errorsBefore) {
            showMessage(MessageKind::kError,
                        name + ": " + std::string(outcome.status.errorString().asChar()));
        }
        return outcome;
    }
    if (recordUndo && command->isUndoable()) {
        UndoQueue::instance().push(std::make_unique<CommandUndoAction>(std::move(command), text));
    }
    return outcome;
}

}  // namespace host
