#pragma once

#include "script/Value.h"

#include <memory>
#include <string>
#include <vector>

// The tree the parser builds from a script and the evaluator walks.
namespace host::script {

struct Statement;
using StatementPtr = std::shared_ptr<const Statement>;
struct Expression;
using ExpressionPtr = std::shared_ptr<const Expression>;

// One argument of a call. In command syntax bare words and flags are kept as written; quoted
// strings, variables, `(expressions)` and `commands` are expressions.
struct Argument {
    enum Kind { kExpression, kWord, kFlag };
    Kind kind = kExpression;
    std::string text;  // kWord, kFlag (without '-')
    ExpressionPtr expression;
};

struct Expression {
    enum Kind {
        kLiteral,   // value
        kVariable,  // name
        kIndex,     // name[operands[0]]
        kUnary,     // op operands[0]: "-", "!"
        kBinary,    // operands[0] op operands[1]
        kArray,     // {operands...}
        kCall,      // name(arguments) or `name arguments` (command substitution)
        kAssign,    // name[index] op value: "=", "+=", "-=", "*=", "/=", "++", "--"
    };
    Kind kind = kLiteral;
    int line = 1;
    Value value;
    std::string name;
    std::string op;
    std::vector<ExpressionPtr> operands;
    std::vector<Argument> arguments;
    ExpressionPtr index;  // kAssign to an element
};

struct VariableDeclaration {
    std::string name;
    bool isArray = false;
    ExpressionPtr initial;  // may be null
};

struct Parameter {
    Value::Type type = Value::kString;
    std::string name;
};

struct Procedure {
    std::string name;
    bool isGlobal = false;
    Value::Type returnType = Value::kNone;
    std::vector<Parameter> parameters;
    StatementPtr body;
};

struct Statement {
    enum Kind {
        kBlock,        // body
        kExpression,   // expression; a command call when isCommand
        kDeclaration,  // [global] type declarations
        kIf,           // condition, body, orElse (may be null)
        kFor,          // initial; condition; step, body (each of the three may be null)
        kForIn,        // for ($name in condition) body
        kWhile,        // condition, body
        kReturn,       // expression (may be null)
        kBreak,
        kContinue,
        kProcedure,  // procedure
    };
    Kind kind = kBlock;
    int line = 1;
    std::vector<StatementPtr> body;
    ExpressionPtr expression;
    bool isCommand = false;
    bool isGlobal = false;
    Value::Type type = Value::kNone;
    std::vector<VariableDeclaration> declarations;
    ExpressionPtr condition;
    ExpressionPtr step;
    StatementPtr initial;
    StatementPtr orElse;
    std::string name;
    std::shared_ptr<const Procedure> procedure;
};

}  // namespace host::script
