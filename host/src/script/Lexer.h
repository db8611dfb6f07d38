#pragma once

#include <string>
#include <vector>

// Splits a command script into words, quoted strings, numbers, flags and statement ends.
namespace host::script {

struct Token {
    enum Kind { kWord, kQuoted, kNumber, kFlag, kEndOfStatement };
    Kind kind = kWord;
    std::string text;  // quoted strings unescaped; flags without the leading '-'
    double number = 0.0;
    int line = 1;
};

struct LexResult {
    std::vector<Token> tokens;
    std::string error;  // empty when the whole text was read
    int errorLine = 0;
};

LexResult tokenize(const std::string& text);

// True for the whole of text being a decimal number: sign, digits, point, exponent.
bool parseNumber(const std::string& text, double* value);

}  // namespace host::script
