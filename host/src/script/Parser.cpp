#include "script/Parser.h"

#include "script/Lexer.h"

#include <stdexcept>

namespace host::script {
namespace {

struct SyntaxError : std::runtime_error {
    SyntaxError(const std::string& message, int line) : std::runtime_error(message), line(line) {}
    int line;
};

bool isTypeName(const std::string& word) {
    return word == "string" || word == "int" || word == "float";
}

Value::Type scalarType(const std::string& word) {
    return word == "int" ? Value::kInt : word == "float" ? Value::kFloat : Value::kString;
}

// Binary operators by precedence, loosest first.
const std::vector<std::vector<std::string>> kBinaryLevels = {
    {"||"}, {"&&"}, {"==", "!="}, {"<", ">", "<=", ">="}, {"+", "-"}, {"*", "/", "%"}};

const char* const kConstants[][2] = {{"true", "1"}, {"false", "0"}, {"on", "1"},
                                     {"off", "0"},  {"yes", "1"},   {"no", "0"}};

std::string describe(const Token& token) {
    switch (token.kind) {
        case Token::kEnd:
            return "the end of the script";
        case Token::kString:
            return "\"" + token.text + "\"";
        case Token::kVariable:
            return "'$" + token.text + "'";
        default:
            return "'" + token.text + "'";
    }
}

class Parser {
public:
    explicit Parser(const std::string& text) : lexer_(text) {}

    ParseResult run() {
        ParseResult result;
        try {
            while (!atEnd()) {
                if (StatementPtr statement = parseStatement()) {
                    result.statements.push_back(statement);
                }
            }
            failOnLexError();
        } catch (const SyntaxError& error) {
            result.statements.clear();
            bool lexical = !lexer_.error().empty();
            result.error = lexical ? lexer_.error() : error.what();
            result.errorLine = lexical ? lexer_.errorLine() : error.line;
        }
        return result;
    }

private:
    bool atEnd() { return lexer_.peek().kind == Token::kEnd; }

    void failOnLexError() {
        if (!lexer_.error().empty()) {
            throw SyntaxError(lexer_.error(), lexer_.errorLine());
        }
    }

    bool isSymbol(const char* symbol) {
        const Token& token = lexer_.peek();
        return token.kind == Token::kSymbol && token.text == symbol;
    }
    bool isKeyword(const char* word) {
        const Token& token = lexer_.peek();
        return token.kind == Token::kIdentifier && token.text == word;
    }
    bool accept(const char* symbol) {
        if (isSymbol(symbol)) {
            lexer_.next();
            return true;
        }
        return false;
    }
    [[noreturn]] void unexpected(const std::string& wanted) {
        failOnLexError();
        const Token& token = lexer_.peek();
        throw SyntaxError("Syntax error: expected " + wanted + ", found " + describe(token),
                          token.line);
    }
    void expect(const char* symbol) {
        if (!accept(symbol)) {
            unexpected(std::string("'") + symbol + "'");
        }
    }
    std::string expectVariable() {
        if (lexer_.peek().kind != Token::kVariable) {
            unexpected("a variable");
        }
        return lexer_.next().text;
    }
    void endStatement() {
        if (!accept(";") && !isSymbol("}") && !atEnd()) {
            unexpected("';'");
        }
    }

    template <typename Fill>
    StatementPtr make(Statement::Kind kind, int line, Fill fill) {
        auto statement = std::make_shared<Statement>();
        statement->kind = kind;
        statement->line = line;
        fill(*statement);
        return statement;
    }

    // Null for an empty statement.
    StatementPtr parseStatement() {
        const Token token = lexer_.peek();
        if (accept(";")) {
            return nullptr;
        }
        if (accept("{")) {
            return parseBlockRest(token.line);
        }
        if (token.kind == Token::kIdentifier) {
            const std::string& word = token.text;
            if (word == "global" || word == "proc") {
                return parseGlobalOrProc();
            }
            if (isTypeName(word)) {
                return parseDeclaration(false);
            }
            if (word == "if") {
                return parseIf();
            }
            if (word == "for") {
                return parseFor();
            }
            if (word == "while") {
                return parseWhile();
            }
            if (word == "return") {
                return parseReturn();
            }
            if (word == "break" || word == "continue") {
                lexer_.next();
                endStatement();
                return make(word == "break" ? Statement::kBreak : Statement::kContinue, token.line,
                            [](Statement&) {});
            }
            if (!isCallStart()) {
                ExpressionPtr call = parseCommand();
                endStatement();
                return make(Statement::kExpression, token.line, [&](Statement& statement) {
                    statement.expression = call;
                    statement.isCommand = true;
                });
            }
        }
        ExpressionPtr expression = parseAssignmentOrExpression();
        endStatement();
        return make(Statement::kExpression, token.line,
                    [&](Statement& statement) { statement.expression = expression; });
    }

