#include <maya/MPxCommand.h>

#include <host/Messages.h>

#include "commands/CommandResult.h"

namespace {

using host::CommandResult;

// Makes the current result an array of `type` (converting a single value into one), or does
// nothing outside a command.
CommandResult* resultForAppend(CommandResult::Type type) {
    CommandResult* result = host::currentResult();
    if (!result) {
        return nullptr;
    }
    if (result->type != type) {
        *result = CommandResult();
        result->type = type;
    }
    result->isArray = true;
    return result;
}

CommandResult* resultForSet(CommandResult::Type type, bool isArray) {
    CommandResult* result = host::currentResult();
    if (result) {
        *result = CommandResult();
        result->type = type;
        result->isArray = isArray;
    }
    return result;
}

void setString(const MString& value) {
    if (CommandResult* result = resultForSet(CommandResult::kString, false)) {
        result->strings.push_back(value.asChar());
    }
}

void setInt(int value) {
    if (CommandResult* result = resultForSet(CommandResult::kInt, false)) {
        result->ints.push_back(value);
    }
}

void setDouble(double value) {
    if (CommandResult* result = resultForSet(CommandResult::kDouble, false)) {
        result->doubles.push_back(value);
    }
}

}  // namespace

MPxCommand::MPxCommand() = default;
MPxCommand::~MPxCommand() = default;

MStatus MPxCommand::undoIt() {
    return MStatus::kSuccess;
}
MStatus MPxCommand::redoIt() {
    return MStatus::kSuccess;
}
bool MPxCommand::isUndoable() const {
    return false;
}
bool MPxCommand::hasSyntax() const {
    return true;
}

MSyntax MPxCommand::syntax() const {
    return syntax_;
}
MString MPxCommand::commandString() const {
    return commandString_;
}
MStatus MPxCommand::setCommandString(const MString& text) {
    commandString_ = text;
    return MStatus::kSuccess;
}
bool MPxCommand::isHistoryOn() const {
    return historyOn_;
}

MStatus MPxCommand::setHistoryOn(bool state) {
    historyOn_ = state;
    return MStatus::kSuccess;
}

void MPxCommand::clearResult() {
    if (CommandResult* result = host::currentResult()) {
        *result = CommandResult();
    }
}

void MPxCommand::setResult(unsigned int result) {
    setInt(static_cast<int>(result));
}
void MPxCommand::setResult(int result) {
    setInt(result);
}
void MPxCommand::setResult(float result) {
    setDouble(result);
}
void MPxCommand::setResult(double result) {
    setDouble(result);
}
void MPxCommand::setResult(bool result) {
    setInt(result ? 1 : 0);
}
void MPxCommand::setResult(const char* result) {
    setString(MString(result));
}
void MPxCommand::setResult(const MString& result) {
    setString(result);
}

void MPxCommand::setResult(const MIntArray& result) {
    if (CommandResult* target = resultForSet(CommandResult::kInt, true)) {
        for (unsigned int i = 0; i < result.length(); ++i) {
            target->ints.push_back(result[i]);
        }
    }
}

void MPxCommand::setResult(const MDoubleArray& result) {
    if (CommandResult* target = resultForSet(CommandResult::kDouble, true)) {
        for (unsigned int i = 0; i < result.length(); ++i) {
            target->doubles.push_back(result[i]);
        }
    }
}

void MPxCommand::setResult(const MStringArray& result) {
    if (CommandResult* target = resultForSet(CommandResult::kString, true)) {
        for (unsigned int i = 0; i < result.length(); ++i) {
            target->strings.push_back(result[i].asChar());
        }
    }
}

void MPxCommand::appendToResult(int result) {
    if (CommandResult* target = resultForAppend(CommandResult::kInt)) {
        target->ints.push_back(result);
    }
}

void MPxCommand::appendToResult(double result) {
    if (CommandResult* target = resultForAppend(CommandResult::kDouble)) {
        target->doubles.push_back(result);
    }
}

void MPxCommand::appendToResult(bool result) {
    appendToResult(result ? 1 : 0);
}
void MPxCommand::appendToResult(const char* result) {
    appendToResult(MString(result));
}

void MPxCommand::appendToResult(const MString& result) {
    if (CommandResult* target = resultForAppend(CommandResult::kString)) {
        target->strings.push_back(result.asChar());
    }
}

void MPxCommand::appendToResult(const MStringArray& result) {
    for (unsigned int i = 0; i < result.length(); ++i) {
        appendToResult(result[i]);
    }
}

bool MPxCommand::isCurrentResultArray() {
    CommandResult* result = host::currentResult();
    return result && result->isArray;
}

MPxCommand::MResultType MPxCommand::currentResultType() {
    CommandResult* result = host::currentResult();
    switch (result ? result->type : CommandResult::kNone) {
        case CommandResult::kInt:
            return kLong;
        case CommandResult::kDouble:
            return kDouble;
        case CommandResult::kString:
            return kString;
        default:
            return kNoArg;
    }
}

int MPxCommand::currentIntResult(MStatus* ReturnStatus) {
    CommandResult* result = host::currentResult();
    bool ok = result && result->type == CommandResult::kInt && !result->isArray;
    if (ReturnStatus) {
        *ReturnStatus = ok ? MStatus::kSuccess : MStatus::kFailure;
    }
    return ok ? result->ints.front() : 0;
}

double MPxCommand::currentDoubleResult(MStatus* ReturnStatus) {
    CommandResult* result = host::currentResult();
    bool ok = result && result->type == CommandResult::kDouble && !result->isArray;
    if (ReturnStatus) {
        *ReturnStatus = ok ? MStatus::kSuccess : MStatus::kFailure;
    }
    return ok ? result->doubles.front() : 0.0;
}

MString MPxCommand::currentStringResult(MStatus* ReturnStatus) {
    CommandResult* result = host::currentResult();
    bool ok = result && result->type == CommandResult::kString && !result->isArray;
    if (ReturnStatus) {
        *ReturnStatus = ok ? MStatus::kSuccess : MStatus::kFailure;
    }
    return ok ? MString(result->strings.front().c_str()) : MString();
}

void MPxCommand::displayInfo(const MString& message) {
    host::showMessage(host::MessageKind::kInfo, message.asChar());
}

void MPxCommand::displayWarning(const MString& message, bool) {
    host::showMessage(host::MessageKind::kWarning, message.asChar());
}

void MPxCommand::displayError(const MString& message, bool) {
    host::showMessage(host::MessageKind::kError, message.asChar());
}
