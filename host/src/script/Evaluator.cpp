#include "script/Evaluator.h"

#include <host/IdleQueue.h>
#include <host/Messages.h>

#include "commands/CommandTable.h"
#include "script/CommandValues.h"
#include "script/Operators.h"
#include "script/Parser.h"
#include "script/ScriptFunctions.h"
#include "script/ScriptPath.h"

#include <iostream>

namespace host::script {
namespace {

// Deep enough for any real script, shallow enough to stop a runaway recursion cleanly.
const std::size_t kMaxCallDepth = 500;

ScriptError conversionError(const Value& value, Value::Type type, int line) {
    return ScriptError(std::string("Cannot convert data of type ") + Value::typeName(value.type()) +
                           " to type " + Value::typeName(type),
                       line);
}

Value converted(const Value& value, Value::Type type, int line) {
    Value result;
    if (!value.convertTo(type, &result)) {
        throw conversionError(value, type, line);
    }
    return result;
}

}  // namespace

// A procedure call or a sourced unit: a fresh set of scopes, removed however the call ends.
class Evaluator::FrameScope {
public:
    FrameScope(Evaluator& evaluator, std::shared_ptr<SourceUnit> unit, int line)
        : evaluator_(evaluator) {
        if (evaluator.frames_.size() >= kMaxCallDepth) {
            throw ScriptError("Procedure calls nested too deeply", line);
        }
        evaluator.frames_.push_back({{Scope()}, std::move(unit)});
    }
    ~FrameScope() { evaluator_.frames_.pop_back(); }
    FrameScope(const FrameScope&) = delete;
    FrameScope& operator=(const FrameScope&) = delete;

private:
    Evaluator& evaluator_;
};

// A { } block: variables declared in it end with it.
class Evaluator::BlockScope {
public:
    explicit BlockScope(Evaluator& evaluator) : evaluator_(evaluator) {
        evaluator.frames_.back().scopes.emplace_back();
    }
    ~BlockScope() { evaluator_.frames_.back().scopes.pop_back(); }
    BlockScope(const BlockScope&) = delete;
    BlockScope& operator=(const BlockScope&) = delete;

private:
    Evaluator& evaluator_;
};

Evaluator& Evaluator::instance() {
    static Evaluator evaluator;
    return evaluator;
}

MStatus Evaluator::runScript(const std::string& text, const ScriptOptions& options,
                             CommandOutcome* last, CommandResult* lastResult) {
    ParseResult parsed = parseScript(text);
    if (!parsed.error.empty()) {
        showMessage(MessageKind::kError,
                    "line " + std::to_string(parsed.errorLine) + ": " + parsed.error);
        if (last) {
            *last = {MStatus::kFailure, ""};
        }
        return MStatus::kFailure;
    }
    if (frames_.size() >= kMaxCallDepth) {
        showMessage(MessageKind::kError, "Scripts nested too deeply");
        return MStatus::kFailure;
    }
    // Scripts run inside commands (a plug-in's query) keep their own options.
    const ScriptOptions outerOptions = options_;
    options_ = options;
    // Variables of an outermost script stay for the next one, as typed lines at a prompt do.
    const bool outermost = frames_.empty();
    auto unit = std::make_shared<SourceUnit>();
    FrameScope frame(*this, unit, 0);
    if (outermost) {
        frames_.back().scopes.front() = topLevel_;
    }
    defineProcedures(parsed.statements, unit);
    MStatus status = MStatus::kSuccess;
    for (const StatementPtr& statement : parsed.statements) {
        if (quitRequested()) {
            break;
        }
        CommandOutcome outcome;
        Value value;
        try {
            lastValue_ = Value();
            if (execute(*statement) != Flow::kNext) {
                throw ScriptError("'return', 'break' or 'continue' outside a procedure or loop",
                                  statement->line);
            }
            value = lastValue_;
            outcome.resultText = resultOfValue(value).text();
        } catch (const ScriptError& error) {
            if (!error.shown) {
                showMessage(MessageKind::kError,
                            "line " + std::to_string(error.line) + ": " + error.what());
            }
            outcome.status = MStatus::kFailure;
            status = MStatus::kFailure;
        }
        if (options_.echoResults && outcome.status && !outcome.resultText.empty()) {
            std::cout << "// Result: " << outcome.resultText << " //" << std::endl;
        }
        if (last) {
            *last = outcome;
        }
        if (lastResult) {
            *lastResult = resultOfValue(value);
        }
        if (outermost && options_.userStatements && !quitRequested() && idleEventsProcessed()) {
            runIdleQueue();
        }
        if (!outcome.status && !options_.keepGoing) {
            break;
        }
    }
    if (outermost) {
        topLevel_ = frames_.back().scopes.front();
    }
    options_ = outerOptions;
    return status;
}

Value Evaluator::evaluateText(const std::string& text, int line) {
    ParseResult parsed = parseScript(text);
    if (!parsed.error.empty()) {
        throw ScriptError(
            parsed.error + " (line " + std::to_string(parsed.errorLine) + " of the evaluated text)",
            line);
    }
    return runUnit(parsed.statements, line);
}

void Evaluator::sourceFile(const std::string& name, int line) {
    std::string path = findScriptFile(name);
    std::string text;
    if (path.empty() || !readScriptFile(path, &text)) {
        throw ScriptError("Cannot find file \"" + name + "\" for source statement", line);
    }
    ParseResult parsed = parseScript(text);
    if (!parsed.error.empty()) {
        throw ScriptError(path + " line " + std::to_string(parsed.errorLine) + ": " + parsed.error,
                          line);
    }
    runUnit(parsed.statements, line);
}

Value Evaluator::runUnit(const std::vector<StatementPtr>& statements, int line) {
    auto unit = std::make_shared<SourceUnit>();
    FrameScope frame(*this, unit, line);
    defineProcedures(statements, unit);
    Value value;
    for (const StatementPtr& statement : statements) {
        lastValue_ = Value();
        if (execute(*statement) != Flow::kNext) {
            throw ScriptError("'return', 'break' or 'continue' outside a procedure or loop",
                              statement->line);
        }
        value = lastValue_;
    }
    return value;
}

// Procedures are known from the start of their file, wherever in it they are written.
void Evaluator::defineProcedures(const std::vector<StatementPtr>& statements,
                                 const std::shared_ptr<SourceUnit>& unit) {
    for (const StatementPtr& statement : statements) {
        if (statement->kind == Statement::kProcedure) {
            defineProcedure(statement->procedure, unit);
        }
    }
}

void Evaluator::defineProcedure(const std::shared_ptr<const Procedure>& procedure,
                                const std::shared_ptr<SourceUnit>& unit) {
    Callable callable{procedure, unit};
    if (procedure->isGlobal) {
        globalProcedures_[procedure->name] = callable;
    } else {
        unit->localProcedures[procedure->name] = callable;
    }
}

bool Evaluator::procedureExists(const std::string& name) const {
    return findProcedure(name) != nullptr;
}

const Evaluator::Callable* Evaluator::findProcedure(const std::string& name) const {
    if (!frames_.empty()) {
        const auto& local = frames_.back().unit->localProcedures;
        auto found = local.find(name);
        if (found != local.end()) {
            return &found->second;
        }
    }
    auto found = globalProcedures_.find(name);
    return found == globalProcedures_.end() ? nullptr : &found->second;
}

Evaluator::Flow Evaluator::execute(const Statement& statement) {
    switch (statement.kind) {
        case Statement::kBlock: {
            BlockScope block(*this);
            for (const StatementPtr& inner : statement.body) {
                Flow flow = execute(*inner);
                if (flow != Flow::kNext) {
                    return flow;
                }
            }
            return Flow::kNext;
        }
        case Statement::kExpression: {
            Value value = evaluate(*statement.expression);
            lastValue_ = statement.expression->kind == Expression::kAssign ? Value() : value;
            return Flow::kNext;
        }
        case Statement::kDeclaration:
            declare(statement);
            return Flow::kNext;
        case Statement::kIf:
            if (evaluate(*statement.condition).isTrue()) {
                return executeBody(statement.body.front());
            }
            return statement.orElse ? executeBody(statement.orElse) : Flow::kNext;
        case Statement::kFor:
            return executeFor(statement);
        case Statement::kForIn:
            return executeForIn(statement);
        case Statement::kWhile:
            while (evaluate(*statement.condition).isTrue()) {
                Flow flow = executeBody(statement.body.front());
                if (flow == Flow::kBreak) {
                    break;
                }
                if (flow == Flow::kReturn) {
                    return flow;
                }
            }
            return Flow::kNext;
        case Statement::kReturn:
            returnValue_ = statement.expression ? evaluate(*statement.expression) : Value();
            return Flow::kReturn;
        case Statement::kBreak:
            return Flow::kBreak;
        case Statement::kContinue:
            return Flow::kContinue;
        case Statement::kProcedure:
            defineProcedure(statement.procedure, frames_.back().unit);
            return Flow::kNext;
    }
    return Flow::kNext;
}

Evaluator::Flow Evaluator::executeBody(const StatementPtr& body) {
    BlockScope block(*this);
    return execute(*body);
}

void Evaluator::declare(const Statement& statement) {
    for (const VariableDeclaration& declaration : statement.declarations) {
        Value::Type type = declaration.isArray ? Value::arrayType(statement.type) : statement.type;
        std::shared_ptr<Variable> variable;
        if (statement.isGlobal) {
            std::shared_ptr<Variable>& global = globals_[declaration.name];
            if (!global) {
                global = std::make_shared<Variable>(Variable{type, Value::empty(type)});
            } else if (global->type != type) {
                throw ScriptError("$" + declaration.name + " is already a global " +
                                      Value::typeName(global->type),
                                  statement.line);
            }
            frames_.back().scopes.back()[declaration.name] = global;
            variable = global;
        } else {
            variable = declareLocal(declaration.name, type);
        }
        if (declaration.initial) {
            variable->value = converted(evaluate(*declaration.initial), type, statement.line);
        }
    }
}

Evaluator::Flow Evaluator::executeFor(const Statement& statement) {
    BlockScope loop(*this);
    if (statement.initial) {
        execute(*statement.initial);
    }
    while (!statement.condition || evaluate(*statement.condition).isTrue()) {
        Flow flow = executeBody(statement.body.front());
        if (flow == Flow::kBreak) {
            break;
        }
        if (flow == Flow::kReturn) {
            return flow;
        }
        if (statement.step) {
            evaluate(*statement.step);
        }
    }
    return Flow::kNext;
}

Evaluator::Flow Evaluator::executeForIn(const Statement& statement) {
    Value list = evaluate(*statement.condition);
    if (!list.isArray()) {
        throw ScriptError("for-in needs an array", statement.line);
    }
    std::shared_ptr<Variable> variable = find(statement.name);
    if (!variable) {
        variable = declareLocal(statement.name, Value::elementType(list.type()));
    }
    for (const Value& element : list.elements()) {
        variable->value = converted(element, variable->type, statement.line);
        Flow flow = executeBody(statement.body.front());
        if (flow == Flow::kBreak) {
            break;
        }
        if (flow == Flow::kReturn) {
            return flow;
        }
    }
    return Flow::kNext;
}

Value Evaluator::evaluate(const Expression& expression) {
    switch (expression.kind) {
        case Expression::kLiteral:
            return expression.value;
        case Expression::kVariable:
            return findOrFail(expression.name, expression.line)->value;
        case Expression::kIndex: {
            const Value& array = findOrFail(expression.name, expression.line)->value;
            if (!array.isArray()) {
                throw ScriptError("$" + expression.name + " is not an array", expression.line);
            }
            long long index = evaluate(*expression.operands[0]).asInt();
            if (index < 0) {
                throw ScriptError("Array index out of bounds", expression.line);
            }
            return array.element(static_cast<std::size_t>(index));
        }
        case Expression::kUnary: {
            Value operand = evaluate(*expression.operands[0]);
            if (expression.op == "!") {
                return Value::ofInt(operand.isTrue() ? 0 : 1);
            }
            return operand.type() == Value::kInt ? Value::ofInt(-operand.asInt())
                                                 : Value::ofFloat(-operand.asFloat());
        }
        case Expression::kBinary:
            return evaluateBinary(expression);
        case Expression::kArray:
            return evaluateArray(expression);
        case Expression::kCall:
            return call(expression);
        case Expression::kAssign:
            return assign(expression);
    }
    return Value();
}

Value Evaluator::evaluateBinary(const Expression& expression) {
    const std::string& op = expression.op;
    Value left = evaluate(*expression.operands[0]);
    if (op == "&&" || op == "||") {
        bool decided = op == "&&" ? !left.isTrue() : left.isTrue();
        if (decided) {
            return Value::ofInt(op == "||" ? 1 : 0);
        }
        return Value::ofInt(evaluate(*expression.operands[1]).isTrue() ? 1 : 0);
    }
    return binaryOperation(op, left, evaluate(*expression.operands[1]), expression.line);
}

// {1, 2} is an int array, {1, 2.5} a float array, and any string makes a string array.
Value Evaluator::evaluateArray(const Expression& expression) {
    std::vector<Value> elements;
    Value::Type element = Value::kInt;
    for (const ExpressionPtr& operand : expression.operands) {
        Value value = evaluate(*operand);
        if (value.isArray()) {
            throw ScriptError("An array cannot hold arrays", expression.line);
        }
        if (value.type() == Value::kString) {
            element = Value::kString;
        } else if (value.type() == Value::kFloat && element == Value::kInt) {
            element = Value::kFloat;
        }
        elements.push_back(value);
    }
    Value array = Value::empty(Value::arrayType(element));
    for (const Value& value : elements) {
        array.append(value);
    }
    return array;
}

Value Evaluator::assign(const Expression& expression) {
    std::shared_ptr<Variable> variable = find(expression.name);
    const std::string& op = expression.op;
    Value operand;
    if (!expression.operands.empty()) {
        operand = evaluate(*expression.operands[0]);
    }
    if (!variable) {
        if (op != "=") {
            throw ScriptError("Undeclared variable $" + expression.name, expression.line);
        }
        // A first assignment declares the variable with the value's type.
        Value::Type type = expression.index ? Value::arrayType(operand.type()) : operand.type();
        variable = declareLocal(expression.name, type);
    }
    Value current = variable->value;
    std::size_t index = 0;
    if (expression.index) {
        if (!current.isArray()) {
            throw ScriptError("$" + expression.name + " is not an array", expression.line);
        }
        long long position = evaluate(*expression.index).asInt();
        if (position < 0) {
            throw ScriptError("Array index out of bounds", expression.line);
        }
        index = static_cast<std::size_t>(position);
        current = current.element(index);
    }
    Value result = operand;
    if (op != "=") {
        const bool step = op == "++" || op == "--";
        result = binaryOperation(op.substr(0, 1), current, step ? Value::ofInt(1) : operand,
                                 expression.line);
    }
    if (expression.index) {
        variable->value.setElement(index, result);
        return variable->value.element(index);
    }
    variable->value = converted(result, variable->type, expression.line);
    return variable->value;
}

Value Evaluator::call(const Expression& expression) {
    std::vector<ArgumentValue> arguments;
    for (const Argument& argument : expression.arguments) {
        ArgumentValue value;
        if (argument.kind == Argument::kExpression) {
            value.value = evaluate(*argument.expression);
        } else {
            value.kind =
                argument.kind == Argument::kFlag ? ArgumentValue::kFlag : ArgumentValue::kWord;
            value.value =
                Value::ofString((argument.kind == Argument::kFlag ? "-" : "") + argument.text);
        }
        arguments.push_back(value);
    }
    return invoke(expression.name, arguments, expression.line);
}

// Procedures first, then the language's own functions, then commands; a name known as none
// of them is looked for as <name>.mel on the script path, as Maya does.
Value Evaluator::invoke(const std::string& name, const std::vector<ArgumentValue>& arguments,
                        int line) {
    if (const Callable* procedure = findProcedure(name)) {
        return callProcedure(*procedure, arguments, line);
    }
    if (ScriptFunction function = findScriptFunction(name)) {
        std::vector<Value> values;
        for (const ArgumentValue& argument : arguments) {
            values.push_back(argument.value);
        }
        return function(*this, values, line);
    }
    if (!commandExists(name) && !findScriptFile(name + ".mel").empty()) {
        sourceFile(name + ".mel", line);
        if (const Callable* procedure = findProcedure(name)) {
            return callProcedure(*procedure, arguments, line);
        }
    }
    return runCommand(name, arguments, line);
}

Value Evaluator::callProcedure(const Callable& callable,
                               const std::vector<ArgumentValue>& arguments, int line) {
    const Procedure& procedure = *callable.procedure;
    if (arguments.size() != procedure.parameters.size()) {
        throw ScriptError("Wrong number of arguments on call to " + procedure.name, line);
    }
    std::vector<Value> values;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        values.push_back(converted(arguments[i].value, procedure.parameters[i].type, line));
    }
    std::shared_ptr<const Procedure> keepAlive = callable.procedure;
    FrameScope frame(*this, callable.unit, line);
    for (std::size_t i = 0; i < values.size(); ++i) {
        declareLocal(procedure.parameters[i].name, procedure.parameters[i].type)->value = values[i];
    }
    returnValue_ = Value();
    Flow flow = execute(*procedure.body);
    if (flow == Flow::kBreak || flow == Flow::kContinue) {
        throw ScriptError("'break' or 'continue' outside a loop in " + procedure.name, line);
    }
    Value result = flow == Flow::kReturn ? returnValue_ : Value();
    if (procedure.returnType == Value::kNone) {
        return Value();
    }
    return converted(result, procedure.returnType, line);
}