    StatementPtr parseBlockRest(int line) {
        std::vector<StatementPtr> body;
        while (!accept("}")) {
            if (atEnd()) {
                unexpected("'}'");
            }
            if (StatementPtr statement = parseStatement()) {
                body.push_back(statement);
            }
        }
        return make(Statement::kBlock, line, [&](Statement& statement) { statement.body = body; });
    }

    StatementPtr parseBody() {
        int line = lexer_.peek().line;
        StatementPtr body = parseStatement();
        return body ? body : make(Statement::kBlock, line, [](Statement&) {});
    }

    StatementPtr parseGlobalOrProc() {
        bool isGlobal = isKeyword("global");
        if (isGlobal) {
            lexer_.next();
        }
        if (isKeyword("proc")) {
            return parseProcedure(isGlobal);
        }
        if (!isGlobal || lexer_.peek().kind != Token::kIdentifier ||
            !isTypeName(lexer_.peek().text)) {
            unexpected("'proc' or a type");
        }
        return parseDeclaration(true);
    }

    // [global] type $a [= value], $b[] [= value], ...;
    StatementPtr parseDeclaration(bool isGlobal) {
        const Token typeToken = lexer_.next();
        std::vector<VariableDeclaration> declarations;
        do {
            VariableDeclaration declaration;
            declaration.name = expectVariable();
            if (accept("[")) {
                if (lexer_.peek().kind == Token::kNumber) {
                    lexer_.next();
                }
                expect("]");
                declaration.isArray = true;
            }
            if (accept("=")) {
                declaration.initial = parseExpression();
            }
            declarations.push_back(declaration);
        } while (accept(","));
        endStatement();
        return make(Statement::kDeclaration, typeToken.line, [&](Statement& statement) {
            statement.isGlobal = isGlobal;
            statement.type = scalarType(typeToken.text);
            statement.declarations = declarations;
        });
    }

    // proc [type[[]]] name([type $p[[]], ...]) { body }
    StatementPtr parseProcedure(bool isGlobal) {
        int line = lexer_.next().line;
        auto procedure = std::make_shared<Procedure>();
        procedure->isGlobal = isGlobal;
        if (lexer_.peek().kind == Token::kIdentifier && isTypeName(lexer_.peek().text)) {
            procedure->returnType = parseType();
        }
        if (lexer_.peek().kind != Token::kIdentifier) {
            unexpected("a procedure name");
        }
        procedure->name = lexer_.next().text;
        expect("(");
        if (!accept(")")) {
            do {
                if (lexer_.peek().kind != Token::kIdentifier || !isTypeName(lexer_.peek().text)) {
                    unexpected("a parameter type");
                }
                Parameter parameter;
                parameter.type = scalarType(lexer_.next().text);
                parameter.name = expectVariable();
                if (accept("[")) {
                    expect("]");
                    parameter.type = Value::arrayType(parameter.type);
                }
                procedure->parameters.push_back(parameter);
            } while (accept(","));
            expect(")");
        }
        int bodyLine = lexer_.peek().line;
        expect("{");
        procedure->body = parseBlockRest(bodyLine);
        return make(Statement::kProcedure, line,
                    [&](Statement& statement) { statement.procedure = procedure; });
    }

    Value::Type parseType() {
        Value::Type type = scalarType(lexer_.next().text);
        if (accept("[")) {
            expect("]");
            type = Value::arrayType(type);
        }
        return type;
    }

    StatementPtr parseIf() {
        int line = lexer_.next().line;
        expect("(");
        ExpressionPtr condition = parseExpression();
        expect(")");
        StatementPtr body = parseBody();
        StatementPtr orElse;
        if (isKeyword("else")) {
            lexer_.next();
            orElse = parseBody();
        }
        return make(Statement::kIf, line, [&](Statement& statement) {
            statement.condition = condition;
            statement.body = {body};
            statement.orElse = orElse;
        });
    }

