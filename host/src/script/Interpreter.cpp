#include "script/Interpreter.h"

#include "script/Evaluator.h"

#include <atomic>

namespace host {
namespace {

std::atomic<bool> quitFlag{false};

}  // namespace

namespace script {

MStatus run(const std::string& text, const ScriptOptions& options, CommandOutcome* last,
            CommandResult* lastResult) {
    return Evaluator::instance().runScript(text, options, last, lastResult);
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
