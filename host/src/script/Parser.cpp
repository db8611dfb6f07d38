#include "script/Parser.h"

#include "script/Lexer.h"

namespace host::script {
namespace {

host::ArgItem toItem(const Token& token) {
    host::ArgItem item;
    item.text = token.text;
    item.number = token.number;
    switch (token.kind) {
        case Token::kQuoted:
            item.kind = host::ArgItem::kQuoted;
            break;
        case Token::kNumber:
            item.kind = host::ArgItem::kNumber;
            break;
        case Token::kFlag:
            item.kind = host::ArgItem::kFlag;
            break;
        default:
            item.kind = host::ArgItem::kWord;
            break;
    }
    return item;
}

std::string sourceText(const Token& token) {
    switch (token.kind) {
        case Token::kFlag:
            return "-" + token.text;
        case Token::kQuoted: {
            std::string quoted = "\"";
            for (char c : token.text) {
                if (c == '"' || c == '\\') {
                    quoted += '\\';
                    quoted += c;
                } else if (c == '\n') {
                    quoted += "\\n";
                } else if (c == '\t') {
                    quoted += "\\t";
                } else {
                    quoted += c;
                }
            }
            return quoted + "\"";
        }
        default:
            return token.text;
    }
}

}  // namespace

ParseResult parseScript(const std::string& text) {
    ParseResult result;
    LexResult lexed = tokenize(text);
    if (!lexed.error.empty()) {
        result.error = lexed.error;
        result.errorLine = lexed.errorLine;
        return result;
    }
    Statement current;
    bool open = false;
    for (const Token& token : lexed.tokens) {
        if (token.kind == Token::kEndOfStatement) {
            if (open) {
                result.statements.push_back(std::move(current));
                current = Statement();
                open = false;
            }
            continue;
        }
        if (!open) {
            if (token.kind != Token::kWord) {
                result.statements.clear();
                result.error = "Syntax error: a statement must start with a command name, not '" +
                               sourceText(token) + "'";
                result.errorLine = token.line;
                return result;
            }
            current.command = token.text;
            current.line = token.line;
            current.text = token.text;
            open = true;
            continue;
        }
        host::ArgListAccess::append(current.args, toItem(token));
        current.text += " " + sourceText(token);
    }
    if (open) {
        result.statements.push_back(std::move(current));
    }
    return result;
}

}  // namespace host::script