    // for (init; condition; step) body  or  for ($name in list) body
    StatementPtr parseFor() {
        int line = lexer_.next().line;
        expect("(");
        const Lexer::Mark mark = lexer_.mark();
        if (lexer_.peek().kind == Token::kVariable) {
            std::string name = lexer_.next().text;
            if (isKeyword("in")) {
                lexer_.next();
                ExpressionPtr list = parseExpression();
                expect(")");
                StatementPtr body = parseBody();
                return make(Statement::kForIn, line, [&](Statement& statement) {
                    statement.name = name;
                    statement.condition = list;
                    statement.body = {body};
                });
            }
            lexer_.reset(mark);
        }
        StatementPtr initial;
        if (!isSymbol(";")) {
            int initialLine = lexer_.peek().line;
            ExpressionPtr expression = parseAssignmentOrExpression();
            initial = make(Statement::kExpression, initialLine,
                           [&](Statement& statement) { statement.expression = expression; });
        }
        expect(";");
        ExpressionPtr condition = isSymbol(";") ? nullptr : parseExpression();
        expect(";");
        ExpressionPtr step = isSymbol(")") ? nullptr : parseAssignmentOrExpression();
        expect(")");
        StatementPtr body = parseBody();
        return make(Statement::kFor, line, [&](Statement& statement) {
            statement.initial = initial;
            statement.condition = condition;
            statement.step = step;
            statement.body = {body};
        });
    }

    StatementPtr parseWhile() {
        int line = lexer_.next().line;
        expect("(");
        ExpressionPtr condition = parseExpression();
        expect(")");
        StatementPtr body = parseBody();
        return make(Statement::kWhile, line, [&](Statement& statement) {
            statement.condition = condition;
            statement.body = {body};
        });
    }

    StatementPtr parseReturn() {
        int line = lexer_.next().line;
        ExpressionPtr value;
        if (!isSymbol(";") && !isSymbol("}") && !atEnd()) {
            value = parseExpression();
        }
        endStatement();
        return make(Statement::kReturn, line,
                    [&](Statement& statement) { statement.expression = value; });
    }

    // An identifier directly followed by '(' is a call in function syntax: name(a, b).
    bool isCallStart() {
        const Lexer::Mark mark = lexer_.mark();
        lexer_.next();
        bool call = isSymbol("(") && !lexer_.peek().spaceBefore;
        lexer_.reset(mark);
        return call;
    }

    std::shared_ptr<Expression> makeExpression(Expression::Kind kind, int line) {
        auto expression = std::make_shared<Expression>();
        expression->kind = kind;
        expression->line = line;
        return expression;
    }

    // name word -flag "string" $variable (expression) `command` {array} ...
    ExpressionPtr parseCommand() {
        const Token name = lexer_.next();
        auto call = makeExpression(Expression::kCall, name.line);
        call->name = name.text;
        while (true) {
            const Token& token = lexer_.peek();
            // A backtick ends the command inside `...`, and starts one anywhere else.
            const bool closing = token.text == ";" || token.text == "}" || token.text == ")" ||
                                 (token.text == "`" && inSubstitution_);
            if (token.kind == Token::kEnd || (token.kind == Token::kSymbol && closing)) {
                break;
            }
            Argument argument;
            if (token.kind == Token::kString || token.kind == Token::kVariable ||
                (token.kind == Token::kSymbol && (token.text == "(" || token.text == "{"))) {
                argument.expression = parsePostfix();
            } else if (token.kind == Token::kSymbol && token.text == "`") {
                argument.expression = parsePrimary();
            } else {
                std::string word = lexer_.nextWord().text;
                double number = 0.0;
                if (word.size() > 1 && word[0] == '-' && !parseNumber(word, &number)) {
                    argument.kind = Argument::kFlag;
                    argument.text = word.substr(1);
                } else {
                    argument.kind = Argument::kWord;
                    argument.text = word;
                }
            }
            call->arguments.push_back(argument);
        }
        return call;
    }

    ExpressionPtr parseAssignmentOrExpression() {
        const Token token = lexer_.peek();
        if (token.kind == Token::kVariable) {
            const Lexer::Mark mark = lexer_.mark();
            lexer_.next();
            ExpressionPtr index;
            if (accept("[")) {
                index = parseExpression();
                expect("]");
            }
            for (const char* op : {"=", "+=", "-=", "*=", "/=", "++", "--"}) {
                if (accept(op)) {
                    auto assign = makeExpression(Expression::kAssign, token.line);
                    assign->name = token.text;
                    assign->op = op;
                    assign->index = index;
                    if (assign->op != "++" && assign->op != "--") {
                        assign->operands.push_back(parseExpression());
                    }
                    return assign;
                }
            }
            lexer_.reset(mark);
        }
        return parseExpression();
    }

