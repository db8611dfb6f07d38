#include <host/Commands.h>
#include <host/IdleQueue.h>
#include <host/Messages.h>
#include <maya/MGlobal.h>

#include <string>

#include "script/Interpreter.h"

// Whether a command run from the idle queue goes on the undo queue is not documented; it is
// run as executeCommand runs by default, without undo.
MStatus MGlobal::executeCommandOnIdle(const MString& command, bool displayEnabled) {
    const std::string text = command.asChar();
    host::queueIdleWork([text, displayEnabled] {
        host::QuietMessages quiet(!displayEnabled);
        host::ScriptOptions options;
        options.echoResults = displayEnabled;
        options.recordUndo = false;
        options.userStatements = false;
        host::script::run(text, options, nullptr, nullptr);
    });
    return MStatus::kSuccess;
}

MStatus MGlobal::executePythonCommandOnIdle(const MString& /*command*/, bool /*displayEnabled*/) {
    host::showMessage(host::MessageKind::kError, "Python is not available in this host");
    return MStatus::kFailure;
}

// The priority is accepted; Maya does not document how it orders work of different priorities
// against queued commands, so everything runs in the order it was queued.
MStatus MGlobal::executeTaskOnIdle(MIdleTaskCallback task, void* clientData,
                                   MIdleTaskPriority /*priority*/) {
    if (task == nullptr) {
        return MStatus::kInvalidParameter;
    }
    host::queueIdleWork([task, clientData] { task(clientData); });
    return MStatus::kSuccess;
}
