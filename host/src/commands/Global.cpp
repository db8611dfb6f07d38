#include <host/Messages.h>
#include <maya/MGlobal.h>
#include <maya/MTypes.h>

#include "commands/CommandResult.h"
#include "script/Interpreter.h"

namespace {

using host::CommandResult;

// With display off nothing is echoed and repeated messages are not printed again; they are
// still counted.
MStatus runForResult(const MString& command, bool displayEnabled, bool undoEnabled,
                     CommandResult* result) {
    host::QuietMessages quiet(!displayEnabled);
    host::ScriptOptions options;
    options.echoResults = displayEnabled;
    options.recordUndo = undoEnabled;
    return host::script::run(command.asChar(), options, nullptr, result);
}

bool numericElements(const CommandResult& result, std::vector<double>* values) {
    values->clear();
    if (result.type == CommandResult::kInt) {
        values->assign(result.ints.begin(), result.ints.end());
        return true;
    }
    if (result.type == CommandResult::kDouble) {
        *values = result.doubles;
        return true;
    }
    return false;
}

}  // namespace

MGlobal::MMayaState MGlobal::mayaState(MStatus* ReturnStatus) {
    if (ReturnStatus) {
        *ReturnStatus = MStatus::kSuccess;
    }
    return kBatch;
}

MString MGlobal::mayaVersion() {
    return MString("2018");
}
int MGlobal::apiVersion() {
    return MAYA_API_VERSION;
}

MStatus MGlobal::executeCommand(const MString& command, bool displayEnabled, bool undoEnabled) {
    return runForResult(command, displayEnabled, undoEnabled, nullptr);
}

MStatus MGlobal::executeCommand(const MString& command, int& result, bool displayEnabled,
                                bool undoEnabled) {
    CommandResult value;
    MStatus status = runForResult(command, displayEnabled, undoEnabled, &value);
    std::vector<double> numbers;
    if (!status) {
        return status;
    }
    if (value.isArray || !numericElements(value, &numbers) || numbers.size() != 1) {
        return MStatus::kInvalidParameter;
    }
    result = static_cast<int>(numbers.front());
    return status;
}

MStatus MGlobal::executeCommand(const MString& command, double& result, bool displayEnabled,
                                bool undoEnabled) {
    CommandResult value;
    MStatus status = runForResult(command, displayEnabled, undoEnabled, &value);
    std::vector<double> numbers;
    if (!status) {
        return status;
    }
    if (value.isArray || !numericElements(value, &numbers) || numbers.size() != 1) {
        return MStatus::kInvalidParameter;
    }
    result = numbers.front();
    return status;
}

MStatus MGlobal::executeCommand(const MString& command, MIntArray& result, bool displayEnabled,
                                bool undoEnabled) {
    CommandResult value;
    MStatus status = runForResult(command, displayEnabled, undoEnabled, &value);
    std::vector<double> numbers;
    if (!status) {
        return status;
    }
    if (value.type != CommandResult::kNone && !numericElements(value, &numbers)) {
        return MStatus::kInvalidParameter;
    }
    MIntArray values;
    for (double number : numbers) {
        values.append(static_cast<int>(number));
    }
    result = values;
    return status;
}

MStatus MGlobal::executeCommand(const MString& command, MDoubleArray& result, bool displayEnabled,
                                bool undoEnabled) {
    CommandResult value;
    MStatus status = runForResult(command, displayEnabled, undoEnabled, &value);
    std::vector<double> numbers;
    if (!status) {
        return status;
    }
    if (value.type != CommandResult::kNone && !numericElements(value, &numbers)) {
        return MStatus::kInvalidParameter;
    }
    MDoubleArray values;
    for (double number : numbers) {
        values.append(number);
    }
    result = values;
    return status;
}

// A single value of any type reads as its text; an array does not fit one string.
MStatus MGlobal::executeCommand(const MString& command, MString& result, bool displayEnabled,
                                bool undoEnabled) {
    CommandResult value;
    MStatus status = runForResult(command, displayEnabled, undoEnabled, &value);
    if (!status) {
        return status;
    }
    if (value.isArray) {
        return MStatus::kInvalidParameter;
    }
    result = MString(value.text().c_str());
    return status;
}

MStatus MGlobal::executeCommand(const MString& command, MStringArray& result, bool displayEnabled,
                                bool undoEnabled) {
    CommandResult value;
    MStatus status = runForResult(command, displayEnabled, undoEnabled, &value);
    if (!status) {
        return status;
    }
    MStringArray values;
    for (const std::string& element : value.elementTexts()) {
        values.append(MString(element.c_str()));
    }
    result = values;
    return status;
}

void MGlobal::displayInfo(const MString& theMessage) {
    host::showMessage(host::MessageKind::kInfo, theMessage.asChar());
}

void MGlobal::displayWarning(const MString& theWarning) {
    host::showMessage(host::MessageKind::kWarning, theWarning.asChar());
}

void MGlobal::displayError(const MString& theError) {
    host::showMessage(host::MessageKind::kError, theError.asChar());
}