    ExpressionPtr parseExpression() { return parseBinary(0); }

    ExpressionPtr parseBinary(std::size_t level) {
        if (level == kBinaryLevels.size()) {
            return parseUnary();
        }
        ExpressionPtr left = parseBinary(level + 1);
        while (true) {
            const Token& token = lexer_.peek();
            bool matched = false;
            for (const std::string& op : kBinaryLevels[level]) {
                matched = matched || (token.kind == Token::kSymbol && token.text == op);
            }
            if (!matched) {
                return left;
            }
            const Token op = lexer_.next();
            auto binary = makeExpression(Expression::kBinary, op.line);
            binary->op = op.text;
            binary->operands = {left, parseBinary(level + 1)};
            left = binary;
        }
    }

    ExpressionPtr parseUnary() {
        const Token& token = lexer_.peek();
        if (token.kind == Token::kSymbol && (token.text == "-" || token.text == "!")) {
            const Token op = lexer_.next();
            auto unary = makeExpression(Expression::kUnary, op.line);
            unary->op = op.text;
            unary->operands = {parseUnary()};
            return unary;
        }
        return parsePostfix();
    }

    ExpressionPtr parsePostfix() {
        ExpressionPtr primary = parsePrimary();
        while (primary->kind == Expression::kVariable && isSymbol("[")) {
            lexer_.next();
            auto index = makeExpression(Expression::kIndex, primary->line);
            index->name = primary->name;
            index->operands = {parseExpression()};
            expect("]");
            primary = index;
        }
        return primary;
    }

    ExpressionPtr parsePrimary() {
        const Token token = lexer_.peek();
        switch (token.kind) {
            case Token::kNumber: {
                lexer_.next();
                auto literal = makeExpression(Expression::kLiteral, token.line);
                bool whole = token.text.find_first_of(".eE") == std::string::npos;
                literal->value = whole ? Value::ofInt(static_cast<long long>(token.number))
                                       : Value::ofFloat(token.number);
                return literal;
            }
            case Token::kString: {
                lexer_.next();
                auto literal = makeExpression(Expression::kLiteral, token.line);
                literal->value = Value::ofString(token.text);
                return literal;
            }
            case Token::kVariable: {
                lexer_.next();
                auto variable = makeExpression(Expression::kVariable, token.line);
                variable->name = token.text;
                return variable;
            }
            case Token::kIdentifier:
                return parseIdentifier();
            default:
                break;
        }
        if (accept("(")) {
            ExpressionPtr inner = parseExpression();
            expect(")");
            return inner;
        }
        if (!inSubstitution_ && accept("`")) {
            if (lexer_.peek().kind != Token::kIdentifier) {
                unexpected("a command name");
            }
            inSubstitution_ = true;
            ExpressionPtr call = parseCommand();
            inSubstitution_ = false;
            expect("`");
            return call;
        }
        if (accept("{")) {
            auto array = makeExpression(Expression::kArray, token.line);
            if (!accept("}")) {
                do {
                    array->operands.push_back(parseExpression());
                } while (accept(","));
                expect("}");
            }
            return array;
        }
        unexpected("a value");
    }

    // A call name(a, b), or one of the constants true, false, on, off, yes, no.
    ExpressionPtr parseIdentifier() {
        const Token token = lexer_.next();
        if (isSymbol("(") && !lexer_.peek().spaceBefore) {
            lexer_.next();
            auto call = makeExpression(Expression::kCall, token.line);
            call->name = token.text;
            if (!accept(")")) {
                do {
                    Argument argument;
                    argument.expression = parseExpression();
                    call->arguments.push_back(argument);
                } while (accept(","));
                expect(")");
            }
            return call;
        }
        for (const auto& constant : kConstants) {
            if (token.text == constant[0]) {
                auto literal = makeExpression(Expression::kLiteral, token.line);
                literal->value = Value::ofInt(constant[1][0] - '0');
                return literal;
            }
        }
        throw SyntaxError("Syntax error: '" + token.text +
                              "' is not a value (a variable needs '$', a call needs '(')",
                          token.line);
    }

    Lexer lexer_;
    bool inSubstitution_ = false;  // inside `command`, which cannot hold another
};

}  // namespace

ParseResult parseScript(const std::string& text) {
    return Parser(text).run();
}

}  // namespace host::script
