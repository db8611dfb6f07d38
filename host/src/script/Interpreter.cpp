#include "script/Interpreter.h"

#include <host/Messages.h>

#include "commands/CommandTable.h"
#include "script/Parser.h"

#include <atomic>
#include <iostream>

namespace host {
namespace {

std::atomic<bool> quitFlag{false};

}  // namespace

namespace script {

MStatus run(const std::string& text, const ScriptOptions& options, CommandOutcome* last,
            CommandResult* lastResult) {
    ParseResult parsed = parseScript(text);
    if (!parsed.error.empty()) {
        showMessage(MessageKind::kError,
                    "line " + std::to_string(parsed.errorLine) + ": " + parsed.error);
        if (last) {
            *last = {MStatus::kFailure, ""};
        }
        return MStatus::kFailure;
    }
    MStatus status = MStatus::kSuccess;
    for (const Statement& statement : parsed.statements) {
        if (quitFlag) {
            break;
        }
        CommandResult result;
        CommandOutcome outcome = invokeCommand(statement.command, statement.args, statement.text,
                                               options.recordUndo, &result);
        if (options.echoResults && outcome.status && !outcome.resultText.empty()) {
            std::cout << "// Result: " << outcome.resultText << " //" << std::endl;
        }
        if (last) {
            *last = outcome;
        }
        if (lastResult) {
            *lastResult = result;
        }
        if (!outcome.status) {
            status = MStatus::kFailure;
            if (!options.keepGoing) {
                break;
            }
        }
    }
    return status;
}

}  // namespace script

MStatus runScript(const std::string& text, bool keepGoing, bool echoResults) {
    ScriptOptions options;
    options.keepGoing = keepGoing;
    options.echoResults = echoResults;
    return script::run(text, options, nullptr, nullptr);
}

MStatus runScript(const std::string& text, const ScriptOptions& options, CommandOutcome* last) {
    return script::run(text, options, last, nullptr);
}

bool quitRequested() {
    return quitFlag;
}
void requestQuit() {
    quitFlag = true;
}
void clearQuitRequest() {
    quitFlag = false;
}

}  // namespace host
