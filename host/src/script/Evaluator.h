#pragma once

#include <host/Commands.h>

#include "commands/CommandResult.h"
#include "script/CommandValues.h"
#include "script/ScriptError.h"
#include "script/Syntax.h"
#include "script/Value.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

// Walks the statement tree: variables and their scopes, procedures, calls of procedures,
// script functions and commands.
namespace host::script {

class Evaluator {
public:
    static Evaluator& instance();

    // Runs a whole script as one unit: its procedures are defined first, then its statements
    // run in order. Errors are shown; with keepGoing the statements after a failed one still
    // run. `last`/`lastResult` receive the last statement's outcome.
    MStatus runScript(const std::string& text, const ScriptOptions& options, CommandOutcome* last,
                      CommandResult* lastResult);

    // For script functions: run text or a file inside the running script; errors propagate.
    Value evaluateText(const std::string& text, int line);
    void sourceFile(const std::string& path, int line);
    bool procedureExists(const std::string& name) const;

private:
    struct Variable {
        Value::Type type = Value::kString;
        Value value;
    };
    using Scope = std::map<std::string, std::shared_ptr<Variable>>;
    struct SourceUnit;
    struct Callable {
        std::shared_ptr<const Procedure> procedure;
        std::shared_ptr<SourceUnit> unit;  // where its local procedures are found
    };
    struct SourceUnit {
        std::map<std::string, Callable> localProcedures;
    };
    struct Frame {
        std::vector<Scope> scopes;
        std::shared_ptr<SourceUnit> unit;
    };
    enum class Flow { kNext, kBreak, kContinue, kReturn };
    class FrameScope;
    class BlockScope;

    // Runs the statements of one unit in a new frame; the value of the last one is returned.
    Value runUnit(const std::vector<StatementPtr>& statements, int line);
    void defineProcedures(const std::vector<StatementPtr>& statements,
                          const std::shared_ptr<SourceUnit>& unit);
    void defineProcedure(const std::shared_ptr<const Procedure>& procedure,
                         const std::shared_ptr<SourceUnit>& unit);

    Flow execute(const Statement& statement);
    Flow executeBody(const StatementPtr& body);
    void declare(const Statement& statement);
    Flow executeFor(const Statement& statement);
    Flow executeForIn(const Statement& statement);

    Value evaluate(const Expression& expression);
    Value evaluateBinary(const Expression& expression);
    Value evaluateArray(const Expression& expression);
    Value assign(const Expression& expression);
    Value call(const Expression& expression);
    Value invoke(const std::string& name, const std::vector<ArgumentValue>& arguments, int line);
    Value callProcedure(const Callable& callable, const std::vector<ArgumentValue>& arguments,
                        int line);
    Value runCommand(const std::string& name, const std::vector<ArgumentValue>& arguments,
                     int line);
    const Callable* findProcedure(const std::string& name) const;

    std::shared_ptr<Variable> find(const std::string& name) const;
    std::shared_ptr<Variable> findOrFail(const std::string& name, int line) const;
    std::shared_ptr<Variable> declareLocal(const std::string& name, Value::Type type);

    std::map<std::string, Callable> globalProcedures_;
    std::map<std::string, std::shared_ptr<Variable>> globals_;
    std::vector<Frame> frames_;
    Scope topLevel_;  // the variables outermost scripts declare
    ScriptOptions options_;
    Value returnValue_;
    Value lastValue_;
};

}  // namespace host::script