Value Evaluator::runCommand(const std::string& name, const std::vector<ArgumentValue>& arguments,
                            int line) {
    MArgList args;
    std::string text = name;
    for (const ArgumentValue& argument : arguments) {
        appendCommandWords(argument, args, text);
    }
    CommandResult result;
    CommandOutcome outcome = invokeCommand(name, args, text, options_.recordUndo, &result);
    if (!outcome.status) {
        throw ScriptError("", line, true);
    }
    return valueOfResult(result);
}

std::shared_ptr<Evaluator::Variable> Evaluator::find(const std::string& name) const {
    const std::vector<Scope>& scopes = frames_.back().scopes;
    for (auto scope = scopes.rbegin(); scope != scopes.rend(); ++scope) {
        auto found = scope->find(name);
        if (found != scope->end()) {
            return found->second;
        }
    }
    return nullptr;
}

std::shared_ptr<Evaluator::Variable> Evaluator::findOrFail(const std::string& name,
                                                           int line) const {
    std::shared_ptr<Variable> variable = find(name);
    if (!variable) {
        throw ScriptError("Undeclared variable $" + name, line);
    }
    return variable;
}

std::shared_ptr<Evaluator::Variable> Evaluator::declareLocal(const std::string& name,
                                                             Value::Type type) {
    auto variable = std::make_shared<Variable>(Variable{type, Value::empty(type)});
    frames_.back().scopes.back()[name] = variable;
    return variable;
}

}  // namespace host::script
