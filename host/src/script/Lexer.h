#pragma once

#include <cstddef>
#include <string>

// Reads a script a token at a time. Script text has two syntaxes: expressions (`$a + 1`,
// `size($list)`) and command words (`setAttr node.file -type "string" /a/b.mov`), so the parser
// asks for the next token or, where a command takes a bare word, for the next word.
namespace host::script {

struct Token {
    enum Kind { kIdentifier, kNumber, kString, kVariable, kSymbol, kEnd };
    Kind kind = kEnd;
    std::string text;  // strings unescaped, variables without '$'
    double number = 0.0;
    int line = 1;
    bool spaceBefore = false;  // whitespace or a comment separates it from what came before
    std::size_t start = 0;     // offset in the text
};

class Lexer {
public:
    explicit Lexer(const std::string& text);

    // The next token without taking it.
    const Token& peek();
    Token next();
    // A bare command word starting where the next token starts: everything up to whitespace,
    // ';', a quote, a backtick, a parenthesis or a brace.
    Token nextWord();

    // Where the scan stands, to come back to after looking further ahead.
    struct Mark {
        std::size_t pos = 0;
        int line = 1;
        bool peeked = false;
        Token lookahead;
    };
    Mark mark() const { return {pos_, line_, peeked_, lookahead_}; }
    void reset(const Mark& mark);

    // A lexing error (unclosed string or comment) stops the scan at kEnd.
    const std::string& error() const { return error_; }
    int errorLine() const { return errorLine_; }

private:
    void skipSpaceAndComments();
    Token scan();
    void readString(Token& token);
    void readSymbol(Token& token);
    bool setError(const std::string& message, int line);

    const std::string& text_;
    std::size_t pos_ = 0;
    int line_ = 1;
    bool peeked_ = false;
    Token lookahead_;
    std::string error_;
    int errorLine_ = 0;
};

// True for the whole of text being a decimal number: sign, digits, point, exponent.
bool parseNumber(const std::string& text, double* value);

}  // namespace host::script
