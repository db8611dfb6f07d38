#include <host/Commands.h>
#include <host/UndoQueue.h>

#include "builtins/BuiltinSupport.h"

#include <cstddef>
#include <iostream>
#include <string>

// print, error, warning, quit, undo and redo.
namespace host::builtins {
namespace {

// Undo and redo are the same step through the undo queue, taken in opposite directions.
struct QueueStep {
    const char* name;
    const char* title;
    std::size_t (UndoQueue::*available)() const;
    MStatus (UndoQueue::*take)(std::string*);
};

const QueueStep kUndoStep{"undo", "Undo", &UndoQueue::undoCount, &UndoQueue::undo};
const QueueStep kRedoStep{"redo", "Redo", &UndoQueue::redoCount, &UndoQueue::redo};

// Nothing left to step over is only a warning.
MStatus stepThroughQueue(const QueueStep& step) {
    UndoQueue& queue = UndoQueue::instance();
    if ((queue.*step.available)() == 0) {
        MPxCommand::displayWarning(
            MString((std::string("There are no more commands to ") + step.name + ".").c_str()));
        return MStatus::kSuccess;
    }
    std::string description;
    MStatus status = (queue.*step.take)(&description);
    if (!status) {
        return fail(std::string(step.title) + " failed: " + description);
    }
    MPxCommand::displayInfo(MString((std::string(step.title) + ": " + description).c_str()));
    return status;
}

class PrintCommand : public MPxCommand {
public:
    static MSyntax newSyntax() { return wordsSyntax(1, 1); }

    // Like MEL's print: the text as it is, no newline added.
    MStatus doIt(const MArgList& args) override {
        MArgDatabase parsed(syntax(), args);
        std::cout << objectWords(parsed).front() << std::flush;
        return MStatus::kSuccess;
    }
};

// error "text" shows an error and fails, which stops the script; warning "text" only shows.
class ErrorCommand : public MPxCommand {
public:
    static MSyntax newSyntax() { return wordsSyntax(1, 1); }
    MStatus doIt(const MArgList& args) override {
        MArgDatabase parsed(syntax(), args);
        return fail(objectWords(parsed).front());
    }
};

class WarningCommand : public MPxCommand {
public:
    static MSyntax newSyntax() { return wordsSyntax(1, 1); }
    MStatus doIt(const MArgList& args) override {
        MArgDatabase parsed(syntax(), args);
        displayWarning(MString(objectWords(parsed).front().c_str()));
        return MStatus::kSuccess;
    }
};

class QuitCommand : public MPxCommand {
public:
    static MSyntax newSyntax() {
        MSyntax syntax;
        syntax.addFlag("-f", "-force");
        return syntax;
    }

    MStatus doIt(const MArgList&) override {
        requestQuit();
        return MStatus::kSuccess;
    }
};

class UndoCommand : public MPxCommand {
public:
    static MSyntax newSyntax() { return MSyntax(); }
    MStatus doIt(const MArgList&) override { return stepThroughQueue(kUndoStep); }
};

class RedoCommand : public MPxCommand {
public:
    static MSyntax newSyntax() { return MSyntax(); }
    MStatus doIt(const MArgList&) override { return stepThroughQueue(kRedoStep); }
};

const BuiltinCommandRegistrar printCommand("print", create<PrintCommand>, PrintCommand::newSyntax);
const BuiltinCommandRegistrar errorCommand("error", create<ErrorCommand>, ErrorCommand::newSyntax);
const BuiltinCommandRegistrar warningCommand("warning", create<WarningCommand>,
                                             WarningCommand::newSyntax);
const BuiltinCommandRegistrar quitCommand("quit", create<QuitCommand>, QuitCommand::newSyntax);
const BuiltinCommandRegistrar undoCommand("undo", create<UndoCommand>, UndoCommand::newSyntax);
const BuiltinCommandRegistrar redoCommand("redo", create<RedoCommand>, RedoCommand::newSyntax);

}  // namespace
}  // namespace host::builtins
