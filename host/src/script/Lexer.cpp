#include "script/Lexer.h"

#include <cctype>
#include <cstdlib>

namespace host::script {
namespace {

bool isWordEnd(char c) {
    return std::isspace(static_cast<unsigned char>(c)) || c == ';' || c == '"';
}

class Scanner {
public:
    explicit Scanner(const std::string& text) : text_(text) {}

    LexResult run() {
        LexResult result;
        while (skipSpaceAndComments(result)) {
            char c = text_[pos_];
            if (c == ';') {
                result.tokens.push_back({Token::kEndOfStatement, ";", 0.0, line_});
                ++pos_;
            } else if (c == '"') {
                if (!readQuoted(result)) {
                    return result;
                }
            } else {
                readWord(result);
            }
        }
        return result;
    }

private:
    // Moves to the next token; false at the end of the text or on an unclosed comment.
    bool skipSpaceAndComments(LexResult& result) {
        while (pos_ < text_.size()) {
            char c = text_[pos_];
            if (c == '\n') {
                ++line_;
                ++pos_;
            } else if (std::isspace(static_cast<unsigned char>(c))) {
                ++pos_;
            } else if (text_.compare(pos_, 2, "//") == 0) {
                while (pos_ < text_.size() && text_[pos_] != '\n') {
                    ++pos_;
                }
            } else if (text_.compare(pos_, 2, "/*") == 0) {
                int startLine = line_;
                std::size_t end = text_.find("*/", pos_ + 2);
                if (end == std::string::npos) {
                    result.error = "Unterminated comment";
                    result.errorLine = startLine;
                    return false;
                }
                for (std::size_t i = pos_; i < end; ++i) {
                    line_ += text_[i] == '\n' ? 1 : 0;
                }
                pos_ = end + 2;
            } else {
                return true;
            }
        }
        return false;
    }

    bool readQuoted(LexResult& result) {
        Token token{Token::kQuoted, "", 0.0, line_};
        ++pos_;
        while (pos_ < text_.size() && text_[pos_] != '"') {
            char c = text_[pos_++];
            if (c == '\n') {
                ++line_;
            }
            if (c == '\\' && pos_ < text_.size()) {
                char escaped = text_[pos_++];
                switch (escaped) {
                    case 'n':
                        c = '\n';
                        break;
                    case 't':
                        c = '\t';
                        break;
                    case 'r':
                        c = '\r';
                        break;
                    default:
                        c = escaped;
                        break;
                }
            }
            token.text += c;
        }
        if (pos_ >= text_.size()) {
            result.error = "Unterminated string";
            result.errorLine = token.line;
            return false;
        }
        ++pos_;
        result.tokens.push_back(token);
        return true;
    }

    void readWord(LexResult& result) {
        std::size_t start = pos_;
        while (pos_ < text_.size() && !isWordEnd(text_[pos_])) {
            ++pos_;
        }
        Token token{Token::kWord, text_.substr(start, pos_ - start), 0.0, line_};
        if (parseNumber(token.text, &token.number)) {
            token.kind = Token::kNumber;
        } else if (token.text.size() > 1 && token.text[0] == '-' &&
                   (std::isalpha(static_cast<unsigned char>(token.text[1])) ||
                    token.text[1] == '_')) {
            token.kind = Token::kFlag;
            token.text.erase(0, 1);
        }
        result.tokens.push_back(token);
    }

    const std::string& text_;
    std::size_t pos_ = 0;
    int line_ = 1;
};

}  // namespace

bool parseNumber(const std::string& text, double* value) {
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        ++i;
    }
    std::size_t digits = 0;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) {
        ++i;
        ++digits;
    }
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0) {
        return false;
    }
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
            ++i;
        }
        std::size_t exponentDigits = 0;
        while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) {
            ++i;
            ++exponentDigits;
        }
        if (exponentDigits == 0) {
            return false;
        }
    }
    if (i != text.size()) {
        return false;
    }
    *value = std::strtod(text.c_str(), nullptr);
    return true;
}

LexResult tokenize(const std::string& text) {
    return Scanner(text).run();
}

}  // namespace host::script
