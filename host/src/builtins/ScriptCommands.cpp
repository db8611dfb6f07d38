#include <host/Commands.h>
#include <host/UndoQueue.h>

#include "builtins/BuiltinSupport.h"

#include <iostream>

// print, quit, undo and redo.
namespace host::builtins {
namespace {

class PrintCommand : public MPxCommand {
public:
    static MSyntax newSyntax() {
        MSyntax syntax;
        syntax.setObjectType(MSyntax::kStringObjects, 1, 1);
        return syntax;
    }

    // Like MEL's print: the text as it is, no newline added.
    MStatus doIt(const MArgList& args) override {
        MArgDatabase parsed(syntax(), args);
        std::cout << objectWords(parsed).front() << std::flush;
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

    MStatus doIt(const MArgList&) override {
        UndoQueue& queue = UndoQueue::instance();
        if (queue.undoCount() == 0) {
            MPxCommand::displayWarning("There are no more commands to undo.");
            return MStatus::kSuccess;
        }
        std::string description;
        MStatus status = queue.undo(&description);
        if (!status) {
            return fail("Undo failed: " + description);
        }
        MPxCommand::displayInfo(MString(("Undo: " + description).c_str()));
        return status;
    }
};

class RedoCommand : public MPxCommand {
public:
    static MSyntax newSyntax() { return MSyntax(); }

    MStatus doIt(const MArgList&) override {
        UndoQueue& queue = UndoQueue::instance();
        if (queue.redoCount() == 0) {
            MPxCommand::displayWarning("There are no more commands to redo.");
            return MStatus::kSuccess;
        }
        std::string description;
        MStatus status = queue.redo(&description);
        if (!status) {
            return fail("Redo failed: " + description);
        }
        MPxCommand::displayInfo(MString(("Redo: " + description).c_str()));
        return status;
    }
};

const BuiltinCommandRegistrar printCommand("print", create<PrintCommand>, PrintCommand::newSyntax);
const BuiltinCommandRegistrar quitCommand("quit", create<QuitCommand>, QuitCommand::newSyntax);
const BuiltinCommandRegistrar undoCommand("undo", create<UndoCommand>, UndoCommand::newSyntax);
const BuiltinCommandRegistrar redoCommand("redo", create<RedoCommand>, RedoCommand::newSyntax);

}  // namespace
}  // namespace host::builtins
