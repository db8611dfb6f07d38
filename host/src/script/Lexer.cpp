#include "script/Lexer.h"

#include <cctype>
#include <cstdlib>

namespace host::script {
namespace {

bool isSpace(char c) {
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}
bool isDigit(char c) {
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}
bool isNameStart(char c) {
    return std::isalpha(static_cast<unsigned char>(c)) != 0 || c == '_';
}
bool isNameChar(char c) {
    return isNameStart(c) || isDigit(c);
}
bool isWordEnd(char c) {
    return isSpace(c) || c == ';' || c == '"' || c == '`' || c == '(' || c == ')' || c == '{' ||
           c == '}';
}

// Longest first, so that "+=" is not read as "+" then "=".
const char* const kSymbols[] = {
    "++", "--", "+=", "-=", "*=", "/=", "==", "!=", "<=", ">=", "&&", "||", "+", "-", "*",
    "/",  "%",  "<",  ">",  "=",  "!",  "(",  ")",  "{",  "}",  "[",  "]",  ";", ",", "`"};

// Length of the number at the start of text (digits, fraction, exponent), 0 when none.
std::size_t numberLength(const std::string& text, std::size_t from) {
    std::size_t i = from;
    std::size_t digits = 0;
    while (i < text.size() && isDigit(text[i])) {
        ++i;
        ++digits;
    }
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && isDigit(text[i])) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0) {
        return 0;
    }
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t exponent = i + 1;
        if (exponent < text.size() && (text[exponent] == '-' || text[exponent] == '+')) {
            ++exponent;
        }
        if (exponent < text.size() && isDigit(text[exponent])) {
            while (exponent < text.size() && isDigit(text[exponent])) {
                ++exponent;
            }
            i = exponent;
        }
    }
    return i - from;
}

}  // namespace

Lexer::Lexer(const std::string& text) : text_(text) {}

const Token& Lexer::peek() {
    if (!peeked_) {
        lookahead_ = scan();
        peeked_ = true;
    }
    return lookahead_;
}

Token Lexer::next() {
    peek();
    peeked_ = false;
    return lookahead_;
}

void Lexer::reset(const Mark& mark) {
    pos_ = mark.pos;
    line_ = mark.line;
    peeked_ = mark.peeked;
    lookahead_ = mark.lookahead;
}

Token Lexer::nextWord() {
    Token token = peek();
    peeked_ = false;
    pos_ = token.start;
    while (pos_ < text_.size() && !isWordEnd(text_[pos_])) {
        ++pos_;
    }
    token.text = text_.substr(token.start, pos_ - token.start);
    return token;
}

bool Lexer::setError(const std::string& message, int line) {
    if (error_.empty()) {
        error_ = message;
        errorLine_ = line;
    }
    pos_ = text_.size();
    return false;
}

void Lexer::skipSpaceAndComments() {
    while (pos_ < text_.size()) {
        char c = text_[pos_];
        if (c == '\n') {
            ++line_;
            ++pos_;
        } else if (isSpace(c)) {
            ++pos_;
        } else if (text_.compare(pos_, 2, "//") == 0) {
            while (pos_ < text_.size() && text_[pos_] != '\n') {
                ++pos_;
            }
        } else if (text_.compare(pos_, 2, "/*") == 0) {
            std::size_t end = text_.find("*/", pos_ + 2);
            if (end == std::string::npos) {
                setError("Unterminated comment", line_);
                return;
            }
            for (std::size_t i = pos_; i < end; ++i) {
                line_ += text_[i] == '\n' ? 1 : 0;
            }
            pos_ = end + 2;
        } else {
            return;
        }
    }
}

Token Lexer::scan() {
    std::size_t before = pos_;
    skipSpaceAndComments();
    Token token;
    token.spaceBefore = pos_ != before || pos_ == 0;
    token.line = line_;
    token.start = pos_;
    if (pos_ >= text_.size()) {
        return token;
    }
    char c = text_[pos_];
    if (c == '"') {
        readString(token);
    } else if (c == '$' && pos_ + 1 < text_.size() && isNameStart(text_[pos_ + 1])) {
        std::size_t end = pos_ + 1;
        while (end < text_.size() && isNameChar(text_[end])) {
            ++end;
        }
        token.kind = Token::kVariable;
        token.text = text_.substr(pos_ + 1, end - pos_ - 1);
        pos_ = end;
    } else if (isNameStart(c)) {
        std::size_t end = pos_;
        while (end < text_.size() && isNameChar(text_[end])) {
            ++end;
        }
        token.kind = Token::kIdentifier;
        token.text = text_.substr(pos_, end - pos_);
        pos_ = end;
    } else if (std::size_t length = numberLength(text_, pos_)) {
        token.kind = Token::kNumber;
        token.text = text_.substr(pos_, length);
        token.number = std::strtod(token.text.c_str(), nullptr);
        pos_ += length;
    } else {
        readSymbol(token);
    }
    return token;
}

void Lexer::readString(Token& token) {
    token.kind = Token::kString;
    ++pos_;
    while (pos_ < text_.size() && text_[pos_] != '"') {
        char c = text_[pos_++];
        if (c == '\n') {
            ++line_;
        }
        if (c == '\\' && pos_ < text_.size()) {
            char escaped = text_[pos_++];
            c = escaped == 'n' ? '\n' : escaped == 't' ? '\t' : escaped == 'r' ? '\r' : escaped;
        }
        token.text += c;
    }
    if (pos_ >= text_.size()) {
        setError("Unterminated string", token.line);
        token = Token();
        return;
    }
    ++pos_;
}

// Any other character is a symbol of its own; the parser decides whether it fits.
void Lexer::readSymbol(Token& token) {
    token.kind = Token::kSymbol;
    for (const char* symbol : kSymbols) {
        if (text_.compare(pos_, std::char_traits<char>::length(symbol), symbol) == 0) {
            token.text = symbol;
            pos_ += token.text.size();
            return;
        }
    }
    token.text = text_.substr(pos_, 1);
    ++pos_;
}

bool parseNumber(const std::string& text, double* value) {
    std::size_t sign = !text.empty() && (text[0] == '-' || text[0] == '+') ? 1 : 0;
    std::size_t length = numberLength(text, sign);
    if (length == 0 || sign + length != text.size()) {
        return false;
    }
    *value = std::strtod(text.c_str(), nullptr);
    return true;
}

}  // namespace host::script
