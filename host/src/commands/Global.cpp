#include <host/Interface.h>
#include <host/Messages.h>
#include <maya/MGlobal.h>
#include <maya/MTypes.h>

#include <string>

#include "commands/CommandResult.h"
#include "core/MainThreadOnly.h"
#include "dg/ComputeScope.h"
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
    options.userStatements = false;
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

// Runs the command and, when it succeeds, hands its result to convert for the caller's type.
template <typename Convert>
MStatus runAndConvert(const MString& command, bool displayEnabled, bool undoEnabled,
                      Convert convert) {
    CommandResult value;
    MStatus status = runForResult(command, displayEnabled, undoEnabled, &value);
    return status ? convert(value) : status;
}

// A result that is one number, not an array of one.
MStatus runForNumber(const MString& command, bool displayEnabled, bool undoEnabled,
                     double* number) {
    return runAndConvert(command, displayEnabled, undoEnabled, [&](const CommandResult& value) {
        std::vector<double> numbers;
        if (value.isArray || !numericElements(value, &numbers) || numbers.size() != 1) {
            return MStatus(MStatus::kFailure);
        }
        *number = numbers.front();
        return MStatus(MStatus::kSuccess);
    });
}

// Any number of numbers; no result at all reads as none.
template <typename Element, typename Array>
MStatus runForNumbers(const MString& command, bool displayEnabled, bool undoEnabled,
                      Array& result) {
    return runAndConvert(command, displayEnabled, undoEnabled, [&](const CommandResult& value) {
        std::vector<double> numbers;
        if (value.type != CommandResult::kNone && !numericElements(value, &numbers)) {
            return MStatus(MStatus::kFailure);
        }
        Array values;
        for (double number : numbers) {
            values.append(static_cast<Element>(number));
        }
        result = values;
        return MStatus(MStatus::kSuccess);
    });
}

}  // namespace

MGlobal::MMayaState MGlobal::mayaState(MStatus* ReturnStatus) {
    HOST_MAIN_THREAD_ONLY();
    if (ReturnStatus) {
        *ReturnStatus = MStatus::kSuccess;
    }
    return host::interactiveSession() ? kInteractive : kBatch;
}

MString MGlobal::mayaVersion() {
    HOST_MAIN_THREAD_ONLY();
    return MString(std::to_string(MAYA_APP_VERSION).c_str());
}
int MGlobal::apiVersion() {
    HOST_MAIN_THREAD_ONLY();
    return MAYA_API_VERSION;
}

#if MAYA_API_VERSION >= 20230000
// The stand-in presents the full product.
MString MGlobal::mayaName() {
    HOST_MAIN_THREAD_ONLY();
    return "Maya";
}
MGlobal::MMayaFeatureSet MGlobal::mayaFeatureSet() {
    HOST_MAIN_THREAD_ONLY();
    return kComplete;
}
bool MGlobal::isInCrashHandler() {
    HOST_MAIN_THREAD_ONLY();
    return false;
}
#endif

MStatus MGlobal::executeCommand(const MString& command, bool displayEnabled, bool undoEnabled) {
    HOST_MAIN_THREAD_ONLY();
    host::dg::noteCommand(command);
    return runForResult(command, displayEnabled, undoEnabled, nullptr);
}

MStatus MGlobal::executeCommand(const MString& command, int& result, bool displayEnabled,
                                bool undoEnabled) {
    HOST_MAIN_THREAD_ONLY();
    host::dg::noteCommand(command);
    double number = 0.0;
    MStatus status = runForNumber(command, displayEnabled, undoEnabled, &number);
    if (status) {
        result = static_cast<int>(number);
    }
    return status;
}

MStatus MGlobal::executeCommand(const MString& command, double& result, bool displayEnabled,
                                bool undoEnabled) {
    HOST_MAIN_THREAD_ONLY();
    host::dg::noteCommand(command);
    return runForNumber(command, displayEnabled, undoEnabled, &result);
}

MStatus MGlobal::executeCommand(const MString& command, MIntArray& result, bool displayEnabled,
                                bool undoEnabled) {
    HOST_MAIN_THREAD_ONLY();
    host::dg::noteCommand(command);
    return runForNumbers<int>(command, displayEnabled, undoEnabled, result);
}

MStatus MGlobal::executeCommand(const MString& command, MDoubleArray& result, bool displayEnabled,
                                bool undoEnabled) {
    HOST_MAIN_THREAD_ONLY();
    host::dg::noteCommand(command);
    return runForNumbers<double>(command, displayEnabled, undoEnabled, result);
}

// A single value of any type reads as its text; an array does not fit one string.
MStatus MGlobal::executeCommand(const MString& command, MString& result, bool displayEnabled,
                                bool undoEnabled) {
    HOST_MAIN_THREAD_ONLY();
    host::dg::noteCommand(command);
    return runAndConvert(command, displayEnabled, undoEnabled, [&](const CommandResult& value) {
        if (value.isArray) {
            return MStatus(MStatus::kFailure);
        }
        result = MString(value.text().c_str());
        return MStatus(MStatus::kSuccess);
    });
}

MStatus MGlobal::executeCommand(const MString& command, MStringArray& result, bool displayEnabled,
                                bool undoEnabled) {
    HOST_MAIN_THREAD_ONLY();
    host::dg::noteCommand(command);
    return runAndConvert(command, displayEnabled, undoEnabled, [&](const CommandResult& value) {
        MStringArray values;
        for (const std::string& element : value.elementTexts()) {
            values.append(MString(element.c_str()));
        }
        result = values;
        return MStatus(MStatus::kSuccess);
    });
}

MString MGlobal::executeCommandStringResult(const MString& command, bool displayEnabled,
                                            bool undoEnabled, MStatus* ResultStatus) {
    HOST_MAIN_THREAD_ONLY();
    MString result;
    MStatus status = executeCommand(command, result, displayEnabled, undoEnabled);
    if (ResultStatus) {
        *ResultStatus = status;
    }
    return status ? result : MString();
}

void MGlobal::displayInfo(const MString& theMessage) {
    HOST_MAIN_THREAD_ONLY();
    host::showMessage(host::MessageKind::kInfo, theMessage.asChar());
}

void MGlobal::displayWarning(const MString& theWarning) {
    HOST_MAIN_THREAD_ONLY();
    host::showMessage(host::MessageKind::kWarning, theWarning.asChar());
}

void MGlobal::displayError(const MString& theError) {
    HOST_MAIN_THREAD_ONLY();
    host::showMessage(host::MessageKind::kError, theError.asChar());
}
